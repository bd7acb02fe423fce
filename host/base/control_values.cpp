#include "base/control_values.h"

#include <cstdlib>

bool IsChecked(HWND page, int control) { return page && IsDlgButtonChecked(page, control) == BST_CHECKED; }

bool CheckedOr(HWND page, int control, bool fallback) {
    if (!page || !GetDlgItem(page, control)) return fallback;
    return IsDlgButtonChecked(page, control) == BST_CHECKED;
}

int ComboIndex(HWND page, int control, int fallback) {
    if (!page || !GetDlgItem(page, control)) return fallback;
    const int index = static_cast<int>(SendDlgItemMessageA(page, control, CB_GETCURSEL, 0, 0));
    return index < 0 ? fallback : index;
}

COLORREF ColourOf(HWND page, int control) {
    char text[16] = "";
    if (page) GetDlgItemTextA(page, control, text, sizeof text);
    return static_cast<COLORREF>(strtoul(text, nullptr, 10)) & 0xFFFFFF;
}

int NumberOf(HWND page, int control, int fallback) {
    BOOL valid = FALSE;
    const int value = page ? static_cast<int>(GetDlgItemInt(page, control, &valid, TRUE)) : 0;
    return valid ? value : fallback;
}
