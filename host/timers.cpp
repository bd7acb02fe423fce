#include "timers.h"

#include <commctrl.h>

#include <cstdlib>

#include "changecycle.h"
#include "globals.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "page_general.h"
#include "shellcare.h"
#include "tray.h"

void OnTimer04() {
    IconViewCare care = {};
    care.hideIcons = GeneralOption(10331);
    care.forceCaptionColour = GeneralOption(10319);
    care.captionColour = GeneralCaptionColour();
    care.transparentCaption = GeneralOption(10317);
    CareForIconView(GetDesktopIconView(), care);
}

UINT TrayUpPeriod(int seconds) { return (seconds < 1 ? 1u : static_cast<UINT>(seconds)) * 1000u; }

void StartTrayUpTimer() {
    BOOL valid = FALSE;
    int seconds = static_cast<int>(GetDlgItemInt(hBoth, 10350, &valid, TRUE));
    SetTimer(hMain, Timer07, TrayUpPeriod(valid ? seconds : 1), nullptr);
}

void OnTimer07() {
    if (!GeneralOption(10301)) {
        KillTimer(hMain, Timer07);
        AddTrayIcon();
        return;
    }
    if (IfShell_TrayWnd()) AddTrayIcon();
    else DeleteTrayIcon();
}

DayChange NextDay(int current, int dayOfMonth) {
    if (current == 0) return {true, false, dayOfMonth};
    if (current != dayOfMonth) return {true, true, dayOfMonth};
    return {false, false, current};
}

void OnTimer08() {
    GetLocalTime(&loctime);

    // The shell forgets the icon when it restarts; put it back.
    if (!GeneralOption(10301) && !ModifyTrayIcon()) {
        DeleteTrayIcon();
        AddTrayIcon();
    }

    if (GeneralOption(10322) && pSetLayeredWindowAttributes && FindWindowA("Shell_TrayWnd", nullptr))
        ApplyTaskbarTransparency(TaskbarOpacity(GeneralTaskbarPercent(), GeneralOption(10323), IfShell_TrayWnd()));

    DayChange day = NextDay(currentDay, loctime.wDay);
    if (!day.changed) return;
    currentDay = day.day;
    if (day.store) SetValueKeySetInt("KvLastDay", currentDay);
    // A new day: redraw the calendar on the same picture, or show the next.
    if (IsDlgButtonChecked(hCalen, 10700) == BST_CHECKED) {
        switch (SendDlgItemMessageA(hCalen, 10768, CB_GETCURSEL, 0, 0)) {
            case 1:
                ToWall(1);
                break;
            case 2:
                NextWall(1);
                break;
            default:
                break;
        }
    }
}

bool CoversWorkArea(const RECT& window, const RECT& work) {
    return window.left < work.left + 10 && window.top < work.top + 10 && window.right > work.right - 10 &&
           window.bottom > work.bottom - 10;
}

namespace {

bool IsDesktopShellWindow(HWND window) {
    // The system's own desktop can be the foreground window when nothing
    // else is; it is never a full-screen program.
    if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "Desktop") == 0) return true;
    if (lstrcmpA(className, "Progman") != 0) return false;
    char title[32] = "";
    GetWindowTextA(window, title, sizeof title);
    return lstrcmpA(title, "Program Manager") == 0;
}

bool WindowCovers(HWND window, const RECT& work) {
    RECT rect;
    return GetWindowRect(window, &rect) && CoversWorkArea(rect, work);
}

}  // namespace

int CheckFullWind() {
    RECT work;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return 0;
    HWND foreground = GetForegroundWindow();
    if (foreground && !IsDesktopShellWindow(foreground) && WindowCovers(foreground, work)) return 1;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsDesktopShellWindow(window) || !IsWindowVisible(window)) continue;
        if (WindowCovers(window, work)) return 1;
    }
    return 0;
}

bool IfShell_TrayWnd() {
    POINT pointer;
    if (!GetCursorPos(&pointer)) return false;
    HWND window = WindowFromPoint(pointer);
    if (!window) return false;
    HWND top = GetAncestor(window, GA_ROOT);
    char className[14] = "";
    GetClassNameA(top ? top : window, className, sizeof className);
    return lstrcmpiA(className, "Shell_TrayWnd") == 0;
}

bool CheckInterval(int value, int low, int high, bool bounded) {
    return bounded ? (value >= low && value < high) : value >= low;
}
