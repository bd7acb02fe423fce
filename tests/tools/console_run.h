// Runs a console program of the dist tree and collects what it printed.
#pragma once

#include <windows.h>

#include <string>

struct ConsoleResult {
    bool finished = false;  // ended within the time
    DWORD exitCode = 0;
    std::string output;     // standard output and standard error
};

// Starts folder\program with arguments and waits up to timeout.
ConsoleResult RunConsoleProgram(const std::string& folder, const std::string& program, const std::string& arguments,
                                DWORD timeoutMilliseconds);

// True when running under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();
