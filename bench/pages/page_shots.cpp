// Shows Dravonel's views one after another for screenshots:
//
//   page_shots <marker folder> <view>...
//
// It starts Dravonel.exe from its own folder (the program folder), and for
// each view writes <view>.ready (holding the rectangle worth keeping, as
// "x y width height") into the marker folder and waits for <view>.done.
// Views: "page<N>" (item N of the page tree, 0 the root), "hotkeys-scrolled"
// (the hot-key page with its list scrolled down), "menuitems" (the
// menu-items page), "procview" (the ProcessView window, opened from the
// wallpaper page), "savermenu" (the main menu from the tray with its
// screen-saver submenu open), "scrset" (the chooser's settings dialog,
// opened from the general page), "mainmenu" (the main menu opened from the
// tray icon), "setup" (the first page of Dravonel-setup.exe, copied beside
// Dravonel.exe), "placement" (the calendar's placement window, over the
// wallpaper).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "keyboard_input.h"
#include "remote_controls.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

std::string ProgramFolderOfThis() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

bool WaitForFile(const std::string& path) {
    return WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, 120000);
}

void Ready(const std::string& markers, const std::string& view, const RECT& rect) {
    char text[64];
    snprintf(text, sizeof text, "%ld %ld %ld %ld", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    HANDLE file = CreateFileA((markers + "\\" + view + ".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    WaitForFile(markers + "\\" + view + ".done");
}

void Ready(const std::string& markers, const std::string& view, HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    Ready(markers, view, rect);
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(150);
}

// The open popup menus of a process, as one rectangle.
RECT PopupMenusOf(DWORD process) {
    RECT all = {};
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32768", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != process || !IsWindowVisible(window)) continue;
        RECT rect;
        GetWindowRect(window, &rect);
        UnionRect(&all, &all, &rect);
    }
    return all;
}

bool SelectPage(HWND main, int index) {
    ShowWindow(main, SW_SHOWNORMAL);
    SetWindowPos(main, HWND_TOP, 24, 24, 0, 0, SWP_NOSIZE);
    HWND tree = GetDlgItem(main, 1012);
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (index > 0) {
        item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        for (int i = 1; i < index && item; ++i)
            item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    if (!item) return false;
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SetForegroundWindow(main);
    Sleep(300);
    return true;
}

struct WindowSearch {
    DWORD process;
    bool topmost;
    HWND found;
};

BOOL CALLBACK TakeVisibleWindow(HWND window, LPARAM data) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process || !IsWindowVisible(window)) return TRUE;
    if (search.topmost) {
        // A dialog that stays on top (tool tips stay on top too).
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) || lstrcmpA(name, "#32770") != 0) return TRUE;
    }
    search.found = window;
    return FALSE;
}

