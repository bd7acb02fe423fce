// The two clock windows on the desktop and their popup menu.
#include <windows.h>

#include "clock_face.h"
#include "clock_ids.h"
#include "clock_plugin.h"
#include "dravonel_plugin.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

HWND& WindowOf(ClockKind kind) { return kind == ANALOG_CLOCK ? clockPlugin.analog : clockPlugin.digital; }

void PaintAnalog(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (dc) DrawAnalogClock(dc, 0, 0, false);
    EndPaint(hwnd, &paint);
}

void PaintDigital(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client;
    GetClientRect(hwnd, &client);
    const int width = client.right > 0 ? client.right : 1, height = client.bottom > 0 ? client.bottom : 1;
    // Drawn off screen so the text does not flicker every second.
    ScopedGdiObj<HBITMAP> frame(dc ? CreateCompatibleBitmap(dc, width, height) : nullptr);
    ScopedMemoryDC memory(dc);
    if (frame && memory) {
        ScopedSelectObject selected(memory, frame.get());
        ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(clockPlugin.options.colours[CLOCK_BOTTOM]));
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush.get());
        DrawDigitalClock(memory, 0, 0);
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    }
    EndPaint(hwnd, &paint);
}

void SaveWindowPosition(ClockKind kind) {
    HWND hwnd = WindowOf(kind);
    RECT box;
    if (!hwnd || !GetWindowRect(hwnd, &box)) return;
    ClockOptions& o = clockPlugin.options;
    if (kind == ANALOG_CLOCK) {
        o.analogX = box.left;
        o.analogY = box.top;
        if (!clockPlugin.loaded) return;
        SetValueKeySetInt("KvClockX", o.analogX);
        SetValueKeySetInt("KvClockY", o.analogY);
    } else {
        o.digitalX = o.rightAnchored ? box.right : box.left;
        o.digitalY = box.top;
        if (!clockPlugin.loaded) return;
        SetValueKeySetInt("KvClockX1", o.digitalX);
        SetValueKeySetInt("KvClockY1", o.digitalY);
    }
}

void ShowMenu(HWND opener) {
    if (!clockPlugin.menu) return;
    clockPlugin.menuOpener = opener;
    const int last = GetMenuItemCount(clockPlugin.menu) - 1;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU | MIIM_STATE;
    item.hSubMenu = reinterpret_cast<HMENU>(HostServiceValue(KvSrvMainMenu, 0));
    item.fState = item.hSubMenu ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoA(clockPlugin.menu, last, TRUE, &item);
    HostServiceValue(KvSrvTrackMenu, reinterpret_cast<LPARAM>(clockPlugin.menu));
}

INT_PTR CALLBACK ClockWindowFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const ClockKind kind = static_cast<ClockKind>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
        return FALSE;
    case WM_ERASEBKGND:
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_PAINT:
        if (kind == ANALOG_CLOCK) PaintAnalog(hwnd);
        else PaintDigital(hwnd);
        return TRUE;
    case WM_LBUTTONDOWN:
        if (kind == DIGITAL_CLOCK) clockPlugin.draggingDigital = true;
        // The system's own move loop; it returns when the button is released.
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        clockPlugin.draggingDigital = false;
        SaveWindowPosition(kind);
        return TRUE;
    case WM_RBUTTONUP:
        ShowMenu(hwnd);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_CLOCKSETTINGS) {
            HostServiceValue(KvSrvShowSettings, reinterpret_cast<LPARAM>(clockPlugin.page));
        } else if (LOWORD(wParam) == IDM_CLOCKCLOSE) {
            CloseClockWindow(kind);
        }
        return TRUE;
    case WM_CLOSE:
        CloseClockWindow(kind);
        return TRUE;
    case WM_DESTROY:
        if (clockPlugin.analog == hwnd) clockPlugin.analog = nullptr;
        if (clockPlugin.digital == hwnd) clockPlugin.digital = nullptr;
        if (clockPlugin.menuOpener == hwnd) clockPlugin.menuOpener = nullptr;
        return FALSE;
    default:
        (void)lParam;
        return FALSE;
    }
}

}  // namespace

