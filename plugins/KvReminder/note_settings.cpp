#include "note_settings.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "kvfunction.h"
#include "kvinifunction.h"
#include "plugin_state.h"
#include "reminder_ids.h"

namespace {

void SetColourButton(HWND dialog, int control, COLORREF colour) {
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(colour));
    SetDlgItemTextA(dialog, control, text);
}

COLORREF ColourButton(HWND dialog, int control) {
    return static_cast<COLORREF>(strtoul(ItemText(dialog, control).c_str(), nullptr, 10));
}

INT_PTR NoteSettingsFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ReminderRecord* record = reinterpret_cast<ReminderRecord*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            record = reinterpret_cast<ReminderRecord*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            SetWindowTextA(dialog, Text(IDS_NOTESETCAPTION, "NOTEMENU"));
            for (int id : {IDC_NSTOPMOST, IDC_NSCOLORLABEL, IDC_NSBACKLABEL, IDC_NSALPHALABEL}) {
                SetDlgItemTextA(dialog, id, Text(id, "NOTEMENU"));
            }
            SetDlgItemTextA(dialog, IDOK, Text(IDS_NSOK, "NOTEMENU"));
            SetDlgItemTextA(dialog, IDCANCEL, Text(IDS_NSCANCEL, "NOTEMENU"));
            CheckDlgButton(dialog, IDC_NSTOPMOST, record->TopMostNote ? BST_CHECKED : BST_UNCHECKED);
            SetColourButton(dialog, IDC_NSCOLOR, record->ColorNote);
            SetColourButton(dialog, IDC_NSBACK, record->BackNote);
            // TBM_SETRANGE takes unsigned words: a negative minimum needs its own message.
            SendDlgItemMessageA(dialog, IDC_NSALPHA, TBM_SETRANGEMIN, FALSE, kAlphaNoteLowest);
            SendDlgItemMessageA(dialog, IDC_NSALPHA, TBM_SETRANGEMAX, TRUE, 0);
            SendDlgItemMessageA(dialog, IDC_NSALPHA, TBM_SETPOS, TRUE, record->AlphaNote);
            return TRUE;
        }
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            PainColorButton(item->hDC, &item->rcItem, dialog, static_cast<int>(item->CtlID));
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_NSCOLOR:
                case IDC_NSBACK:
                    // No key: the colour is kept by the button until OK.
                    ColorSelect(".rms", "", dialog, LOWORD(wParam), nullptr);
                    return TRUE;
                case IDOK:
                    record->TopMostNote = IsDlgButtonChecked(dialog, IDC_NSTOPMOST) == BST_CHECKED;
                    record->ColorNote = ColourButton(dialog, IDC_NSCOLOR);
                    record->BackNote = ColourButton(dialog, IDC_NSBACK);
                    record->AlphaNote = static_cast<int>(SendDlgItemMessageA(dialog, IDC_NSALPHA, TBM_GETPOS, 0, 0));
                    EndDialog(dialog, IDOK);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

bool RunNoteSettings(HWND owner, ReminderRecord& record) {
    ReminderRecord changed = record;
    if (DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_NOTESET), owner, Guarded<NoteSettingsFunc>,
                        reinterpret_cast<LPARAM>(&changed)) != IDOK) {
        return false;
    }
    record = changed;
    return true;
}
