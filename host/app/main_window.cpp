#include "app/main_window.h"

#include "app/settings_window.h"
#include "desktop/tray_icon.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "app/command_line.h"
#include "app/exit.h"
#include "app/language.h"
#include "app/main_menu.h"
#include "app/shell_restart.h"
#include "app/timers.h"
#include "app/tray.h"
#include "base/globals.h"
#include "base/menudata.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "hotkeys/hotkey_rows.h"
#include "pages/page_lists.h"
#include "pages/page_wall_cycle.h"
#include "plugins/plugin_commands.h"
#include "plugins/plugin_services.h"
#include "screensavers/saver_menu.h"
#include "screensavers/saver_selection.h"
#include "kvfunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

// A command line typed into (or handed to) control 1013 of that window.
void RunCommandFromControl(HWND window) {
    HeapString text(GetItemChar(window, IDCMD));
    if (text) CmdRun(text.get(), 0);
}


INT_PTR OnTimer(WPARAM id) {
    switch (id) {
        case Timer02:
            KillTimer(hMain, Timer02);
            Exit();
            break;
        case Timer03:
            OnTimer03();
            break;
        case Timer04:
            OnTimer04();
            break;
        case Timer05:
            OnTimer05();
            break;
        case Timer06:
            OnTimer06();
            break;
        case Timer07:
            OnTimer07();
            break;
        case Timer08:
            OnTimer08();
            break;
        default:
            break;
    }
    return 0;
}

// At 96 DPI an item is 16 pixels high with its name 20 pixels right of the
// icon; at other DPIs both follow the small-icon size and the menu font.
int MenuIconGap() { return std::max(ScaleForDpi(20), SmallIconSize() + ScaleForDpi(4)); }

// The system's menu font for the items' names. Its character set may be
// Western even where the names are Russian: the default one makes the
// system read them in the program's code page.
HFONT CreateMenuTextFont() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMenuFont.lfCharSet = DEFAULT_CHARSET;
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

void MeasureMenuItem(MEASUREITEMSTRUCT* item) {
    const menudata* record = reinterpret_cast<const menudata*>(item->itemData);
    if (item->CtlType != ODT_MENU || !record) return;
    ScopedGdiObj<HFONT> font(CreateMenuTextFont());
    ScopedGetDC screen(nullptr);
    ScopedSelectObject select(screen, font.get());
    SIZE text = {};
    GetTextExtentPoint32A(screen, record->text, lstrlenA(record->text), &text);
    item->itemHeight = static_cast<UINT>(std::max({ScaleForDpi(16), SmallIconSize(), static_cast<int>(text.cy)}));
    item->itemWidth = static_cast<UINT>(MenuIconGap() + text.cx);
}

