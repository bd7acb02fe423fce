#include "editor.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "firing.h"
#include "host_services.h"
#include "ini_store.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "note_window.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "reminder_window.h"
#include "reminders.h"
#include "scopedwin.h"

namespace {

// Texts of "REMINDER" beside the control texts.
enum {
    kTextEditorCaption = 90,
    kTextNewReminder = 82,
    kTextUnnamed = 83,
    kTextDeleteQuestion = 84,
    kTextChoosePicture = 85,
    kTextPictures = 86,
    kTextPrograms = 87,
    kTextSounds = 88,
    kTextAllFiles = 89,
    kTextChooseProgram = 92,
    kTextChooseSound = 93,
    kTextChooseSoundFolder = 94,
};

struct Editor {
    std::vector<ReminderRecord> records;  // list order
    int current = -1;
    bool dirty = false;
    bool filling = false;  // set while the editor fills its controls
    HWND note = nullptr;   // the note of the reminder being edited
    ScopedGdiObj<HFONT> faceFont;
    HBITMAP preview = nullptr;
    HHOOK keyboardHook = nullptr;
    uint8_t weight = 0, charSet = 204;
};
Editor editor;

struct Combo {
    int control, first, count;
};
const Combo kCombos[] = {{IDC_ETYPE, 40, 5},      {IDC_EDAYRULE, 0, 14}, {IDC_EWEEKRULE, 20, 7},
                         {IDC_ECONNECTION, 60, 2}, {IDC_EINET, 70, 3},    {IDC_ESHOWCMD, 30, 4}};

// Controls of the schedule row, by type.
const int kRowControls[] = {IDC_ERULELABEL, IDC_EDAYRULE,    IDC_EWEEKRULE, IDC_ECONNECTION, IDC_EDATELABEL,
                            IDC_EDAY,       IDC_EDOT,        IDC_EMONTH,    IDC_EEVERYLABEL, IDC_EEVERY,
                            IDC_ETIMESLABEL, IDC_ETIMES,     IDC_EDELAYLABEL, IDC_EDELAY};

bool RowControlShown(int type, int control) {
    switch (type) {
        case kTypeDays: return control == IDC_ERULELABEL || control == IDC_EDAYRULE || control == IDC_EWEEKRULE;
        case kTypeDate:
            return control == IDC_EDATELABEL || control == IDC_EDAY || control == IDC_EDOT || control == IDC_EMONTH;
        case kTypeSeries:
            return control == IDC_EEVERYLABEL || control == IDC_EEVERY || control == IDC_ETIMESLABEL ||
                   control == IDC_ETIMES;
        case kTypeConnection:
            return control == IDC_ERULELABEL || control == IDC_ECONNECTION || control == IDC_EDELAYLABEL ||
                   control == IDC_EDELAY;
        case kTypeAfterStart: return control == IDC_EDELAYLABEL || control == IDC_EDELAY;
        default: return false;
    }
}

int Number(HWND dialog, int control) { return atoi(ItemText(dialog, control).c_str()); }

void SetNumber(HWND dialog, int control, int value) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    SetDlgItemTextA(dialog, control, text);
}

void SetTwoDigits(HWND dialog, int control, int value) {
    char text[16];
    snprintf(text, sizeof text, "%02d", value);
    SetDlgItemTextA(dialog, control, text);
}

int Selected(HWND dialog, int control) {
    return static_cast<int>(SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0));
}

void Select(HWND dialog, int control, int index) {
    SendDlgItemMessageA(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Checked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

void Check(HWND dialog, int control, bool on) { CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED); }

COLORREF ColourButton(HWND dialog, int control) {
    return static_cast<COLORREF>(strtoul(ItemText(dialog, control).c_str(), nullptr, 10));
}

void SetColourButton(HWND dialog, int control, COLORREF colour) {
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(colour));
    SetDlgItemTextA(dialog, control, text);
    InvalidateRect(GetDlgItem(dialog, control), nullptr, TRUE);
}

