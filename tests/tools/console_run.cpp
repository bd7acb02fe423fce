#include "console_run.h"

#include <vector>

#include "scopedwin.h"

ConsoleResult RunConsoleProgram(const std::string& folder, const std::string& program, const std::string& arguments,
                                DWORD timeoutMilliseconds) {
    ConsoleResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    ScopedHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    std::string path = folder + "\\" + program;
    std::string line = "\"" + path + "\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(path.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        folder.c_str(), &startup, &info))
        return result;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    writer.reset();  // the pipe ends when the program ends

    // Read on this thread until the pipe closes or the time is up.
    DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &available, nullptr) && available) {
            std::vector<char> chunk(available);
            DWORD got = 0;
            if (ReadFile(reader.get(), chunk.data(), available, &got, nullptr)) result.output.append(chunk.data(), got);
            continue;
        }
        bool ended = WaitForSingleObject(process.get(), 10) == WAIT_OBJECT_0;
        if (ended) {
            // Whatever is still in the pipe.
            while (PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &available, nullptr) && available) {
                std::vector<char> chunk(available);
                DWORD got = 0;
                if (!ReadFile(reader.get(), chunk.data(), available, &got, nullptr)) break;
                result.output.append(chunk.data(), got);
            }
            result.finished = true;
            GetExitCodeProcess(process.get(), &result.exitCode);
            return result;
        }
        if (GetTickCount() - start > timeoutMilliseconds) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
            return result;
        }
    }
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