void DrawMenuItem(const DRAWITEMSTRUCT* item) {
    const menudata* record = reinterpret_cast<const menudata*>(item->itemData);
    if (item->CtlType != ODT_MENU || !record) return;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool greyed = (item->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HDC dc = item->hDC;
    FillRect(dc, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF text = GetSysColor(greyed ? COLOR_GRAYTEXT : (selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    COLORREF oldText = SetTextColor(dc, text);
    int oldMode = SetBkMode(dc, TRANSPARENT);

    int checkWidth = GetSystemMetrics(SM_CXMENUCHECK);
    int height = item->rcItem.bottom - item->rcItem.top;
    if (item->itemState & ODS_CHECKED) {
        RECT mark = {item->rcItem.left, item->rcItem.top, item->rcItem.left + checkWidth, item->rcItem.bottom};
        ScopedMemoryDC memory(dc);
        ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(dc, checkWidth, height));
        ScopedSelectObject select(memory, bitmap.get());
        RECT all = {0, 0, checkWidth, height};
        DrawFrameControl(memory, &all, DFC_MENU, DFCS_MENUCHECK);
        // The mark comes black on white: AND keeps the item's background.
        BitBlt(dc, mark.left, mark.top, checkWidth, height, memory, 0, 0, SRCAND);
    }
    int iconLeft = item->rcItem.left + checkWidth;
    const int icon = SmallIconSize();
    if (record->hIcon)
        DrawIconEx(dc, iconLeft, item->rcItem.top + (height - icon) / 2, record->hIcon, icon, icon, 0, nullptr,
                   DI_NORMAL);
    RECT label = item->rcItem;
    label.left = iconLeft + MenuIconGap();
    ScopedGdiObj<HFONT> font(CreateMenuTextFont());
    ScopedSelectObject selectFont(dc, font.get());
    DrawTextA(dc, record->text, -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
}

}  // namespace

INT_PTR CALLBACK MainFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDMENUSHOW:
                    TrackMainMenu(hMainMenu);
                    return TRUE;
                case IDCMDRUN:
                    RunCommandFromControl(hwnd);
                    return TRUE;
                case IDCMDHELP:
                    ShowCommandLineHelp();
                    return TRUE;
                case IDTOWALL:
                    ToWall(1);
                    return TRUE;
                case IDTREESHOW:
                    ToggleTreeShow();
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_TIMER:
            OnTimer(wParam);
            return TRUE;
        case WM_CLOSE:
            if (hwnd != hMain) return TRUE;
            if (IsWindowVisible(hMain)) {
                ShowWindow(hMain, SW_MINIMIZE);
                if (hBitmap) {
                    DeleteObject(hBitmap);
                    hBitmap = nullptr;
                }
            } else {
                Exit();
            }
            return TRUE;
        case WM_SIZE:
            if (hwnd != hMain) return FALSE;
            if (wParam == SIZE_RESTORED) {
                ShowPage(GetActiveChild(), SW_SHOW);
            } else if (wParam == SIZE_MINIMIZED) {
                ShowPage(GetActiveChild(), SW_HIDE);
                ShowWindow(hMain, SW_HIDE);
            }
            return TRUE;
        case WM_HOTKEY:
            HotKeyRun(static_cast<int>(wParam));
            return TRUE;
        case WM_DROPFILES:
            DragFunc(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case WM_PLUGINREQUEST: {
            // Always handled: a dialog that answers FALSE to WM_USER+2 would
            // have DefDlgProc take it for DM_REPOSITION.
            const LRESULT result = RunFuncFromPlagin(static_cast<int>(wParam), lParam);
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDTREEVIEW && header->code == TVN_SELCHANGEDA)
                OnTreeSelectionChanged(reinterpret_cast<const NMTREEVIEWA*>(lParam));
            return TRUE;
        }
        default:
            if (hwnd == hMain && message == TaskbarCreatedMessage()) {
                OnTaskbarCreated();
                return TRUE;
            }
            // The tray's callback (message 0x207) carries the icon id.
            if (wParam == IDTRAYICON) {
                MouseEvent(lParam);
                return TRUE;
            }
            return FALSE;
    }
}

INT_PTR CALLBACK HideFunc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MENUSELECT:
            if (lParam) hPostMenu = reinterpret_cast<HMENU>(lParam);
            return TRUE;
        case WM_COMMAND:
            if (hPostMenu && hPostMenu == hLanguageMenu) ProcLanguageMenu(LOWORD(wParam));
            else if (hPostMenu && hPostMenu == hFileListMenu) SetItemSel(hFile, IDLISTLIST, LOWORD(wParam));
            else if (hPostMenu && hPostMenu == hPeriodMenu) SelectPeriod(LOWORD(wParam));
            else if (hPostMenu && hPostMenu == hMainMenu) ProcMainMenu(LOWORD(wParam));
            else if (hPostMenu && hPostMenu == hSCRMenu) SetSCR(LOWORD(wParam));
            // Any other menu is a plug-in's own (a submenu it put into the
            // main menu, or a popup it opened through the host).
            else if (hPostMenu && IsMenu(hPostMenu)) PluginsPopMenu(hPostMenu, wParam);
            return TRUE;
        case WM_CLOSE:
            Exit();
            return TRUE;
        case WM_MEASUREITEM:
            MeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            DrawMenuItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            return FALSE;
    }
}