std::string ListText(const ReminderRecord& r) {
    if (!r.Name.empty()) return r.Name;
    char text[120];
    snprintf(text, sizeof text, "%s %d", Text(kTextUnnamed), r.number);
    return text;
}

void ShowTypeRow(HWND dialog, int type) {
    for (int control : kRowControls) ShowWindow(GetDlgItem(dialog, control), RowControlShown(type, control) ? SW_SHOW : SW_HIDE);
}

void ShowFace(HWND dialog, const std::string& face) {
    editor.faceFont.reset(CreateReminderFont(face, -11, editor.charSet, editor.weight));
    SendDlgItemMessageA(dialog, IDC_EFACE, WM_SETFONT, reinterpret_cast<WPARAM>(editor.faceFont.get()), TRUE);
    SetDlgItemTextA(dialog, IDC_EFACE, face.c_str());
}

void ShowPreview(HWND dialog) {
    HostPreview(GetDlgItem(dialog, IDC_EPREVIEW), editor.preview, ItemText(dialog, IDC_EPICTURE));
}

// The record as the controls show it; keys without a control keep their value.
ReminderRecord ReadFields(HWND dialog) {
    ReminderRecord r = editor.current >= 0 ? editor.records[static_cast<size_t>(editor.current)] : ReminderRecord();
    r.Name = ItemText(dialog, IDC_ENAME);
    r.Activity = Checked(dialog, IDC_EACTIVITY);
    r.Type = std::max(0, Selected(dialog, IDC_ETYPE));
    r.Houre = static_cast<uint8_t>(std::min(23, std::max(0, Number(dialog, IDC_EHOUR))));
    r.Minute = static_cast<uint8_t>(std::min(59, std::max(0, Number(dialog, IDC_EMINUTE))));
    switch (r.Type) {
        case kTypeDays:
            r.ParamA = std::max(0, Selected(dialog, IDC_EDAYRULE));
            r.ParamB = std::max(0, Selected(dialog, IDC_EWEEKRULE));
            break;
        case kTypeDate:
            r.ParamA = std::min(31, std::max(1, Number(dialog, IDC_EDAY)));
            r.ParamB = std::min(12, std::max(1, Number(dialog, IDC_EMONTH)));
            break;
        case kTypeSeries:
            r.ParamA = Number(dialog, IDC_EEVERY);
            r.ParamB = Number(dialog, IDC_ETIMES);
            break;
        case kTypeConnection:
            r.ParamA = std::max(0, Selected(dialog, IDC_ECONNECTION));
            r.ParamB = Number(dialog, IDC_EDELAY);
            break;
        default:
            r.ParamA = 0;
            r.ParamB = Number(dialog, IDC_EDELAY);
            break;
    }
    r.InetState = static_cast<uint8_t>(std::max(0, Selected(dialog, IDC_EINET)));
    r.CancelWork = Checked(dialog, IDC_ECANCELWORK);
    r.Text = ItemText(dialog, IDC_ETEXT);
    r.Picture = ItemText(dialog, IDC_EPICTURE);
    r.PicWidth = Number(dialog, IDC_EPICWIDTH);
    r.PicHeight = Number(dialog, IDC_EPICHEIGHT);
    r.Interval = Number(dialog, IDC_EINTERVAL);
    r.Face = ItemText(dialog, IDC_EFACE);
    if (r.Face.empty()) r.Face = "MS Sans Serif";
    r.Height = Number(dialog, IDC_EHEIGHT);
    if (r.Height <= 0) r.Height = 8;
    r.Weight = editor.weight;
    r.CharSet = editor.charSet;
    r.Color = ColourButton(dialog, IDC_ECOLOR);
    r.BackColor = ColourButton(dialog, IDC_EBACKCOLOR);
    r.TopMost = Checked(dialog, IDC_ETOPMOST);
    r.File = ItemText(dialog, IDC_EFILE);
    r.Parameters = ItemText(dialog, IDC_EPARAMETERS);
    int show = Selected(dialog, IDC_ESHOWCMD);
    if (show >= 0) r.ShowCmd = show;  // entries in the order of the system's show codes 0..3
    r.Sound = ItemText(dialog, IDC_ESOUND);
    r.Loop = Checked(dialog, IDC_ELOOP);
    r.Win = Checked(dialog, IDC_EWIN);
    r.HotKey = static_cast<uint16_t>(SendDlgItemMessageA(dialog, IDC_EHOTKEY, HKM_GETHOTKEY, 0, 0));
    r.ShowNote = Checked(dialog, IDC_ESHOWNOTE);
    r.TopMostNote = Checked(dialog, IDC_ETOPMOSTNOTE);
    r.ColorNote = ColourButton(dialog, IDC_ECOLORNOTE);
    r.BackNote = ColourButton(dialog, IDC_EBACKNOTE);
    r.XNote = Number(dialog, IDC_EXNOTE);
    r.YNote = Number(dialog, IDC_EYNOTE);
    r.AlphaNote = static_cast<int>(SendDlgItemMessageA(dialog, IDC_EALPHANOTE, TBM_GETPOS, 0, 0));
    return r;
}

