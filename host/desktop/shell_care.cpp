#include "desktop/shell_care.h"

#include <commctrl.h>

#include "base/globals.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

bool AskView(HWND view, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer) {
    return SendMessageTimeoutA(view, message, wParam, lParam, SMTO_ABORTIFHUNG, SHELL_TIMEOUT_MS, answer) != 0;
}

}  // namespace

void CareForIconView(HWND iconView, const IconViewCare& care) {
    if (!iconView) return;
    if (care.hideIcons) {
        if (IsWindowVisible(iconView)) ShowWindow(iconView, SW_HIDE);
        return;
    }
    if (!IsWindowVisible(iconView)) ShowWindow(iconView, SW_SHOW);

    bool changed = false;
    DWORD_PTR answer = 0;
    if (care.forceCaptionColour && AskView(iconView, LVM_GETTEXTCOLOR, 0, 0, &answer) &&
        static_cast<COLORREF>(answer) != care.captionColour) {
        changed |= AskView(iconView, LVM_SETTEXTCOLOR, 0, care.captionColour, &answer);
    }
    if (care.transparentCaption && AskView(iconView, LVM_GETTEXTBKCOLOR, 0, 0, &answer) &&
        static_cast<COLORREF>(answer) != CLR_NONE) {
        changed |= AskView(iconView, LVM_SETTEXTBKCOLOR, 0, CLR_NONE, &answer);
    }
    if (changed) {
        InvalidateRect(iconView, nullptr, TRUE);
        UpdateWindow(iconView);
    }
}

BYTE TaskbarOpacity(int percent, bool opaqueUnderPointer, bool pointerOverTaskbar) {
    if (opaqueUnderPointer && pointerOverTaskbar) return 255;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return static_cast<BYTE>(percent * 255 / 100);
}

void ApplyTaskbarTransparency(BYTE opacity) {
    if (!pSetLayeredWindowAttributes) return;
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return;
    LONG style = GetWindowLongA(taskbar, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED)) SetWindowLongA(taskbar, GWL_EXSTYLE, style | WS_EX_LAYERED);
    pSetLayeredWindowAttributes(taskbar, 0, opacity, LWA_ALPHA);
}

void RemoveTaskbarTransparency() {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) return;
    LONG style = GetWindowLongA(taskbar, GWL_EXSTYLE);
    if (style & WS_EX_LAYERED) SetWindowLongA(taskbar, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
}

bool ExplorerHidesIcons() {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                      KEY_READ, key.receive()) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExA(key.get(), "HideIcons", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        return false;
    return type == REG_DWORD && value == 1;
}
