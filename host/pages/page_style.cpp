#include "pages/page_style.h"

#include "base/globals.h"
#include "kvinifunction.h"

void CheckFromFlag(HWND page, const char* file, int control, const char* key, bool defaultOn) {
    const bool present = GetKeyYes(file, "set", key) != 0;
    CheckDlgButton(page, control, (defaultOn ? !present : present) ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR PaintHeading(WPARAM dc) {
    HDC context = reinterpret_cast<HDC>(dc);
    SetTextColor(context, DARK_RED_TEXT);
    SetBkColor(context, colorBackStatic);
    return reinterpret_cast<INT_PTR>(hBrushBackStatic);
}