// A visible top-level window of the process (a dialog that stays on top).
HWND VisibleWindowOf(DWORD process, bool topmost = false) {
    WindowSearch search = {process, topmost, nullptr};
    EnumWindows(TakeVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK TakeAboutBox(HWND window, LPARAM data) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.process || !IsWindowVisible(window) || !GetDlgItem(window, 10207)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: page_shots <marker folder> <view>...\n");
        return 2;
    }
    const std::string markers = argv[1];
    const std::string folder = ProgramFolderOfThis();
    StartedProcess dravonel(folder, "Dravonel.exe", "");
    HWND main = WaitForTopWindow("#32770", "Dravonel", dravonel.id(), 60000);
    if (!main) return 1;
    // Start-up goes on after the title is set and minimises the window last.
    WaitUntil([&] { return IsIconic(main) || !IsWindowVisible(main); }, 5000);
    Sleep(500);
    int result = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string view = argv[i];
        if (view.compare(0, 4, "page") == 0) {
            if (!SelectPage(main, atoi(view.c_str() + 4))) result = 1;
            Ready(markers, view, main);
        } else if (view == "menuitems") {
            if (!SelectPage(main, 5)) result = 1;
            Ready(markers, view, main);
        } else if (view == "hotkeys-scrolled") {
            SelectPage(main, 4);
            HWND list = FindChildDialogWithControl(main, 2000);
            for (int step = 0; step < 3 && list; ++step) SendMessageA(list, WM_VSCROLL, SB_PAGEDOWN, 0);
            Sleep(300);
            Ready(markers, view, main);
        } else if (view == "mainmenu") {
            // A right click on the tray icon, as the notification area reports it.
            SetCursorPos(160, 60);
            PostMessageA(main, 0x207, 212, WM_RBUTTONDOWN);
            HWND menu = nullptr;
            WaitUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, 10000);
            if (!menu) {
                result = 1;
                continue;
            }
            Sleep(300);
            Ready(markers, view, menu);
            TypeKeys({VK_ESCAPE});
        } else if (view == "about") {
            ShowWindow(main, SW_MINIMIZE);
            SetCursorPos(600, 700);
            PostMessageA(main, 0x207, 212, WM_RBUTTONDOWN);
            if (!WaitForTopWindow("#32768", nullptr, dravonel.id(), 10000)) {
                result = 1;
                continue;
            }
            // From the bottom: Exit, then About.
            PressKey(VK_UP);
            PressKey(VK_UP);
            PressKey(VK_RETURN);
            WindowSearch search = {dravonel.id(), false, nullptr};
            WaitUntil([&] {
                EnumWindows(TakeAboutBox, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            }, 10000);
            if (!search.found) {
                result = 1;
                continue;
            }
            Sleep(500);
            const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            Ready(markers, view, screen);
            PostMessageA(search.found, WM_CLOSE, 0, 0);
            WaitUntil([&] { return !IsWindow(search.found); }, 5000);
        } else if (view == "placement") {
            SelectPage(main, 3);
            HWND page = FindChildDialogWithControl(main, 10735);
            SetCursorPos(640, 480);
            // Posted: the window is modal, the click returns when it closes.
            if (page) PostMessageA(GetDlgItem(page, 10735), BM_CLICK, 0, 0);
            HWND window = nullptr;
            WaitUntil([&] { return (window = VisibleWindowOf(dravonel.id(), true)) != nullptr; }, 10000);
            if (!window) {
                result = 1;
                continue;
            }
            Sleep(300);
            Ready(markers, view, window);
            TypeKeys({VK_ESCAPE});
            WaitUntil([&] { return !IsWindow(window); }, 5000);
        } else if (view == "setup") {
            StartedProcess setup(folder, "Dravonel-setup.exe", "");
            HWND window = nullptr;
            WaitUntil([&] { return (window = VisibleWindowOf(setup.id())) != nullptr; }, 30000);
            if (!window) {
                result = 1;
                continue;
            }
            Sleep(500);
            Ready(markers, view, window);
            setup.Terminate();
        } else if (view == "procview") {
            SelectPage(main, 1);
            HWND page = FindChildDialogWithControl(main, 10419);
            // Posted: the window is modal, the click returns when it closes.
            if (page) PostMessageA(GetDlgItem(page, 10419), BM_CLICK, 0, 0);
            HWND box = WaitForTopWindow("#32770", "ProcessView", dravonel.id(), 10000);
            if (!box) {
                result = 1;
                continue;
            }
            HWND running = GetDlgItem(box, 14004);
            SendMessageA(running, LB_SETCURSEL, 0, 0);
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(14002, BN_CLICKED), 0);
            Sleep(300);
            Ready(markers, view, box);
            PostMessageA(box, WM_CLOSE, 0, 0);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
        } else if (view == "savefail") {
            // The settings file made read-only, then an option changed: the
            // write fails and the user is told.
            const std::string settings = folder + "\\Users\\shots.set";
            SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_READONLY);
            SelectPage(main, 0);
            HWND page = FindChildDialogWithControl(main, 10312);
            if (page) PostMessageA(GetDlgItem(page, 10312), BM_CLICK, 0, 0);
            HWND box = WaitForTopWindow("#32770", "shots.set", dravonel.id(), 10000);
            if (!box) {
                result = 1;
            } else {
                Sleep(300);
                Ready(markers, view, box);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                WaitUntil([&] { return !IsWindow(box); }, 5000);
            }
            SetFileAttributesA(settings.c_str(), FILE_ATTRIBUTE_NORMAL);
        } else if (view == "savermenu") {
            ShowWindow(main, SW_MINIMIZE);
            SetCursorPos(420, 120);
            PostMessageA(main, 0x207, 212, WM_RBUTTONDOWN);
            if (!WaitForTopWindow("#32768", nullptr, dravonel.id(), 10000)) {
                result = 1;
                continue;
            }
            // Item 10 (the first Down reaches item 0), then into its submenu.
            for (int step = 0; step < 11; ++step) PressKey(VK_DOWN);
            PressKey(VK_RIGHT);
            Sleep(500);
            Ready(markers, view, PopupMenusOf(dravonel.id()));
            PressKey(VK_ESCAPE);
            PressKey(VK_ESCAPE);
        } else if (view == "scrset") {
            SelectPage(main, 0);
            HWND page = FindChildDialogWithControl(main, 10315);
            if (page) PostMessageA(GetDlgItem(page, 10315), BM_CLICK, 0, 0);
            HWND box = WaitForTopWindow("#32770", "KvScrSet", 0, 20000);
            if (!box) {
                result = 1;
                continue;
            }
            Sleep(1000);
            Ready(markers, view, box);
            PostMessageA(box, WM_CLOSE, 0, 0);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
        }
    }
    // Closing the visible window hides it; closing it hidden ends the program.
    PostMessageA(main, WM_CLOSE, 0, 0);
    Sleep(500);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (!dravonel.WaitForExit(10000)) dravonel.Terminate();
    return result;
}
