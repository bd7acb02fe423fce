// What the program under test told the notification area. The fake shell's
// "Shell_TrayWnd" receives the shell's tray requests (WM_COPYDATA) the way
// Wine's shell32 sends them and answers like Windows: adding an icon that is
// there, or changing or deleting one that is not, fails.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct TrayIconRecord {
    HWND owner;
    UINT id;
    UINT callbackMessage;
    std::string tip;
};

// The shell's windows as a request found them.
struct ShellState {
    bool iconViewVisible = false;
    bool taskbarLayered = false;
};

struct TrayRequest {
    DWORD kind;    // NIM_ADD, NIM_MODIFY, NIM_DELETE
    BOOL answer;
    ShellState shell;
};

class FakeTray {
public:
    // Handles one WM_COPYDATA; returns the answer for the sender.
    LRESULT OnCopyData(const COPYDATASTRUCT* data);

    bool Has(HWND owner, UINT id) const;
    TrayIconRecord Get(HWND owner, UINT id) const;
    // Counts of requests seen, by kind (NIM_ADD, NIM_MODIFY, NIM_DELETE).
    int count(DWORD kind) const;
    // Forgets every icon, as a restarted shell does, and the requests seen.
    void Forget();
    // Requests since the last Forget, in order.
    std::vector<TrayRequest> requests() const;
    // Tells the shell's state at each request (called on the shell's thread).
    void SetProbe(std::function<ShellState()> probe);

private:
    LRESULT Answer(const COPYDATASTRUCT* data);

    mutable std::mutex lock_;
    std::vector<TrayIconRecord> icons_;
    std::vector<TrayRequest> requests_;
    std::function<ShellState()> probe_;
    int counts_[3] = {};
};
