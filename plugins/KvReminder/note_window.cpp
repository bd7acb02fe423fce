#include "note_window.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "editor.h"
#include "firing.h"
#include "host_services.h"
#include "ini_store.h"
#include "layout.h"
#include "note_settings.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "reminders.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

// What changed since the note was last saved. Kept as flags: a time change
// followed by a text change still rebuilds the schedule.
enum : unsigned { kChangedPlaceOrText = 1, kChangedName = 2, kChangedTime = 4 };

struct NoteState {
    ReminderRecord record;
    bool editorNote = false;
    bool folded = true;
    unsigned changes = 0;
    bool filling = false;  // set while the note fills its own controls
    ScopedGdiObj<HBRUSH> noteBrush;  // "ColorNote"
    ScopedGdiObj<HBRUSH> backBrush;  // "BackNote"
    ScopedGdiObj<HPEN> pen;          // "BackNote", for the glyphs
    HMENU menu = nullptr;
};

NoteState* State(HWND note) { return reinterpret_cast<NoteState*>(GetWindowLongPtrA(note, DWLP_USER)); }

const int kSmallEdits[] = {IDC_NOTEHOUR, IDC_NOTEMINUTE, IDC_NOTEDAY, IDC_NOTEMONTH};

bool IsYearly(const ReminderRecord& r) { return r.Type == kTypeDate; }

