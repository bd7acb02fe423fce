#include "started_process.h"

#include <vector>

StartedProcess::StartedProcess(const std::string& folder, const std::string& program, const std::string& arguments) {
    std::string path = folder + "\\" + program;
    std::string line = "\"" + path + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(path.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

StartedProcess::~StartedProcess() {
    Terminate();
    if (process_) CloseHandle(process_);
}

bool StartedProcess::WaitForExit(DWORD milliseconds) {
    return process_ && WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

bool StartedProcess::running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD StartedProcess::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

void StartedProcess::Terminate() {
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
}