void ApplyClockTranslucency(ClockKind kind) {
    HWND hwnd = WindowOf(kind);
    if (!hwnd) return;
    const ClockOptions& o = clockPlugin.options;
    const int percent = kind == ANALOG_CLOCK ? o.analogAlpha : o.digitalAlpha;
    s_setlayeredwin layered = {};
    layered.hwnd = hwnd;
    layered.bAlpha = static_cast<BYTE>((percent < 0 ? 0 : percent > 100 ? 100 : percent) * 255 / 100);
    layered.dwFlags = 2;
    if (kind == DIGITAL_CLOCK && o.transparent) {
        layered.crKey = o.colours[CLOCK_BOTTOM];
        layered.dwFlags = 3;
    }
    HostService(KvSrvSetLayeredWindow, &layered);
}

void ApplyClockTopMost(ClockKind kind) {
    HWND hwnd = WindowOf(kind);
    if (!hwnd) return;
    const bool top = kind == ANALOG_CLOCK ? clockPlugin.options.analogTop : clockPlugin.options.digitalTop;
    SetWindowPos(hwnd, top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PlaceAnalogWindow() {
    HWND hwnd = clockPlugin.analog;
    if (!hwnd) return;
    const int d = ClockDiameter(clockPlugin.options.storedDiameter);
    SetWindowPos(hwnd, nullptr, clockPlugin.options.analogX, clockPlugin.options.analogY, d, d,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, d, d, d, d), TRUE);
}

void PlaceDigitalWindow() {
    HWND hwnd = clockPlugin.digital;
    if (!hwnd || clockPlugin.draggingDigital) return;
    const ClockOptions& o = clockPlugin.options;
    const int width = clockPlugin.contentWidth, height = clockPlugin.contentHeight;
    const int x = o.rightAnchored ? o.digitalX - width : o.digitalX;
    SetWindowPos(hwnd, nullptr, x, o.digitalY, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowClockWindow(ClockKind kind, bool show) {
    HWND& hwnd = WindowOf(kind);
    if (!show) {
        if (hwnd) DestroyWindow(hwnd);
        hwnd = nullptr;
        return;
    }
    if (hwnd) return;
    HWND owner = reinterpret_cast<HWND>(HostServiceValue(KvSrvOwnerWindow, 0));
    hwnd = CreateDialogParamA(clockPlugin.instance, MAKEINTRESOURCEA(IDD_CLOCKWINDOW), owner, ClockWindowFunc, kind);
    if (!hwnd) return;
    if (kind == ANALOG_CLOCK) {
        PlaceAnalogWindow();
    } else {
        const ClockOptions& o = clockPlugin.options;
        SetWindowPos(hwnd, nullptr, o.rightAnchored ? o.digitalX - 1 : o.digitalX, o.digitalY, 1, 1,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyClockTopMost(kind);
    ApplyClockTranslucency(kind);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

void CloseClockWindow(ClockKind kind) {
    // The check box goes off but its key stays: the clock is back at the next start.
    if (clockPlugin.page)
        CheckDlgButton(clockPlugin.page, kind == ANALOG_CLOCK ? IDC_ANALOGSHOW : IDC_DIGITALSHOW, BST_UNCHECKED);
    if (kind == ANALOG_CLOCK) clockPlugin.analogShown = false;
    else clockPlugin.digitalShown = false;
    ShowClockWindow(kind, false);
    ReleaseUnusedClockObjects();
    SyncClockTimer();
}

void BuildClockMenu() {
    DestroyClockMenu();
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    const char* language = clockPlugin.languageFile.c_str();
    AppendMenuA(menu, MF_STRING, IDM_CLOCKSETTINGS, Priv(IDM_CLOCKSETTINGS, "CLOCKMENU", language));
    AppendMenuA(menu, MF_STRING, IDM_CLOCKCLOSE, Priv(IDM_CLOCKCLOSE, "CLOCKMENU", language));
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 0, Priv(1010, "MAIN", language));
    clockPlugin.menu = menu;
}

void DestroyClockMenu() {
    if (!clockPlugin.menu) return;
    // The host's main menu hangs below the last item; it is not ours to destroy.
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    item.hSubMenu = nullptr;
    SetMenuItemInfoA(clockPlugin.menu, GetMenuItemCount(clockPlugin.menu) - 1, TRUE, &item);
    DestroyMenu(clockPlugin.menu);
    clockPlugin.menu = nullptr;
}