void SetTwoDigits(HWND note, int control, int value) {
    char text[16];
    snprintf(text, sizeof text, "%02d", value);
    SetDlgItemTextA(note, control, text);
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

void Fill(HWND note, NoteState& s) {
    s.filling = true;
    SetTwoDigits(note, IDC_NOTEHOUR, s.record.Houre);
    SetTwoDigits(note, IDC_NOTEMINUTE, s.record.Minute);
    SetTwoDigits(note, IDC_NOTEDAY, s.record.ParamA);
    SetTwoDigits(note, IDC_NOTEMONTH, s.record.ParamB);
    SetDlgItemTextA(note, IDC_NOTENAME, s.record.Name.c_str());
    SetDlgItemTextA(note, IDC_NOTETEXT, s.record.Text.c_str());
    s.filling = false;
}

void Place(HWND note, int control, const Box& box, bool shown) {
    HWND child = GetDlgItem(note, control);
    MoveWindow(child, box.x, box.y, box.cx, box.cy, TRUE);
    ShowWindow(child, shown ? SW_SHOWNA : SW_HIDE);
}

void LayOut(HWND note, NoteState& s) {
    HWND name = GetDlgItem(note, IDC_NOTENAME);
    ScopedGetDC dc(name);
    ScopedSelectObject select(dc, reinterpret_cast<HFONT>(SendMessageA(name, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    auto width = [&](const std::string& text) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::string nameText = WindowText(name);
    std::vector<int> lineWidths;
    if (!s.folded) {
        for (const std::string& line : SplitLines(WindowText(GetDlgItem(note, IDC_NOTETEXT)))) {
            lineWidths.push_back(width(line));
        }
    }
    // Two pixels more for the caret at the end of the name.
    NoteLayout n =
        LayOutNote(IsYearly(s.record), width(nameText) + 2, s.folded, lineWidths, metrics.tmHeight, ScreenDpi());
    Place(note, IDC_NOTEFOLD, n.fold, true);
    Place(note, IDC_NOTEMENU, n.menu, true);
    Place(note, IDC_NOTEHOUR, n.hour, true);
    Place(note, IDC_NOTECOLON, n.colon, true);
    Place(note, IDC_NOTEMINUTE, n.minute, true);
    Place(note, IDC_NOTEDAY, n.day, n.date);
    Place(note, IDC_NOTEDOT, n.dot, n.date);
    Place(note, IDC_NOTEMONTH, n.month, n.date);
    Place(note, IDC_NOTENAME, n.name, true);
    Place(note, IDC_NOTECLOSE, n.close, true);
    Place(note, IDC_NOTETEXT, n.text, !s.folded);
    SetWindowPos(note, nullptr, 0, 0, n.cx, n.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(note, nullptr, TRUE);
}

void BuildMenu(NoteState& s) {
    if (s.menu) return;
    s.menu = CreatePopupMenu();
    for (int id = IDM_NOTESETTINGS; id <= IDM_NOTEDELETE; ++id) {
        AppendMenuA(s.menu, MF_STRING, static_cast<UINT_PTR>(id), Text(id, "NOTEMENU"));
        if (id == IDM_NOTESETTINGS) AppendMenuA(s.menu, MF_SEPARATOR, 0, nullptr);
    }
}

void ApplyLook(HWND note, NoteState& s) {
    s.noteBrush.reset(CreateSolidBrush(s.record.ColorNote));
    s.backBrush.reset(CreateSolidBrush(s.record.BackNote));
    s.pen.reset(CreatePen(PS_SOLID, 1, s.record.BackNote));
    HostSetTranslucent(note, NoteOpacity(s.record.AlphaNote));
    InvalidateRect(note, nullptr, TRUE);
}

void Open(HWND note, NoteState& s) {
    ApplyLook(note, s);
    for (int control : kSmallEdits) {
        SendDlgItemMessageA(note, control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        SendDlgItemMessageA(note, control, EM_LIMITTEXT, 2, 0);
    }
    SendDlgItemMessageA(note, IDC_NOTENAME, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendDlgItemMessageA(note, IDC_NOTETEXT, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    Fill(note, s);
    BuildMenu(s);
    SetWindowLongPtrA(GetDlgItem(note, IDC_NOTEMENU), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s.menu));
    SetWindowPos(note, s.record.TopMostNote ? HWND_TOPMOST : HWND_BOTTOM, s.record.XNote, s.record.YNote, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    LayOut(note, s);
}

void Save(HWND note, NoteState& s) {
    // Values typed into the small edits are kept in their ranges.
    s.record.Houre = static_cast<uint8_t>(Clamp(s.record.Houre, 0, 23));
    s.record.Minute = static_cast<uint8_t>(Clamp(s.record.Minute, 0, 59));
    if (IsYearly(s.record)) {
        s.record.ParamA = Clamp(s.record.ParamA, 1, 31);
        s.record.ParamB = Clamp(s.record.ParamB, 1, 12);
    }
    if (s.changes & kChangedTime) Fill(note, s);
    if (s.editorNote) {
        EditorNoteChanged(note, s.record);
    } else if (s.record.number > 0 && !hEditor) {
        const bool saved = UpdateRms([&](KeyStore& store) { WriteReminder(store, s.record, SaveKind::NoteOnly); });
        if (s.changes & kChangedName) RenameReminder(s.record.number, s.record.Name);
        if (s.changes & kChangedTime) RebuildEntry(s.record);
        // Not in the file: saved again when the note next loses the focus.
        if (!saved) return;
    }
    s.changes = 0;
}

void Edited(HWND note, NoteState& s, int control) {
    if (s.filling) return;
    std::string text = ItemText(note, control);
    int value = atoi(text.c_str());
    switch (control) {
        case IDC_NOTEHOUR: s.record.Houre = static_cast<uint8_t>(Clamp(value, 0, 23)); s.changes |= kChangedTime; break;
        case IDC_NOTEMINUTE: s.record.Minute = static_cast<uint8_t>(Clamp(value, 0, 59)); s.changes |= kChangedTime; break;
        case IDC_NOTEDAY: s.record.ParamA = value; s.changes |= kChangedTime; break;
        case IDC_NOTEMONTH: s.record.ParamB = value; s.changes |= kChangedTime; break;
        case IDC_NOTENAME:
            if (text.empty()) {
                // A note always has a name: the last one comes back.
                s.filling = true;
                SetDlgItemTextA(note, IDC_NOTENAME, s.record.Name.c_str());
                s.filling = false;
            } else {
                s.record.Name = text;
                s.changes |= kChangedName;
            }
            break;
        case IDC_NOTETEXT: s.record.Text = text; s.changes |= kChangedPlaceOrText; break;
        default: return;
    }
    LayOut(note, s);
}

void Drag(HWND note, NoteState& s) {
    RECT before;
    GetWindowRect(note, &before);
    ReleaseCapture();
    SendMessageA(note, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    RECT after;
    GetWindowRect(note, &after);
    if (after.left == before.left && after.top == before.top) return;
    s.record.XNote = after.left;
    s.record.YNote = after.top;
    s.changes |= kChangedPlaceOrText;
}

void ShowMenu(HWND note, NoteState& s, int x, int y) {
    SetForegroundWindow(note);
    BringWindowToTop(note);
    TrackPopupMenu(s.menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, note, nullptr);
    PostMessageA(note, WM_NULL, 0, 0);
}

void Fold(HWND note, NoteState& s, bool folded) {
    s.folded = folded;
    LayOut(note, s);
    if (!folded) {
        SetForegroundWindow(note);
        SetFocus(GetDlgItem(note, IDC_NOTETEXT));
    }
}

void Settings(HWND note, NoteState& s) {
    if (s.record.number <= 0 || hEditor) return;
    if (!RunNoteSettings(note, s.record)) return;
    ApplyLook(note, s);
    SetWindowPos(note, s.record.TopMostNote ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateRms([&](KeyStore& store) { WriteReminder(store, s.record, SaveKind::NoteOnly); });
}

void Command(HWND note, NoteState& s, int id) {
    const bool saved = s.record.number > 0 && !hEditor;
    switch (id) {
        case IDM_NOTESETTINGS:
            Settings(note, s);
            break;
        case IDM_NOTEFIRE:
            if (s.editorNote) EditorTest();
            else FireReminder(s.record.number, true);
            break;
        case IDM_NOTECLOSE:
        case IDC_NOTECLOSE:
            DestroyWindow(note);
            break;
        case IDM_NOTEHIDE:
            if (saved) {
                s.record.ShowNote = 0;
                UpdateRms([&](KeyStore& store) { WriteReminder(store, s.record, SaveKind::NoteOnly); });
            } else if (s.editorNote) {
                EditorNoteHidden(note);
            }
            DestroyWindow(note);
            break;
        case IDM_NOTEDELETE:
            if (saved) {
                // Later: the reload closes this very note, which must not
                // write the deleted reminder back as it goes.
                PostMessageA(hHidden, WM_KV_DELETE, static_cast<WPARAM>(s.record.number), 0);
                s.record.number = 0;
                s.changes = 0;
            }
            break;
        default:
            break;
    }
}

void DrawGlyph(const DRAWITEMSTRUCT& item, NoteState& s) {
    // Drawn on the 14-pixel grid of 96 DPI, then stretched to the button,
    // which grows with the screen's DPI.
    const int kGrid = 14;
    ScopedMemoryDC memory(item.hDC);
    ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(item.hDC, kGrid, kGrid));
    ScopedSelectObject selectBitmap(memory, bitmap.get());
    HDC dc = memory;
    RECT grid = {0, 0, kGrid, kGrid};
    FillRect(dc, &grid, s.noteBrush.get());
    ScopedSelectObject select(dc, s.pen.get());
    auto line = [&](int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    };
    switch (item.CtlID) {
        case IDC_NOTEFOLD:
            if (s.folded) {  // points right: there is more
                for (int i = 0; i < 4; ++i) line(5 + i, 3 + i, 5 + i, 11 - i);
            } else {  // points down
                for (int i = 0; i < 4; ++i) line(3 + i, 5 + i, 11 - i, 5 + i);
            }
            break;
        case IDC_NOTEMENU:
            for (int y = 4; y <= 10; y += 3) line(3, y, 11, y);
            break;
        case IDC_NOTECLOSE:
            line(4, 4, 10, 10);
            line(4, 9, 10, 3);
            line(5, 4, 11, 10);
            line(5, 9, 11, 3);
            break;
        default:
            break;
    }
    const RECT& box = item.rcItem;
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, dc, 0, 0, kGrid, kGrid,
               SRCCOPY);
}

// The name edit's own context menu would hide the note's.
LRESULT CALLBACK NameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = reinterpret_cast<WNDPROC>(GetPropA(edit, "KvNoteEdit"));
    if (message == WM_CONTEXTMENU) return SendMessageA(GetParent(edit), WM_CONTEXTMENU, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(edit, "KvNoteEdit");
    }
    return CallWindowProcA(original, edit, message, wParam, lParam);
}

INT_PTR NoteFunc(HWND note, UINT message, WPARAM wParam, LPARAM lParam) {
    NoteState* s = State(note);
    switch (message) {
        case WM_INITDIALOG: {
            HWND name = GetDlgItem(note, IDC_NOTENAME);
            SetPropA(name, "KvNoteEdit", reinterpret_cast<HANDLE>(GetWindowLongPtrA(name, GWLP_WNDPROC)));
            SetWindowLongPtrA(name, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NameEditProc));
            return FALSE;
        }
        case WM_NOTE_OPEN: {
            const ReminderRecord* record = reinterpret_cast<const ReminderRecord*>(lParam);
            if (!s || !record) return TRUE;
            s->record = *record;
            Open(note, *s);
            return TRUE;
        }
        case WM_CTLCOLORDLG:
            return s ? reinterpret_cast<INT_PTR>(s->noteBrush.get()) : FALSE;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            if (!s) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_NOTETEXT) {
                SetTextColor(dc, s->record.ColorNote);
                SetBkColor(dc, s->record.BackNote);
                return reinterpret_cast<INT_PTR>(s->backBrush.get());
            }
            SetTextColor(dc, s->record.BackNote);
            SetBkColor(dc, s->record.ColorNote);
            return reinterpret_cast<INT_PTR>(s->noteBrush.get());
        }
        case WM_DRAWITEM:
            if (s) DrawGlyph(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), *s);
            return TRUE;
        case WM_COMMAND: {
            if (!s) return FALSE;
            int id = LOWORD(wParam);
            if (HIWORD(wParam) == EN_CHANGE) {
                Edited(note, *s, id);
            } else if (id == IDC_NOTEFOLD && HIWORD(wParam) == BN_CLICKED) {
                Fold(note, *s, !s->folded);
            } else if (id == IDC_NOTEMENU && HIWORD(wParam) == BN_CLICKED) {
                RECT button;
                GetWindowRect(GetDlgItem(note, IDC_NOTEMENU), &button);
                ShowMenu(note, *s, button.left, button.bottom);
            } else if (HIWORD(wParam) == 0 || HIWORD(wParam) == BN_CLICKED) {
                Command(note, *s, id);
            }
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            if (s) Drag(note, *s);
            return TRUE;
        case WM_CONTEXTMENU: {
            if (!s) return FALSE;
            int control = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
            if (reinterpret_cast<HWND>(wParam) != note &&
                (control == IDC_NOTEHOUR || control == IDC_NOTEMINUTE || control == IDC_NOTEDAY ||
                 control == IDC_NOTEMONTH || control == IDC_NOTETEXT || control == IDC_NOTEFOLD)) {
                return TRUE;
            }
            POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (lParam == -1) {
                RECT window;
                GetWindowRect(note, &window);
                at = {window.left, window.bottom};
            }
            ShowMenu(note, *s, at.x, at.y);
            return TRUE;
        }
        case WM_ACTIVATE:
            if (s && LOWORD(wParam) == WA_INACTIVE) {
                if (!s->folded) Fold(note, *s, true);
                if (s->changes) Save(note, *s);
            }
            return FALSE;
        case WM_CLOSE:
            DestroyWindow(note);
            return TRUE;
        case WM_DESTROY:
            ForgetNote(note);
            if (s && s->editorNote) EditorNoteClosed(note);
            return TRUE;
        case WM_NCDESTROY:
            if (s) {
                if (s->menu) DestroyMenu(s->menu);
                SetWindowLongPtrA(note, DWLP_USER, 0);
                delete s;
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND CreateNote(const ReminderRecord& record, bool editorNote) {
    HWND note = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_NOTE), hHidden, Guarded<NoteFunc>, 0);
    if (!note) return nullptr;
    NoteState* s = new NoteState;
    s->editorNote = editorNote;
    SetWindowLongPtrA(note, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
    SendMessageA(note, WM_NOTE_OPEN, 0, reinterpret_cast<LPARAM>(&record));
    return note;
}

bool NoteRecord(HWND note, ReminderRecord& record) {
    NoteState* s = IsWindow(note) ? State(note) : nullptr;
    if (!s) return false;
    record = s->record;
    return true;
}
