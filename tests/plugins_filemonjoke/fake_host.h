// A stand-in for Dravonel.exe's side of the plug-in protocol: a main window
// and a settings panel that answer KV_SERVICE_MESSAGE as the protocol says
// and record every request, and the plug-in DLL loaded from dist\Plugins.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dravonel_plugin.h"

struct ServiceCall {
    int code = -1;
    DWORD tick = 0;                  // GetTickCount when it arrived
    bool fromOtherThread = false;    // sent by a thread other than the host's
    std::vector<std::string> files;  // 28, 29: the paths, head first
    std::string text;                // 28, 29: list; 1: target file; 26: prompt
    std::string text2;               // 26: the folder to start in
    int number = 0;                  // 32: row; 3: control
    int number2 = 0;                 // 3: text number
};

class FakeHost {
public:
    explicit FakeHost(bool visible = false);
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    HWND main() const { return main_; }
    HWND panel() const { return panel_; }

    std::vector<ServiceCall> Calls(int code) const;
    int Count(int code) const;
    void Forget() { calls_.clear(); }
    // Requests that arrived posted rather than sent (the protocol forbids it).
    int posted() const { return posted_; }

    // Answers.
    int hotKeyCode = 0;              // 32
    std::string chosenFolder;        // 26; empty = cancelled
    LRESULT saveAnswer = 0;          // 1: 0 means saved, as the loader's save function says
    bool writeSavedPicture = true;   // 1: write the bitmap as a file, like the loader
    // 1: the pixels of the last bitmap, row 0 at the top, 0x00RRGGBB.
    std::vector<DWORD> savedPixels;
    int savedWidth = 0;
    int savedHeight = 0;

    // Handles this thread's messages; a service request found in the queue
    // is counted as posted.
    void Pump();
    // Pumps until the condition holds or the time is up.
    template <typename Condition>
    bool WaitFor(Condition condition, DWORD milliseconds) {
        DWORD start = GetTickCount();
        for (;;) {
            Pump();
            if (condition()) return true;
            if (GetTickCount() - start >= milliseconds) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    // Pumps for a while.
    void Run(DWORD milliseconds) {
        WaitFor([] { return false; }, milliseconds);
    }

private:
    static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Serve(int code, LPARAM argument);

    HWND main_ = nullptr;
    HWND panel_ = nullptr;
    DWORD thread_ = 0;
    int posted_ = 0;
    std::vector<ServiceCall> calls_;
};

// A plug-in DLL of the build, loaded for one test and freed after it.
class PluginModule {
public:
    explicit PluginModule(const char* name);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool loaded() const { return entry_ != nullptr; }
    INT_PTR operator()(HWND window, int command, INT_PTR argument = 0, INT_PTR data = 0) const {
        return entry_ ? entry_(window, command, argument, data) : 0;
    }
    INT_PTR operator()(HWND window, int command, INT_PTR argument, const char* text) const {
        return (*this)(window, command, argument, reinterpret_cast<INT_PTR>(text));
    }
    HMODULE module() const { return module_; }

private:
    HMODULE module_ = nullptr;
    DravonexFunction entry_ = nullptr;
};

// This test program's folder (where the plug-ins look for Lists, Users and
// write their files), with a trailing backslash.
std::string Here(const std::string& relative = std::string());
// A heap string the plug-in returned, freed here.
std::string TakeHeapString(INT_PTR answer);
