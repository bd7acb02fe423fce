// Our own work on a photographer's archive: a list of a million rows, with
// the pauses that keep the system responsive switched off, then the whole
// load with them on; and the host's private memory with that list open
// against the same host at rest.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "base/globals.h"
#include "engine/list_file.h"
#include "engine/unique_order.h"
#include "engine/wall_lists.h"
#include "createpathfile.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "settings_file.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

// Median time of work over runs, each after an untimed setup.
double Milliseconds(const std::function<void()>& work, int runs = 5, const std::function<void()>& setup = [] {}) {
    std::vector<double> times;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int run = 0; run < runs; ++run) {
        setup();
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string Here(const std::string& relative) {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    return std::string(folder.get()) + relative;
}

// Rows in ten folders of a shoot each, so that one folder can be removed.
std::string ListText(int rows, const char* folder) {
    std::string text;
    char line[128];
    for (int i = 0; i < rows; ++i) {
        snprintf(line, sizeof line, "D:\\Pictures\\%s\\shoot %d\\holiday %07d.jpg#%d\r\n", folder, i % 10, i,
                 i % 10);
        text += line;
    }
    return text + "#" + std::to_string(rows);
}

SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    // Wine reports the private commit as PagefileUsage only.
    return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

// Private bytes of Dravonel started in a program folder, once it has settled.
SIZE_T HostPrivateBytes(const ProgramFolder& folder) {
    StartedProcess process(folder.path(), "Dravonel.exe", "");
    HWND main = WaitForTopWindow("#32770", "Dravonel", process.id(), 120000);
    if (!main) return 0;
    Sleep(3000);
    SIZE_T bytes = PrivateBytes(process.handle());
    PostMessageA(main, WM_CLOSE, 0, 0);
    process.WaitForExit(10000);
    return bytes;
}

void Row(const char* figure, double result, const char* unit, const char* target) {
    printf("| Lists | %s | %.1f %s | %s |\n", figure, result, unit, target);
}

}  // namespace

int main() {
    hInS = GetModuleHandleA(nullptr);
    if (!CreateProgramWindows()) return 1;
    const unsigned pause = listPauseMilliseconds;
    listPauseMilliseconds = 0;
    RemoveFolder(Here("Lists"));
    CreateDirectoryA(Here("Lists").c_str(), nullptr);

    const int rows = 1000000;
    WriteTextFile(Here("Lists\\big.lst"), ListText(rows, "big"));
    lastlist = "big";

    Row("load a 1,000,000-line list into the list view", Milliseconds([] { LoadWallList(); }, 3), "ms", "< 2000 ms");
    {
        std::string text;
        Row("of which reading the file", Milliseconds([&] { ReadWholeFile(Here("Lists\\big.lst"), text); }, 3), "ms",
            "-");
        Row("of which making the rows and their index", Milliseconds([&] { ParseListText(text); }, 3), "ms", "-");
    }
    Row("save it, flushed and replaced", Milliseconds([] { SaveWallList(0); }), "ms", "< 200 ms");
    IndexList history, queue;
    Row("draw a random-unique order for 1,000,000 rows",
        Milliseconds([&] { DrawUniqueOrder(rows, 0, TimeSeededDraw(), history, queue); }), "ms", "< 150 ms");
    wp = history;
    rwp = queue;
    Row("write that order's file", Milliseconds([] { SaveUnikList(); }), "ms", "-");

    std::vector<std::string> fresh;
    for (int i = 0; i < 50000; ++i) fresh.push_back("E:\\New\\picture " + std::to_string(i) + ".jpg");
    Row("add 50,000 new files to the 1,000,000-row list and save it",
        Milliseconds(
            [] {
                AddFiles();
                SaveWallList(0);
            },
            3,
            [&] {
                LoadWallList();
                pendingFiles = fresh;
            }),
        "ms", "< 1000 ms");
    Row("remove a folder of 100,000 of its files and save it",
        Milliseconds(
            [] {
                RemoveFolder("D:\\Pictures\\big\\shoot 3");
                SaveWallList(0);
            },
            3, [] { LoadWallList(); }),
        "ms", "-");

    // The whole load as the program does it, pausing as it does, started
    // after a moment of rest as a user would start it.
    Sleep(500);
    listPauseMilliseconds = pause;
    listLongestHold = 0;
    const double paced = Milliseconds([] { LoadWallList(); }, 1);
    char figure[128];
    snprintf(figure, sizeof figure, "load it with the pauses on (%u ms after %u ms of work)", pause,
             listHoldMilliseconds);
    Row(figure, paced, "ms", "< 5000 ms");
    Row("longest the load held the processor without a pause", static_cast<double>(listLongestHold), "ms", "-");
    listPauseMilliseconds = 0;

    lastlist.clear();
    const std::string tenThousand = ListText(10000, "many");
    for (int i = 0; i < 200; ++i) WriteTextFile(Here("Lists\\list" + std::to_string(i) + ".lst"), tenThousand);
    Row("build the list of lists over 200 lists of 10,000 rows", Milliseconds([] { CreatListList(); }), "ms",
        "< 500 ms");
    SetCurrentDirectoryA(Here("").c_str());
    RemoveFolder(Here("Lists"));

    ProgramFolder atRest;
    ProgramFolder withList;
    CreateDirectoryA(withList.file("Lists").c_str(), nullptr);
    WriteTextFile(withList.file("Lists\\big.lst"), ListText(rows, "big"));
    SettingsFile(withList.path()).Set("KvFileList", "big");
    const SIZE_T rest = HostPrivateBytes(atRest);
    const SIZE_T open = HostPrivateBytes(withList);
    printf("| Lists | host private bytes at rest / with the 1,000,000-row list open | %.1f / %.1f MB (+%.1f MB) | < +150 MB |\n",
           rest / 1048576.0, open / 1048576.0, (static_cast<double>(open) - rest) / 1048576.0);
    return 0;
}
