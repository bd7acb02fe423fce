// A program started by a test; ended by its own handle when the test is done
// with it, so only processes the test started are ever ended.
#pragma once

#include <windows.h>

#include <string>

class StartedProcess {
public:
    // Starts folder\program with arguments, in folder as current folder.
    StartedProcess(const std::string& folder, const std::string& program, const std::string& arguments);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }
    // True when the process ended within the time; its code is then known.
    bool WaitForExit(DWORD milliseconds);
    bool running() const;
    DWORD exitCode() const;
    // Ends the process if it is still running.
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};