void CloseNote() {
    HWND note = editor.note;
    editor.note = nullptr;
    if (note && IsWindow(note)) DestroyWindow(note);
}

void RefreshNote(HWND dialog) {
    if (editor.filling) return;
    bool wanted = Checked(dialog, IDC_ESHOWNOTE) && editor.current >= 0;
    if (!wanted) {
        CloseNote();
        return;
    }
    ReminderRecord r = ReadFields(dialog);
    if (editor.note && IsWindow(editor.note)) SendMessageA(editor.note, WM_NOTE_OPEN, 0, reinterpret_cast<LPARAM>(&r));
    else editor.note = CreateNote(r, true);
}

void FillFields(HWND dialog, const ReminderRecord& r) {
    editor.filling = true;
    SetDlgItemTextA(dialog, IDC_ENAME, r.Name.c_str());
    Check(dialog, IDC_EACTIVITY, r.Activity != 0);
    Select(dialog, IDC_ETYPE, r.Type >= 0 && r.Type <= 4 ? r.Type : -1);
    SetTwoDigits(dialog, IDC_EHOUR, r.Houre);
    SetTwoDigits(dialog, IDC_EMINUTE, r.Minute);
    SYSTEMTIME today;
    GetLocalTime(&today);
    const bool days = r.Type == kTypeDays, date = r.Type == kTypeDate, series = r.Type == kTypeSeries;
    const bool connection = r.Type == kTypeConnection;
    Select(dialog, IDC_EDAYRULE, days ? r.ParamA : 0);
    Select(dialog, IDC_EWEEKRULE, days ? r.ParamB : 0);
    Select(dialog, IDC_ECONNECTION, connection ? r.ParamA : 0);
    SetTwoDigits(dialog, IDC_EDAY, date ? r.ParamA : today.wDay);
    SetTwoDigits(dialog, IDC_EMONTH, date ? r.ParamB : today.wMonth);
    SetNumber(dialog, IDC_EEVERY, series ? r.ParamA : 30);
    SetNumber(dialog, IDC_ETIMES, series ? r.ParamB : 2);
    SetNumber(dialog, IDC_EDELAY, connection || r.Type == kTypeAfterStart ? r.ParamB : 5);
    ShowTypeRow(dialog, r.Type);
    Select(dialog, IDC_EINET, r.InetState <= 2 ? r.InetState : 0);
    Check(dialog, IDC_ECANCELWORK, r.CancelWork != 0);
    SetDlgItemTextA(dialog, IDC_ETEXT, r.Text.c_str());
    SetDlgItemTextA(dialog, IDC_EPICTURE, r.Picture.c_str());
    SetNumber(dialog, IDC_EPICWIDTH, r.PicWidth);
    SetNumber(dialog, IDC_EPICHEIGHT, r.PicHeight);
    SetNumber(dialog, IDC_EINTERVAL, r.Interval);
    editor.weight = r.Weight;
    editor.charSet = r.CharSet;
    ShowFace(dialog, r.Face);
    SetNumber(dialog, IDC_EHEIGHT, r.Height);
    SetColourButton(dialog, IDC_ECOLOR, r.Color);
    SetColourButton(dialog, IDC_EBACKCOLOR, r.BackColor);
    Check(dialog, IDC_ETOPMOST, r.TopMost != 0);
    SetDlgItemTextA(dialog, IDC_EFILE, r.File.c_str());
    SetDlgItemTextA(dialog, IDC_EPARAMETERS, r.Parameters.c_str());
    Select(dialog, IDC_ESHOWCMD, r.ShowCmd >= 0 && r.ShowCmd <= 3 ? r.ShowCmd : -1);
    SetDlgItemTextA(dialog, IDC_ESOUND, r.Sound.c_str());
    Check(dialog, IDC_ELOOP, r.Loop != 0);
    Check(dialog, IDC_EWIN, r.Win != 0);
    SendDlgItemMessageA(dialog, IDC_EHOTKEY, HKM_SETHOTKEY, r.HotKey, 0);
    Check(dialog, IDC_ESHOWNOTE, r.ShowNote != 0);
    Check(dialog, IDC_ETOPMOSTNOTE, r.TopMostNote != 0);
    SetColourButton(dialog, IDC_ECOLORNOTE, r.ColorNote);
    SetColourButton(dialog, IDC_EBACKNOTE, r.BackNote);
    SetNumber(dialog, IDC_EXNOTE, r.XNote);
    SetNumber(dialog, IDC_EYNOTE, r.YNote);
    SendDlgItemMessageA(dialog, IDC_EALPHANOTE, TBM_SETPOS, TRUE, r.AlphaNote);
    editor.filling = false;
    ShowPreview(dialog);
}

