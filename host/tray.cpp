#include "tray.h"

#include <commctrl.h>

#include "changecycle.h"
#include "filelist.h"
#include "globals.h"
#include "mainmenu.h"
#include "mainwindow.h"
#include "resource.h"

static_assert(sizeof(NOTIFYICONDATAA) == 504, "the tray record is used in its 504-byte form");

NOTIFYICONDATAA Nid;
HICON hMainIcon, hCheckOffIcon, hMainsIcon, hCheckOffsIcon;

namespace {

HICON LoadSmallIcon(int id) {
    return static_cast<HICON>(LoadImageA(hInS, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
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
BOOL DeleteTrayIcon() { return Shell_NotifyIconA(NIM_DELETE, &Nid); }
BOOL ModifyTrayIcon() { return Shell_NotifyIconA(NIM_MODIFY, &Nid); }

void SetTrayTip(const char* tip) { lstrcpynA(Nid.szTip, tip ? tip : "", sizeof Nid.szTip); }

HICON ChooseTrayIcon(bool saverOff, bool paused) {
    if (saverOff) return paused ? hCheckOffsIcon : hMainsIcon;
    return paused ? hCheckOffIcon : hMainIcon;
}

void TypeTrayIcon() {
    bool saverOff = IsDlgButtonChecked(hBoth, 10305) == BST_CHECKED;
    Nid.hIcon = ChooseTrayIcon(saverOff, checkOff != 0);
    ModifyTrayIcon();
    SendDlgItemMessageA(hBoth, 10352, STM_SETICON, reinterpret_cast<WPARAM>(Nid.hIcon), 0);
}

void MouseEvent(LPARAM mouseMessage) {
    // Modifiers as they are at the time of the click.
    const bool ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
    const bool shift = GetAsyncKeyState(VK_SHIFT) < 0;
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            if (ctrl) NextWall(1);
            else if (shift) PreviousWall();
            break;
        case WM_LBUTTONDBLCLK:
            ShowSettings(nullptr);
            break;
        case WM_RBUTTONDOWN:
            if (ctrl) TrackPopupPlaceMent(GetCurrentRow());
            else TrackMainMenu(hMainMenu);
            break;
        default:
            break;
    }
}
