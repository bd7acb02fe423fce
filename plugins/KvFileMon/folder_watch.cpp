#include "folder_watch.h"

#include <memory>

#include "procaddress.h"

namespace {

// One wait takes at most 64 handles: the stop mutex and 63 folders. More
// folders (a tree added with its subfolders) get more threads.
const size_t kFoldersPerThread = MAXIMUM_WAIT_OBJECTS - 1;
// How often a folder that could not be watched (a drive that is not there)
// is tried again.
const DWORD kRetryMilliseconds = 3000;

// Created already owned by the page's thread; releasing it is the stop signal.
HANDLE stopMutex = nullptr;
std::vector<HANDLE> workerThreads;

struct WatchGroup {
    HWND page;
    HANDLE stop;
    std::vector<WatchedFolder> folders;
};

// A drive without its disk must not answer the retries with the system's
// "insert a disk" box every few seconds. True when the thread's own error
// mode could be set (Windows 7 and later).
bool QuietCriticalErrors() {
    typedef BOOL(WINAPI * SetThreadErrorModeFunction)(DWORD, LPDWORD);
    SetThreadErrorModeFunction setThreadErrorMode =
        GetProcAddressAs<SetThreadErrorModeFunction>(GetModuleHandleA("kernel32.dll"), "SetThreadErrorMode");
    return setThreadErrorMode && setThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);
}

HANDLE Arm(const std::string& folder, bool quiet) {
    // Earlier systems have only the process's mode: set it for the call.
    UINT old = quiet ? 0 : SetErrorMode(0);
    if (!quiet) SetErrorMode(old | SEM_FAILCRITICALERRORS);
    HANDLE handle = FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (!quiet) SetErrorMode(old);
    return handle;
}

void Watch(const WatchGroup& group) {
    const bool quiet = QuietCriticalErrors();
    const size_t count = group.folders.size();
    std::vector<HANDLE> change(count, INVALID_HANDLE_VALUE);
    for (size_t i = 0; i < count; ++i) change[i] = Arm(group.folders[i].folder, quiet);

    for (;;) {
        std::vector<HANDLE> handles(1, group.stop);
        std::vector<size_t> rowOf(1, 0);
        bool unarmed = false;
        for (size_t i = 0; i < count; ++i) {
            if (change[i] == INVALID_HANDLE_VALUE) {
                unarmed = true;
                continue;
            }
            handles.push_back(change[i]);
            rowOf.push_back(i);
        }
        DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                              unarmed ? kRetryMilliseconds : INFINITE);
        if (result == WAIT_OBJECT_0) {
            // Pass the signal on to the other threads of this watch.
            ReleaseMutex(group.stop);
            break;
        }
        if (result == WAIT_TIMEOUT) {
            for (size_t i = 0; i < count; ++i) {
                if (change[i] != INVALID_HANDLE_VALUE) continue;
                change[i] = Arm(group.folders[i].folder, quiet);
                // The folder is back: what changed while it was away is
                // found by a rescan.
                if (change[i] != INVALID_HANDLE_VALUE) PostMessageA(group.page, WM_FOLDERCHANGED, group.folders[i].id, 0);
            }
            continue;
        }
        if (result <= WAIT_OBJECT_0 || result >= WAIT_OBJECT_0 + handles.size()) break;
        size_t row = rowOf[result - WAIT_OBJECT_0];
        PostMessageA(group.page, WM_FOLDERCHANGED, group.folders[row].id, 0);
        if (!FindNextChangeNotification(change[row])) {
            // The folder went away under the handle; try it again later.
            FindCloseChangeNotification(change[row]);
            change[row] = INVALID_HANDLE_VALUE;
        }
    }
    for (HANDLE handle : change)
        if (handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle);
}

DWORD WINAPI WatchThread(LPVOID parameter) {
    {
        std::unique_ptr<WatchGroup> group(static_cast<WatchGroup*>(parameter));
        try {
            Watch(*group);
        } catch (...) {
            // Out of memory: this thread stops watching; the others go on.
        }
    }
    // The thread holds a reference to this module so that unloading it
    // cannot pull the code from under a thread that is still ending.
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&WatchThread), &self);
    FreeLibraryAndExitThread(self, 0);
}

HANDLE StartGroup(HWND page, std::vector<WatchedFolder> folders) {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&WatchThread), &self))
        return nullptr;
    WatchGroup* group = new (std::nothrow) WatchGroup{page, stopMutex, std::move(folders)};
    HANDLE thread = group ? CreateThread(nullptr, 0, WatchThread, group, 0, nullptr) : nullptr;
    if (!thread) {
        delete group;
        FreeLibrary(self);
    }
    return thread;
}

}  // namespace

void StopWatching() {
    if (stopMutex) ReleaseMutex(stopMutex);
    for (HANDLE thread : workerThreads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    workerThreads.clear();
    // Closed only after every thread has ended, so no wait can meet a
    // closed or reused handle.
    if (stopMutex) CloseHandle(stopMutex);
    stopMutex = nullptr;
}

void StartWatching(HWND page, const std::vector<WatchedFolder>& folders) {
    StopWatching();
    if (folders.empty()) return;
    stopMutex = CreateMutexA(nullptr, TRUE, nullptr);
    if (!stopMutex) return;
    for (size_t first = 0; first < folders.size(); first += kFoldersPerThread) {
        size_t last = first + kFoldersPerThread < folders.size() ? first + kFoldersPerThread : folders.size();
        HANDLE thread = StartGroup(page, std::vector<WatchedFolder>(folders.begin() + first, folders.begin() + last));
        if (thread) workerThreads.push_back(thread);
    }
}

bool IsWatching() { return !workerThreads.empty(); }
