#include "desktop/tray_icon.h"

#include <commctrl.h>

#include "base/control_values.h"
#include "base/globals.h"
#include "base/timer_ids.h"
#include "procaddress.h"
#include "resource.h"
#include "screen_dpi.h"

// The 32-bit program uses the record in its 504-byte form; x64 uses its
// natural size.
#ifndef _WIN64
static_assert(sizeof(NOTIFYICONDATAA) == 504, "the tray record is used in its 504-byte form");
#endif

NOTIFYICONDATAA Nid;
HICON hMainIcon, hCheckOffIcon, hMainsIcon, hCheckOffsIcon;

namespace {

// The notification area shows small icons: 16 pixels at 96 DPI, more on
// larger displays (each icon holds several sizes, so none is stretched).
HICON LoadSmallIcon(int id) {
    return static_cast<HICON>(
        LoadImageA(hInS, MAKEINTRESOURCEA(id), IMAGE_ICON, SmallIconSize(), SmallIconSize(), LR_DEFAULTCOLOR));
}

}  // namespace

void PrepareTrayIcon() {
    hMainIcon = LoadSmallIcon(IDI_MAIN);
    hCheckOffIcon = LoadSmallIcon(IDI_CHECKOFF);
    hMainsIcon = LoadSmallIcon(IDI_MAINS);
    hCheckOffsIcon = LoadSmallIcon(IDI_CHECKOFFS);

    Nid = NOTIFYICONDATAA();
    Nid.cbSize = sizeof Nid;
    Nid.hWnd = hMain;
    Nid.uID = IDTRAYICON;
    Nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Nid.uCallbackMessage = WM_TRAYNOTIFY;
    Nid.hIcon = hMainIcon;
    SetTrayTip("Dravonel");
}

BOOL AddTrayIcon() { return Shell_NotifyIconA(NIM_ADD, &Nid); }

UINT TaskbarCreatedMessage() {
    static const UINT message = [] {
        const UINT registered = RegisterWindowMessageA("TaskbarCreated");
        // An elevated program hears the shell only through this filter
        // (systems after XP; looked up at run time).
        typedef BOOL(WINAPI * ChangeWindowMessageFilterFunction)(UINT, DWORD);
        auto filter = GetProcAddressAs<ChangeWindowMessageFilterFunction>(GetModuleHandleA("user32.dll"),
                                                                           "ChangeWindowMessageFilter");
        if (registered && filter) filter(registered, 1);  // MSGFLT_ADD
        return registered;
    }();
    return message;
}
BOOL DeleteTrayIcon() { return Shell_NotifyIconA(NIM_DELETE, &Nid); }
BOOL ModifyTrayIcon() { return Shell_NotifyIconA(NIM_MODIFY, &Nid); }

void SetTrayTip(const char* tip) { lstrcpynA(Nid.szTip, tip ? tip : "", sizeof Nid.szTip); }

HICON ChooseTrayIcon(bool saverOff, bool paused) {
    if (saverOff) return paused ? hCheckOffsIcon : hMainsIcon;
    return paused ? hCheckOffIcon : hMainIcon;
}

void TypeTrayIcon() {
    const bool saverOff = IsChecked(hBoth, 10305);
    Nid.hIcon = ChooseTrayIcon(saverOff, checkOff != 0);
    ModifyTrayIcon();
    SendDlgItemMessageA(hBoth, 10352, STM_SETICON, reinterpret_cast<WPARAM>(Nid.hIcon), 0);
}

UINT TrayUpPeriod(int seconds) { return (seconds < 1 ? 1u : static_cast<UINT>(seconds)) * 1000u; }

void StartTrayUpTimer() {
    BOOL valid = FALSE;
    int seconds = static_cast<int>(GetDlgItemInt(hBoth, 10350, &valid, TRUE));
    SetTimer(hMain, Timer07, TrayUpPeriod(valid ? seconds : 1), nullptr);
}

void OnTimer07() {
    if (!IsChecked(hBoth, 10301)) {
        KillTimer(hMain, Timer07);
        AddTrayIcon();
        return;
    }
    if (IfShell_TrayWnd()) AddTrayIcon();
    else DeleteTrayIcon();
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