void EnableFields(HWND dialog, bool enabled) {
    for (int control = IDC_EDELETE; control <= IDC_ELASTTEXT; ++control) {
        if (control != IDC_ESAVE) EnableWindow(GetDlgItem(dialog, control), enabled);
    }
    for (int control = IDC_ENAME; control <= IDC_EBY; ++control) EnableWindow(GetDlgItem(dialog, control), enabled);
}

void UpdateListText(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_ELIST);
    std::string text = ListText(editor.records[static_cast<size_t>(index)]);
    int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void SaveCurrent(HWND dialog) {
    if (editor.current < 0 || !editor.dirty) return;
    ReminderRecord r = ReadFields(dialog);
    // A reminder without a name would not be loaded.
    if (r.Name.empty()) {
        r.Name = Text(kTextNewReminder);
        editor.filling = true;
        SetDlgItemTextA(dialog, IDC_ENAME, r.Name.c_str());
        editor.filling = false;
    }
    const bool isNew = r.number <= 0;
    if (isNew) {
        IniStore current(RmsPath());
        r.number = NextFreeNumber(current, static_cast<long long>(time(nullptr)));
    }
    UpdateRms([&](KeyStore& store) {
        WriteReminder(store, r, SaveKind::Full);
        if (isNew) AppendToList(store, r.number);
    });
    editor.records[static_cast<size_t>(editor.current)] = r;
    editor.dirty = false;
    UpdateListText(dialog, editor.current);
}

void SelectRecord(HWND dialog, int index) {
    if (index == editor.current) return;
    SaveCurrent(dialog);
    CloseNote();
    editor.current = index;
    SendDlgItemMessageA(dialog, IDC_ELIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    EnableFields(dialog, index >= 0);
    if (index >= 0) FillFields(dialog, editor.records[static_cast<size_t>(index)]);
    editor.dirty = false;
    RefreshNote(dialog);
}

void LoadList(HWND dialog) {
    IniStore store(RmsPath());
    editor.records.clear();
    for (int number : ReadList(store)) {
        editor.records.push_back(ReadReminder(store, number, GetSysColor(COLOR_BTNFACE)));
    }
    HWND list = GetDlgItem(dialog, IDC_ELIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ReminderRecord& r : editor.records) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListText(r).c_str()));
    }
    editor.current = -1;
    SelectRecord(dialog, editor.records.empty() ? -1 : 0);
    if (editor.records.empty()) EnableFields(dialog, false);
}

