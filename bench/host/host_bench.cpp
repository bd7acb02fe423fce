// Start-up time of Dravonel to its title "Dravonel", and what it costs at
// rest (tray only, no list): processor time over a minute, private bytes and
// working set as the system reports them.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "program_folder.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

ULONGLONG ProcessorTime100ns(HANDLE process) {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(process, &created, &ended, &kernel, &user);
    auto value = [](const FILETIME& time) { return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return value(kernel) + value(user);
}

bool CloseProgram(StartedProcess& process, HWND main) {
    PostMessageA(main, WM_CLOSE, 0, 0);  // hidden window: WM_CLOSE exits
    return process.WaitForExit(10000);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? atoi(argv[1]) : 10;
    const int restSeconds = argc > 2 ? atoi(argv[2]) : 60;
    ProgramFolder folder;

    std::vector<double> startTimes;
    for (int run = 0; run <= runs; ++run) {
        LARGE_INTEGER begin, ready;
        QueryPerformanceCounter(&begin);
        StartedProcess process(folder.path(), "Dravonel.exe", "");
        HWND main = nullptr;
        while (!main && process.running()) {
            main = FindTopWindow("#32770", "Dravonel", process.id());
            if (!main) Sleep(1);
        }
        QueryPerformanceCounter(&ready);
        if (!main) {
            fprintf(stderr, "Dravonel did not start\n");
            return 1;
        }
        // The first run warms Wine's caches; it is not counted.
        if (run > 0) startTimes.push_back(Milliseconds(begin, ready));
        WaitUntil([&] { return !IsWindowVisible(main); }, 5000);
        CloseProgram(process, main);
    }
    std::sort(startTimes.begin(), startTimes.end());

    StartedProcess process(folder.path(), "Dravonel.exe", "");
    HWND main = WaitForTopWindow("#32770", "Dravonel", process.id(), 30000);
    if (!main) return 1;
    Sleep(5000);  // let start-up settle
    // run.sh samples the process from the Linux side between these lines.
    printf("resting %d\n", restSeconds);
    fflush(stdout);
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    ULONGLONG cpuBefore = ProcessorTime100ns(process.handle());
    Sleep(static_cast<DWORD>(restSeconds) * 1000);
    ULONGLONG cpuAfter = ProcessorTime100ns(process.handle());
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    printf("rested\n");
    fflush(stdout);
    CloseProgram(process, main);

    const double wall = Milliseconds(begin, end);
    const double cpu = static_cast<double>(cpuAfter - cpuBefore) / 10000.0;
    printf("| Host start-up | time to the title \"Dravonel\", median of %d | %.0f ms (min %.0f, max %.0f) | - |\n", runs,
           startTimes[startTimes.size() / 2], startTimes.front(), startTimes.back());
    printf("| Host at rest | processor over %d s, GetProcessTimes | %.3f %% (%.0f ms) | < 0.1 %% |\n", restSeconds,
           100.0 * cpu / wall, cpu);
    // Windows reports private bytes as PrivateUsage (equal to PagefileUsage);
    // Wine fills only PagefileUsage.
    SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    printf("| Host at rest | private bytes, GetProcessMemoryInfo | %.1f MB | < 10 MB |\n", privateBytes / 1048576.0);
    printf("| Host at rest | working set, GetProcessMemoryInfo | %.1f MB | - |\n", memory.WorkingSetSize / 1048576.0);
    return 0;
}
