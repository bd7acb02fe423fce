#include "hotkeys/hotkey_page.h"

#include <commctrl.h>

#include "base/globals.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/row_list.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "kvinifunction.h"

namespace {

bool suspended;

// The system editor cannot take these keys itself: held while a modifier
// goes down, they complete the combination.
const int kCapturedKeys[] = {VK_TAB, VK_ESCAPE, VK_SPACE, VK_BACK};

void CaptureSpecialKey(int editor) {
    const WORD combination = static_cast<WORD>(SendDlgItemMessageA(hHotKey, editor, HKM_GETHOTKEY, 0, 0));
    if (LOBYTE(combination) || !HIBYTE(combination)) return;
    for (int key : kCapturedKeys) {
        if (!KeyPush(static_cast<WORD>(key), 0)) continue;
        SendDlgItemMessageA(hHotKey, editor, HKM_SETHOTKEY, MAKEWORD(key, HIBYTE(combination)), 0);
        return;
    }
}

void StoreWinFlag(int box) {
    const char* key = reinterpret_cast<const char*>(GetWindowLongPtrA(GetDlgItem(hHotKey, box), GWLP_USERDATA));
    if (key && *key) KeyTipUnChecked(".set", "hotkey", hHotKey, box, key);
}

void OnListCommand(int control, int notification) {
    if (control >= IDWIN1 && control < IDWIN1 + countHotKey) {
        if (notification == BN_CLICKED) StoreWinFlag(control);
    } else if (control >= IDHOTKEY1 && control < IDHOTKEY1 + countHotKey) {
        if (notification == EN_CHANGE && startProgress) CaptureSpecialKey(control);
    }
}

void OnPageCommand(int control, int notification) {
    if (notification != BN_CLICKED) return;
    if (control == IDKEYREG) KeyTipUnCheckedSet(hKey, IDKEYREG, "KvKeyReg");
    else if (control == IDRESET) SetDefaultHotKeys();
}

void OnPageShown(bool shown) {
    if (shown && !suspended) {
        StopHotKeys();
        suspended = true;
    } else if (!shown && suspended) {
        suspended = false;
        SaveHotKey();
        StartHotKeys();
    }
}

// The column headings stand over the columns, wherever the rows put them.
void PlaceHeading(int heading, HWND column, bool rightAligned) {
    HWND text = GetDlgItem(hKey, heading);
    if (!text || !column) return;
    RECT place, own;
    GetWindowRect(column, &place);
    GetWindowRect(text, &own);
    MapWindowPoints(nullptr, hKey, reinterpret_cast<POINT*>(&place), 2);
    MapWindowPoints(nullptr, hKey, reinterpret_cast<POINT*>(&own), 2);
    int width = own.right - own.left;
    int left = rightAligned ? place.right - width : place.left;
    // A heading wider than the room left of its column is narrowed, so that
    // its right-aligned text still ends where the column ends.
    if (left < 0) {
        width += left;
        left = 0;
    }
    SetWindowPos(text, nullptr, left, own.top, width, own.bottom - own.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsHeading(int id) { return id == IDKEYHEAD || id == IDKEYCOMMANDTEXT || (id >= IDKEYWINTEXT && id <= 10908); }

}  // namespace

bool HotKeysSuspended() { return suspended; }

void ApplyHotKeyPageTexts() { SetControlTexts(hKey, "KEY", IDKEYHEAD, 10908); }

void LoadHotKeySettings(const char* settingsFile) {
    if (countHotKey == 0) CreateBuiltInHotKeys(settingsFile);
    if (countHotKey > 0) SetRowScrollRange(hHotKey, GetDlgItem(hHotKey, IDHOTKEY1 + countHotKey - 1));
    PlaceHeading(IDKEYCOMMANDTEXT, GetDlgItem(hHotKey, IDSTA1), true);
    PlaceHeading(IDKEYWINTEXT, GetDlgItem(hHotKey, IDWIN1), false);
    PlaceHeading(IDKEYCOMBTEXT, GetDlgItem(hHotKey, IDHOTKEY1), false);
    CheckFromFlag(hKey, settingsFile, IDKEYREG, "KvKeyReg", false);
}

INT_PTR CALLBACK KeyFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_SHOWWINDOW:
            if (hwnd == hKey && hKey && lParam == 0) OnPageShown(wParam != 0);
            return FALSE;
        case WM_COMMAND:
            if (hwnd == hHotKey) OnListCommand(LOWORD(wParam), HIWORD(wParam));
            else if (hwnd == hKey) OnPageCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            if (hwnd != hHotKey) return FALSE;
            ForScroll(hwnd, message, wParam);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (hwnd != hKey || !IsHeading(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) return FALSE;
            return PaintHeading(wParam);
        default:
            return FALSE;
    }
}