void NewRecord(HWND dialog) {
    SaveCurrent(dialog);
    SYSTEMTIME now;
    GetLocalTime(&now);
    ReminderRecord r;
    r.Name = Text(kTextNewReminder);
    r.Houre = static_cast<uint8_t>(now.wHour);
    r.Minute = static_cast<uint8_t>(now.wMinute);
    r.ShowCmd = SW_SHOWNORMAL;
    r.BackColor = GetSysColor(COLOR_BTNFACE);
    editor.records.push_back(r);
    int index = static_cast<int>(editor.records.size()) - 1;
    SendDlgItemMessageA(dialog, IDC_ELIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListText(r).c_str()));
    SelectRecord(dialog, index);
    // A new reminder is kept unless it is deleted.
    editor.dirty = true;
    SetFocus(GetDlgItem(dialog, IDC_ENAME));
    SendDlgItemMessageA(dialog, IDC_ENAME, EM_SETSEL, 0, -1);
}

void DeleteRecord(HWND dialog) {
    if (editor.current < 0) return;
    const ReminderRecord& r = editor.records[static_cast<size_t>(editor.current)];
    // The language file's text is not a format: only "%s" is filled in.
    std::string question = TextCopy(kTextDeleteQuestion);
    std::string::size_type slot = question.find("%s");
    if (slot != std::string::npos) question.replace(slot, 2, ListText(r));
    std::string caption = TextCopy(kTextEditorCaption);
    if (MessageBoxA(dialog, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (r.number > 0) {
        int number = r.number;
        UpdateRms([&](KeyStore& store) { DeleteReminder(store, number); });
    }
    CloseNote();
    int index = editor.current;
    editor.records.erase(editor.records.begin() + index);
    SendDlgItemMessageA(dialog, IDC_ELIST, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    editor.current = -1;
    editor.dirty = false;
    int next = std::min(index, static_cast<int>(editor.records.size()) - 1);
    SelectRecord(dialog, next);
    if (next < 0) EnableFields(dialog, false);
}

std::string Filter(int name, const char* patterns) {
    std::string filter = Text(name);
    filter += '\0';
    filter += patterns;
    filter += '\0';
    filter += Text(kTextAllFiles);
    filter += '\0';
    filter += "*.*";
    filter += '\0';
    filter += '\0';
    return filter;
}

void Browse(HWND dialog, int control, int name, const char* patterns, int title) {
    std::string chosen = HostChooseFile(dialog, Filter(name, patterns).c_str(), TextCopy(title));
    if (chosen.empty()) return;
    SetDlgItemTextA(dialog, control, chosen.c_str());
    if (control == IDC_EPICTURE) ShowPreview(dialog);
}

void ChooseFont(HWND dialog) {
    HostChooseFont(dialog, IDC_EFACE);
    HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_EFACE, WM_GETFONT, 0, 0));
    LOGFONTA chosen = {};
    if (font && GetObjectA(font, sizeof chosen, &chosen)) {
        editor.weight = static_cast<uint8_t>((chosen.lfItalic ? 1 : 0) + (chosen.lfWeight == FW_BOLD ? 2 : 0));
        editor.charSet = chosen.lfCharSet;
    }
    std::string face = ItemText(dialog, IDC_EFACE);
    if (face.empty()) face = chosen.lfFaceName;
    // The host gave the box a font of its own; ours shows the same choice.
    if (font != editor.faceFont.get()) {
        editor.faceFont.release();
        ShowFace(dialog, face);
        DeleteObject(font);
    }
    editor.dirty = true;
}

void ApplyTexts(HWND dialog) {
    SetWindowTextA(dialog, Text(kTextEditorCaption));
    for (int id = IDC_EFIRSTTEXT; id <= IDC_ELASTTEXT; ++id) SetDlgItemTextA(dialog, id, Text(id));
    for (const Combo& combo : kCombos) {
        for (int i = 0; i < combo.count; ++i) {
            SendDlgItemMessageA(dialog, combo.control, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(Text(combo.first + i)));
        }
    }
    for (int control : {IDC_EHOUR, IDC_EMINUTE, IDC_EDAY, IDC_EMONTH}) {
        SendDlgItemMessageA(dialog, control, EM_LIMITTEXT, 2, 0);
    }
    SendDlgItemMessageA(dialog, IDC_EALPHANOTE, TBM_SETRANGEMIN, FALSE, kAlphaNoteLowest);
    SendDlgItemMessageA(dialog, IDC_EALPHANOTE, TBM_SETRANGEMAX, TRUE, 0);
}

// Tab and the arrow keys move between the controls although the host's
// message loop does not know this window.
LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && hEditor && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST && (message->hwnd == hEditor || IsChild(hEditor, message->hwnd))) {
        bool multiLine = message->hwnd == GetDlgItem(hEditor, IDC_ETEXT);
        bool enter = message->wParam == VK_RETURN;
        if (!(multiLine && enter) && IsDialogMessageA(hEditor, message)) {
            message->message = WM_NULL;
        }
    }
    return CallNextHookEx(editor.keyboardHook, code, wParam, lParam);
}

