#include "pages/page_texts.h"

#include "base/globals.h"
#include "kvinifunction.h"

void SetControlTexts(HWND page, const char* section, int first, int last) {
    if (!page) return;
    for (int id = first; id <= last; ++id)
        if (GetDlgItem(page, id)) SetDlgItemTextA(page, id, Priv(id, section, ini));
}

void FillComboFromLanguage(HWND dialog, int control, const char* section, int first, int last) {
    HWND combo = GetDlgItem(dialog, control);
    if (!combo) return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int id = first; id <= last; ++id)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Priv(id, section, ini)));
}
