#include "desktop/full_screen.h"

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

