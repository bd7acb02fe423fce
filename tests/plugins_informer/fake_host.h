// A stand-in for Dravonel's plug-in host: a hidden window that answers the
// service requests (WM_USER+2) as the protocol says and records them, and
// the plug-in loaded from dist\Plugins and driven through its entry (KV_PLUGIN_ENTRY) in
// the host's order.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "dravonel_plugin.h"

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    HWND window() const { return window_; }
    int Count(int service) const;

    // What was asked.
    std::vector<int> services;
    std::vector<std::pair<int, int>> menuChecks;  // service 20: id, check
    std::vector<SIZE> bitmapSizes;                // service 9: the size asked for
    std::vector<std::string> calendars;           // service 31: "x y size month year"
    std::vector<SIZE> placeBoxes;                 // service 6
    std::vector<int> toolTips;                    // service 3: control ids
    int livePictures = 0;                         // loaded and not yet released
    std::vector<std::string> saveFailures;        // service 33: the files

    // What it answers.
    std::string nextWallpaper;  // service 30
    std::string chosenPath;     // services 26 and 27
    int placeX = 0, placeY = 0; // where service 6 "drops" the item
    std::function<void()> onUpdateWallpaper;  // service 15

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Service(int code, LPARAM param);
    HWND window_ = nullptr;
};

class InformerPlugin {
public:
    // Loads dist\Plugins\KvInformer.dll and runs commands 0, 23, 1, 2/3, 6/7.
    InformerPlugin(FakeHost& host, const std::string& languageFile, const std::string& settingsFile);
    // Command 11, then the page goes and the module is unloaded.
    ~InformerPlugin();
    InformerPlugin(const InformerPlugin&) = delete;
    InformerPlugin& operator=(const InformerPlugin&) = delete;

    bool loaded() const { return entry_ != nullptr; }
    INT_PTR Call(int command, INT_PTR argument, INT_PTR data, HWND window = nullptr);
    // Command 17 with a heap copy of line: the text handed back, or "<none>".
    std::string CommandLine(const std::string& line);
    // Command 16 onto a wallpaper of that size and colour (or painted).
    BmpImage Compose(int width, int height, COLORREF background, const std::function<void(HDC)>& paint = nullptr);

    HWND page = nullptr;
    std::string name;
    std::vector<std::string> hotKeys;    // "text|KeyWin|KeyHotKey"
    std::vector<std::string> menuItems;  // "text|KeyMenuItem"
    enum { kHotKeyBase = 12, kMenuBase = 18 };

private:
    FakeHost& host_;
    HMODULE module_ = nullptr;
    DravonexFunction entry_ = nullptr;
};

// Clicks a button of a dialog the way the button itself tells its parent.
void ClickButton(HWND dialog, int id);
