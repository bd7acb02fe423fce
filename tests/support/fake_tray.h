// What the program under test told the notification area. The fake shell's
// "Shell_TrayWnd" receives the shell's tray requests (WM_COPYDATA) the way
// Wine's shell32 sends them and answers like Windows: adding an icon that is
// there, or changing or deleting one that is not, fails.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

struct TrayIconRecord {
    HWND owner;
    UINT id;
    UINT callbackMessage;
    std::string tip;
};

class FakeTray {
public:
    // Handles one WM_COPYDATA; returns the answer for the sender.
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    bool Has(HWND owner, UINT id) const;
    TrayIconRecord Get(HWND owner, UINT id) const;
    // Counts of requests seen, by kind (NIM_ADD, NIM_MODIFY, NIM_DELETE).
    int count(DWORD kind) const;
    // Forgets every icon, as a restarted shell does.
    void Forget();

private:
    mutable std::mutex lock_;
    std::vector<TrayIconRecord> icons_;
    int counts_[3] = {};
};