void OnCommand(HWND dialog, int control, int notification) {
    switch (control) {
        case IDC_ELIST:
            if (notification == LBN_SELCHANGE) {
                SelectRecord(dialog, static_cast<int>(SendDlgItemMessageA(dialog, IDC_ELIST, LB_GETCURSEL, 0, 0)));
            }
            return;
        case IDC_ENEW: NewRecord(dialog); return;
        case IDC_EDELETE: DeleteRecord(dialog); return;
        case IDC_ESAVE:
        case IDOK:
            SaveCurrent(dialog);
            return;
        case IDC_ETEST: EditorTest(); return;
        case IDCANCEL: CloseEditor(); return;
        case IDC_EPICTUREBROWSE:
            Browse(dialog, IDC_EPICTURE, kTextPictures, "*.bmp;*.jpg;*.jpeg;*.gif;*.png;*.ico;*.wmf;*.emf",
                   kTextChoosePicture);
            return;
        case IDC_EFILEBROWSE:
            Browse(dialog, IDC_EFILE, kTextPrograms, "*.exe;*.lnk;*.bat;*.cmd;*.com", kTextChooseProgram);
            return;
        case IDC_ESOUNDFILE: Browse(dialog, IDC_ESOUND, kTextSounds, "*.wav;*.mp3;*.mid", kTextChooseSound); return;
        case IDC_ESOUNDFOLDER: {
            std::string folder = HostChooseFolder(dialog, ItemText(dialog, IDC_ESOUND), TextCopy(kTextChooseSoundFolder));
            if (!folder.empty()) SetDlgItemTextA(dialog, IDC_ESOUND, folder.c_str());
            return;
        }
        case IDC_EFONT: ChooseFont(dialog); return;
        case IDC_ECOLOR:
        case IDC_EBACKCOLOR:
        case IDC_ECOLORNOTE:
        case IDC_EBACKNOTE:
            if (notification == BN_CLICKED) {
                COLORREF before = ColourButton(dialog, control);
                if (ColorSelect(".rms", "", dialog, control, nullptr) != before) {
                    editor.dirty = true;
                    RefreshNote(dialog);
                }
            }
            return;
        default:
            break;
    }
    if (editor.filling || editor.current < 0) return;
    bool changed = notification == EN_CHANGE || notification == CBN_SELCHANGE || notification == BN_CLICKED;
    if (!changed) {
        if (control == IDC_EPICTURE && notification == EN_KILLFOCUS) ShowPreview(dialog);
        return;
    }
    editor.dirty = true;
    if (control == IDC_ETYPE) ShowTypeRow(dialog, Selected(dialog, IDC_ETYPE));
    if (control == IDC_ENAME) {
        editor.records[static_cast<size_t>(editor.current)].Name = ItemText(dialog, IDC_ENAME);
        UpdateListText(dialog, editor.current);
    }
    RefreshNote(dialog);
}

