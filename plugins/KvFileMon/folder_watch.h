// The worker that waits for file-name changes in the watched folders. It
// only waits on kernel handles and posts WM_FOLDERCHANGED (wParam = the
// row's id) to the page; everything else happens on the page's thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

const UINT WM_FOLDERCHANGED = WM_APP + 1;

struct WatchedFolder {
    int id;
    std::string folder;
};

// Stops the current worker (waiting until it has ended), then starts a new
// one for the folders, unless there are none. Call from the page's thread.
void StartWatching(HWND page, const std::vector<WatchedFolder>& folders);
// Stops the worker and waits until it has ended.
void StopWatching();
bool IsWatching();
