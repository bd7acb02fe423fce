// Windows of the classes the program looks for in the system shell, owned by
// a thread of the test that keeps answering their messages, so the program
// under test can talk to them across processes as it would to Explorer.
#pragma once

#include <windows.h>

#include <functional>

#include "fake_tray.h"

struct FakeShellOptions {
    bool iconView = true;         // "SysListView32" inside the shell view
    bool iconsVisible = true;
    bool activeDesktop = false;   // "Internet Explorer_Server" inside the shell view
    bool desktopWindow = false;   // a top-level "Desktop" window
    bool tray = true;             // "Shell_TrayWnd" along the bottom of the screen
};

class FakeShell {
public:
    explicit FakeShell(const FakeShellOptions& options = FakeShellOptions());
    ~FakeShell();
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;

    bool ready() const { return progman_ != nullptr; }
    HWND progman() const { return progman_; }
    HWND defView() const { return defView_; }
    HWND iconView() const { return iconView_; }
    HWND browser() const { return browser_; }
    HWND desktop() const { return desktop_; }
    HWND tray() const { return tray_; }

    // Icons the program put into the notification area.
    FakeTray& trayIcons() { return trayIcons_; }

    // Runs work on the shell's own thread and waits for it.
    void Invoke(const std::function<void()>& work);

    // As Explorer restarting: every window goes, the notification area
    // forgets its icons, new windows come, and "TaskbarCreated" goes to
    // every top-level window (Wine's own shell never sends it).
    void Restart();

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void CreateWindows();
    void DestroyWindows();

    FakeShellOptions options_;
    FakeTray trayIcons_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    HWND progman_ = nullptr;
    HWND defView_ = nullptr;
    HWND iconView_ = nullptr;
    HWND browser_ = nullptr;
    HWND desktop_ = nullptr;
    HWND tray_ = nullptr;
};