INT_PTR EditorFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            ApplyTexts(dialog);
            return TRUE;
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_EALPHANOTE) && !editor.filling &&
                editor.current >= 0) {
                editor.dirty = true;
                RefreshNote(dialog);
            }
            return TRUE;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            PainColorButton(item->hDC, &item->rcItem, dialog, static_cast<int>(item->CtlID));
            return TRUE;
        }
        case WM_CLOSE:
            CloseEditor();
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void OpenEditor() {
    if (hEditor) {
        ShowWindow(hEditor, SW_RESTORE);
        SetForegroundWindow(hEditor);
        return;
    }
    // Nothing may fire or be changed behind the editor's back.
    ClearReminders();
    hEditor = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_EDITOR), nullptr, Guarded<EditorFunc>, 0);
    if (!hEditor) {
        LoadReminders();
        return;
    }
    editor.keyboardHook = SetWindowsHookExA(WH_GETMESSAGE, KeyboardHook, nullptr, GetCurrentThreadId());
    LoadList(hEditor);
    ShowWindow(hEditor, SW_SHOW);
    SetForegroundWindow(hEditor);
}

void CloseEditor(bool reload) {
    if (!hEditor) return;
    SaveCurrent(hEditor);
    CloseNote();
    if (editor.keyboardHook) UnhookWindowsHookEx(editor.keyboardHook);
    editor.keyboardHook = nullptr;
    HWND closing = hEditor;
    hEditor = nullptr;
    DestroyWindow(closing);
    if (editor.preview) DeleteObject(editor.preview);
    editor.preview = nullptr;
    editor.faceFont.reset();
    editor.records.clear();
    editor.current = -1;
    editor.dirty = false;
    // Notes made from the menu meanwhile are loaded once, with the rest.
    if (reload) ReloadReminders();
}

void EditorNoteChanged(HWND note, const ReminderRecord& r) {
    if (!hEditor || note != editor.note || editor.current < 0) return;
    HWND dialog = hEditor;
    editor.filling = true;
    SetDlgItemTextA(dialog, IDC_ENAME, r.Name.c_str());
    SetTwoDigits(dialog, IDC_EHOUR, r.Houre);
    SetTwoDigits(dialog, IDC_EMINUTE, r.Minute);
    if (r.Type == kTypeDate) {
        SetTwoDigits(dialog, IDC_EDAY, r.ParamA);
        SetTwoDigits(dialog, IDC_EMONTH, r.ParamB);
    }
    SetDlgItemTextA(dialog, IDC_ETEXT, r.Text.c_str());
    SetNumber(dialog, IDC_EXNOTE, r.XNote);
    SetNumber(dialog, IDC_EYNOTE, r.YNote);
    editor.filling = false;
    editor.records[static_cast<size_t>(editor.current)].Name = r.Name;
    UpdateListText(dialog, editor.current);
    editor.dirty = true;
}

void EditorNoteClosed(HWND note) {
    if (note == editor.note) editor.note = nullptr;
}

void EditorNoteHidden(HWND note) {
    if (!hEditor || note != editor.note) return;
    editor.note = nullptr;
    editor.filling = true;
    Check(hEditor, IDC_ESHOWNOTE, false);
    editor.filling = false;
    editor.dirty = true;
}

void EditorTest() {
    if (!hEditor || editor.current < 0) return;
    FireRecord(ReadFields(hEditor), true);
}
