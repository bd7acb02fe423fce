// The dates settings page: the list of date files, the month grid with the
// chosen file's entries, and the file's print settings, each stored at once
// in its ".dst" section.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "createpathfile.h"
#include "dates_ids.h"
#include "dates_plugin.h"
#include "dravonel_plugin.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "system_programs.h"

namespace {

// Texts of the host's "STRING" section for the name prompts.
enum { STRING_DATE_FILE = 40, STRING_NEW_DATE_FILE = 41, STRING_RENAME_DATE_FILE = 42 };

const int kTextedIds[] = {IDC_FILESHEAD,  IDC_ENTRIESHEAD,    IDC_PRINTHEAD,     IDC_PRINT,        IDC_PLACE,
                          IDC_AUTOWRAP,   IDC_OUTLINE,        IDC_DAYCOLOURON,   IDC_FRAMECOLOURON, IDC_CORNERTEXT,
                          IDC_SHIFTTEXT,  IDC_GAPTEXT,        IDC_FONTTEXT,      IDC_COLOURMODETEXT, IDC_ALPHATEXT,
                          IDC_SAVE,       IDC_TYPETEXT,       IDC_XTEXT,         IDC_YTEXT,         IDC_HEIGHTTEXT,
                          IDC_COLOURTEXT, IDC_NEWFILE,        IDC_DELETEFILE,    IDC_RENAMEFILE,    IDC_INFO};

// Controls that only make sense with a file chosen.
const int kFileControls[] = {IDC_DELETEFILE, IDC_RENAMEFILE, IDC_TYPE,     IDC_SAVE,         IDC_ENTRY,
                             IDC_PRINT,      IDC_X,          IDC_Y,        IDC_CORNER,       IDC_PLACE,
                             IDC_SHIFT,      IDC_GAP,        IDC_AUTOWRAP, IDC_FONTBOX,      IDC_HEIGHT,
                             IDC_COLOUR,     IDC_OUTLINE,    IDC_OUTLINECOLOUR, IDC_COLOURMODE, IDC_ALPHA,
                             IDC_DAYCOLOURON, IDC_DAYCOLOUR, IDC_FRAMECOLOURON, IDC_FRAMECOLOUR};

struct Flag {
    int id;
    const char* key;
};
const Flag kFlags[] = {{IDC_PRINT, "KvPrintP"},
                       {IDC_AUTOWRAP, "KvAutoCar"},
                       {IDC_OUTLINE, "KvKaimaP"},
                       {IDC_DAYCOLOURON, "KvColPWCh"},
                       {IDC_FRAMECOLOURON, "KvColKaimPWCh"}};
const Flag kCombos[] = {{IDC_TYPE, "KvTypDate"}, {IDC_CORNER, "KvTypPos"}, {IDC_SHIFT, "KvTypShift"},
                        {IDC_COLOURMODE, "KvRevPCol"}};
const Flag kColours[] = {{IDC_COLOUR, "KvColPBoth"},
                         {IDC_OUTLINECOLOUR, "KvColPKaimBoth"},
                         {IDC_DAYCOLOUR, "KvColPW"},
                         {IDC_FRAMECOLOUR, "KvColKaimPW"}};

struct PageState {
    int month = 1;  // 1..12, the month the grid shows
    int year = 2000;
    int day = 1;    // selected day
    bool filling = false;  // controls being set from the file: nothing is written
    bool placing = false;  // the placement window moves the point: written once at the end
    HFONT boxFont = nullptr;
    HFONT boldFont = nullptr;
} state;

HWND Page() { return datesPlugin.page; }

// The chosen date file's name, or empty.
std::string Selected() {
    HWND list = GetDlgItem(Page(), IDC_FILES);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return std::string();
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

DatePrintSettings SelectedSettings() { return ReadDatePrintSettings(DateSettings(), Selected()); }

void ReapplyWallpaper() { HostServiceValue(KvSrvUpdateWallpaper, 0); }

void SetColourButton(int id, COLORREF colour) {
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(colour));
    SetDlgItemTextA(Page(), id, text);
    InvalidateRect(GetDlgItem(Page(), id), nullptr, TRUE);
}

void SetFontBox(const DatePrintSettings& settings) {
    HFONT old = reinterpret_cast<HFONT>(SendDlgItemMessageA(Page(), IDC_FONTBOX, WM_GETFONT, 0, 0));
    CreateFontBox(Page(), IDC_FONTBOX, settings.face.c_str(), settings.style, settings.charset);
    if (old && old == state.boxFont) DeleteObject(old);
    state.boxFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(Page(), IDC_FONTBOX, WM_GETFONT, 0, 0));
}

// The grid's cell at column, row (row 0 holds the weekday names).
RECT CellRect(int column, int row) {
    RECT cell = {104 + column * 20, 29 + row * 14, 104 + column * 20 + 20, 29 + row * 14 + 14};
    MapDialogRect(Page(), &cell);
    return cell;
}

bool DayHasEntry(const IniDocument& file, int day) {
    return !file.Get(TwoDigits(state.month), TwoDigits(day)).empty();
}

void RebuildGrid() {
    const int days = DaysInMonth(state.year, state.month);
    if (state.day > days) state.day = days;
    if (state.day < 1) state.day = 1;
    for (int day = 1; day <= 31; ++day) ShowWindow(GetDlgItem(Page(), IDC_DAY0 + day), SW_HIDE);
    for (const DateCell& cell : MonthCells(state.year, state.month)) {
        HWND button = GetDlgItem(Page(), IDC_DAY0 + cell.day);
        const RECT box = CellRect(cell.column, cell.row + 1);
        MoveWindow(button, box.left, box.top, box.right - box.left, box.bottom - box.top, FALSE);
        ShowWindow(button, SW_SHOW);
        InvalidateRect(button, nullptr, TRUE);
    }
}

void ShowEntry() {
    const std::string name = Selected();
    std::string text;
    if (!name.empty()) {
        const IniDocument& file = DateFile(name);
        text = SelectedSettings().type == 1 ? file.Get("SCRIPT", "s")
                                            : file.Get(TwoDigits(state.month), TwoDigits(state.day));
    }
    SetDlgItemTextA(Page(), IDC_ENTRY, DateTextToEdit(text).c_str());
}

void ShowMonth() {
    state.filling = true;
    SendDlgItemMessageA(Page(), IDC_MONTH, CB_SETCURSEL, state.month - 1, 0);
    state.filling = false;
    RebuildGrid();
    ShowEntry();
}

void LoadFileSettings() {
    const std::string name = Selected();
    const bool chosen = !name.empty();
    for (int id : kFileControls) EnableWindow(GetDlgItem(Page(), id), chosen);
    const DatePrintSettings s = chosen ? SelectedSettings() : DatePrintSettings();
    state.filling = true;
    CheckDlgButton(Page(), IDC_PRINT, s.print ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_AUTOWRAP, s.autoWrap ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_OUTLINE, s.outline ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_DAYCOLOURON, s.dayColourOn ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_FRAMECOLOURON, s.frameColourOn ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(Page(), IDC_TYPE, CB_SETCURSEL, s.type, 0);
    SendDlgItemMessageA(Page(), IDC_CORNER, CB_SETCURSEL, s.corner, 0);
    SendDlgItemMessageA(Page(), IDC_SHIFT, CB_SETCURSEL, s.shift, 0);
    SendDlgItemMessageA(Page(), IDC_COLOURMODE, CB_SETCURSEL, s.colourMode, 0);
    SetDlgItemInt(Page(), IDC_X, static_cast<UINT>(s.anchorX), TRUE);
    SetDlgItemInt(Page(), IDC_Y, static_cast<UINT>(s.anchorY), TRUE);
    SetDlgItemInt(Page(), IDC_GAP, static_cast<UINT>(s.gap), TRUE);
    SetDlgItemInt(Page(), IDC_HEIGHT, static_cast<UINT>(s.height), TRUE);
    SendDlgItemMessageA(Page(), IDC_ALPHA, TBM_SETPOS, TRUE, s.alpha);
    SetColourButton(IDC_COLOUR, s.colour);
    SetColourButton(IDC_OUTLINECOLOUR, s.outlineColour);
    SetColourButton(IDC_DAYCOLOUR, s.dayColour);
    SetColourButton(IDC_FRAMECOLOUR, s.frameColour);
    SetFontBox(s);
    state.filling = false;
    RebuildGrid();
    ShowEntry();
}

void FillFileList(const std::string& select) {
    ListDateFiles();
    HWND list = GetDlgItem(Page(), IDC_FILES);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int chosen = 0;
    for (size_t i = 0; i < datesPlugin.names.size(); ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(datesPlugin.names[i].c_str()));
        if (!select.empty() && SameIniName(datesPlugin.names[i], select)) chosen = static_cast<int>(i);
    }
    if (!datesPlugin.names.empty()) SendMessageA(list, LB_SETCURSEL, chosen, 0);
    LoadFileSettings();
}

// Service 17: the host frees the record and its initial text.
std::string AskName(int prompt, const std::string& initial) {
    s_inputInitParam* request = static_cast<s_inputInitParam*>(malloc(sizeof(s_inputInitParam)));
    if (!request) return std::string();
    request->hwnd = Page();
    request->iCaption = STRING_DATE_FILE;
    request->iTitle = prompt;
    request->inText = initial.empty() ? nullptr : _strdup(initial.c_str());
    request->yInt = 0;
    char* answer = reinterpret_cast<char*>(HostService(KvSrvInputText, request));
    if (!answer) return std::string();
    std::string name(answer);
    free(answer);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name;
}

void NewDateFile() {
    const std::string name = AskName(STRING_NEW_DATE_FILE, std::string());
    if (name.empty() || !CreateDateFile(name)) return;
    FillFileList(name);
}

void RenameChosenFile() {
    const std::string from = Selected();
    if (from.empty()) return;
    const std::string to = AskName(STRING_RENAME_DATE_FILE, from);
    if (to.empty() || to == from || !RenameDateFile(from, to)) return;
    FillFileList(to);
}

void DeleteChosenFile() {
    const std::string name = Selected();
    if (name.empty() || !DeleteDateFile(name)) return;
    FillFileList(std::string());
}

void SaveEntry() {
    const std::string name = Selected();
    if (name.empty()) return;
    HeapString edit(GetItemChar(Page(), IDC_ENTRY));
    const std::string text = DateTextFromEdit(edit ? edit.get() : "");
    const DatePrintSettings settings = SelectedSettings();
    if (settings.type == 1) WriteDateEntry(name, "SCRIPT", "s", text);
    else WriteDateEntry(name, TwoDigits(state.month), TwoDigits(state.day), text);
    RebuildGrid();
    if (settings.print) ReapplyWallpaper();
}

void ShowHelp() {
    HRSRC resource = FindResourceA(datesPlugin.instance, "INDATEFILE", reinterpret_cast<LPCSTR>(RT_RCDATA));
    HGLOBAL loaded = resource ? LoadResource(datesPlugin.instance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return;
    HeapString path(CreatePathFile(nullptr, "infodate", ".txt"));
    if (!path) return;
    FILE* file = fopen(path.get(), "wb");
    if (!file) return;
    const DWORD size = SizeofResource(datesPlugin.instance, resource);
    const bool written = fwrite(bytes, 1, size, file) == size;
    if (fclose(file) == 0 && written) ShellExecuteA(Page(), "open", SystemProgramPath("notepad.exe").c_str(), path.get(), nullptr, 9);
}

void WritePoint(const std::string& name) {
    BOOL okX = FALSE, okY = FALSE;
    const int x = static_cast<int>(GetDlgItemInt(Page(), IDC_X, &okX, TRUE));
    const int y = static_cast<int>(GetDlgItemInt(Page(), IDC_Y, &okY, TRUE));
    if (!okX || !okY) return;
    char text[32];
    snprintf(text, sizeof text, "%d %d", x, y);
    WriteDateSetting(name, "KvPosP", text);
}

void Place() {
    const std::string name = Selected();
    if (name.empty()) return;
    const SIZE size = DateBlockSize(name);
    s_placefunc place = {};
    place.PlaceDialogType = 2;
    place.hPlaceDialogType = Page();
    place.IDpx = IDC_X;
    place.IDpy = IDC_Y;
    place.IDTypePos = IDC_CORNER;
    place.Width = size.cx;
    place.Height = size.cy;
    state.placing = true;
    HostService(KvSrvPlace, &place);
    state.placing = false;
    WritePoint(name);
    if (SelectedSettings().print) ReapplyWallpaper();
}

void ChooseFont(const std::string& name) {
    std::vector<char> section(name.begin(), name.end());
    section.push_back('\0');
    char ext[] = ".dst", style[] = "KvStyleP", charset[] = "KvCharsetP", face[] = "KvFontBoxP";
    s_choosefont choose = {ext, section.data(), Page(), IDC_FONTBOX, style, charset, face, 1};
    HostService(KvSrvChooseFont, &choose);
    ForgetDateCache();
    SetFontBox(SelectedSettings());
}

void OnCommand(int id, int code) {
    if (id > IDC_DAY0 && id <= IDC_DAY0 + 31) {
        state.day = id - IDC_DAY0;
        for (int day = 1; day <= 31; ++day) InvalidateRect(GetDlgItem(Page(), IDC_DAY0 + day), nullptr, TRUE);
        ShowEntry();
        return;
    }
    switch (id) {
    case IDC_FILES:
        if (code == LBN_SELCHANGE) LoadFileSettings();
        return;
    case IDC_MONTH:
        if (code == CBN_SELCHANGE && !state.filling) {
            const LRESULT month = SendDlgItemMessageA(Page(), IDC_MONTH, CB_GETCURSEL, 0, 0);
            if (month >= 0 && month < 12) state.month = static_cast<int>(month) + 1;
            ShowMonth();
        }
        return;
    case IDC_PREVMONTH:
        state.month = state.month == 1 ? 12 : state.month - 1;
        ShowMonth();
        return;
    case IDC_NEXTMONTH:
        state.month = state.month == 12 ? 1 : state.month + 1;
        ShowMonth();
        return;
    case IDC_SAVE: SaveEntry(); return;
    case IDC_NEWFILE: NewDateFile(); return;
    case IDC_RENAMEFILE: RenameChosenFile(); return;
    case IDC_DELETEFILE: DeleteChosenFile(); return;
    case IDC_INFO: ShowHelp(); return;
    case IDC_PLACE: Place(); return;
    default: break;
    }

    const std::string name = Selected();
    if (name.empty() || state.filling) return;
    for (const Flag& flag : kFlags)
        if (flag.id == id && code == BN_CLICKED) {
            const bool on = IsDlgButtonChecked(Page(), id) == BST_CHECKED;
            WriteDateSetting(name, flag.key, on ? "0" : nullptr);
            if (id == IDC_PRINT || SelectedSettings().print) ReapplyWallpaper();
            return;
        }
    for (const Flag& combo : kCombos)
        if (combo.id == id && code == CBN_SELCHANGE) {
            const int index = static_cast<int>(SendDlgItemMessageA(Page(), id, CB_GETCURSEL, 0, 0));
            WriteDateSettingInt(name, combo.key, index);
            if (id == IDC_TYPE) ShowEntry();
            if (SelectedSettings().print) ReapplyWallpaper();
            return;
        }
    for (const Flag& colour : kColours)
        if (colour.id == id && code == BN_CLICKED) {
            ColorSelect(".dst", name.c_str(), Page(), id, colour.key);
            ForgetDateCache();
            if (SelectedSettings().print) ReapplyWallpaper();
            return;
        }
    if (code == EN_CHANGE) {
        BOOL ok = FALSE;
        const int value = static_cast<int>(GetDlgItemInt(Page(), id, &ok, TRUE));
        if ((id == IDC_X || id == IDC_Y) && !state.placing) WritePoint(name);
        else if (id == IDC_GAP && ok) WriteDateSettingInt(name, "KvPix", value);
        else if (id == IDC_HEIGHT && ok) WriteDateSettingInt(name, "KvHeight", value);
        return;
    }
    if (id == IDC_FONTBOX && code == BN_CLICKED) ChooseFont(name);
}

void DrawDay(const DRAWITEMSTRUCT* draw) {
    const int day = static_cast<int>(draw->CtlID) - IDC_DAY0;
    const std::string name = Selected();
    const bool entry = !name.empty() && DayHasEntry(DateFile(name), day);
    const bool selected = day == state.day;
    HDC dc = draw->hDC;
    RECT box = draw->rcItem;
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(back));
    FillRect(dc, &box, brush.get());
    if (entry) {
        // A day with an entry: bold, in the pages' heading red, with a corner mark.
        POINT mark[] = {{box.right - 6, box.top}, {box.right, box.top}, {box.right, box.top + 6}};
        ScopedGdiObj<HBRUSH> markBrush(CreateSolidBrush(RGB(0xC0, 0, 0)));
        ScopedGdiObj<HPEN> markPen(CreatePen(PS_SOLID, 1, RGB(0xC0, 0, 0)));
        ScopedSelectObject b(dc, markBrush.get());
        ScopedSelectObject p(dc, markPen.get());
        Polygon(dc, mark, 3);
    }
    char text[8];
    snprintf(text, sizeof text, "%d", day);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : entry ? RGB(0x80, 0, 0) : GetSysColor(COLOR_WINDOWTEXT));
    ScopedSelectObject font(dc, entry && state.boldFont ? static_cast<HGDIOBJ>(state.boldFont)
                                                        : reinterpret_cast<HGDIOBJ>(SendMessageA(Page(), WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (draw->itemState & ODS_FOCUS) DrawFocusRect(dc, &box);
}

INT_PTR CALLBACK DatesPageFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (datesPlugin.page == hwnd) OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        if (datesPlugin.page == hwnd && reinterpret_cast<HWND>(lParam) == GetDlgItem(hwnd, IDC_ALPHA) &&
            !state.filling) {
            const std::string name = Selected();
            if (name.empty()) return TRUE;
            WriteDateSettingInt(name, "KvAlphaPText",
                                static_cast<int>(SendDlgItemMessageA(hwnd, IDC_ALPHA, TBM_GETPOS, 0, 0)));
            if (LOWORD(wParam) == TB_ENDTRACK && SelectedSettings().print) ReapplyWallpaper();
        }
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlID > IDC_DAY0 && draw->CtlID <= IDC_DAY0 + 31) DrawDay(draw);
        else PainColorButton(draw->hDC, &draw->rcItem, hwnd, static_cast<int>(draw->CtlID));
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_DESTROY:
        if (datesPlugin.page == hwnd) datesPlugin.page = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void CreateGrid() {
    const char* language = datesPlugin.languageFile.c_str();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Page(), WM_GETFONT, 0, 0));
    for (int column = 0; column < 7; ++column) {
        const RECT box = CellRect(column, 0);
        HWND header = CreateWindowExA(0, "STATIC", Priv(10 + column, "MAIN", language),
                                      WS_CHILD | WS_VISIBLE | SS_CENTER, box.left, box.top, box.right - box.left,
                                      box.bottom - box.top, Page(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WEEKDAY0 + column)),
                                      datesPlugin.instance, nullptr);
        SendMessageA(header, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    for (int day = 1; day <= 31; ++day) {
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 0, 1, 1, Page(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_DAY0 + day)), datesPlugin.instance, nullptr);
    }
    LOGFONTA bold = {};
    if (font && GetObjectA(font, sizeof bold, &bold)) {
        bold.lfWeight = FW_BOLD;
        state.boldFont = CreateFontIndirectA(&bold);
    }
}

void FillCombo(int id, const char* section, int first, int last) {
    const char* language = datesPlugin.languageFile.c_str();
    for (int i = first; i <= last; ++i)
        SendDlgItemMessageA(Page(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Priv(i, section, language)));
}

}  // namespace

HWND CreateDatesPage(HWND panel) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    datesPlugin.page =
        CreateDialogParamA(datesPlugin.instance, MAKEINTRESOURCEA(IDD_DATESPAGE), panel, DatesPageFunc, 0);
    if (!Page()) return nullptr;
    const char* language = datesPlugin.languageFile.c_str();
    for (int id : kTextedIds) SetDlgItemTextA(Page(), id, Priv(id, "DATE", language));
    FillCombo(IDC_MONTH, "MAIN", 20, 31);
    FillCombo(IDC_COLOURMODE, "CALEN", 70, 72);
    FillCombo(IDC_TYPE, "DATE", 0, 1);
    FillCombo(IDC_CORNER, "DATE", 10, 13);
    FillCombo(IDC_SHIFT, "DATE", 20, 24);
    SendDlgItemMessageA(Page(), IDC_ALPHA, TBM_SETRANGE, TRUE, MAKELPARAM(0, 9));
    SendDlgItemMessageA(Page(), IDC_ENTRY, EM_LIMITTEXT, 4000, 0);
    SYSTEMTIME now;
    GetLocalTime(&now);
    state.month = now.wMonth;
    state.year = now.wYear;
    state.day = now.wDay;
    CreateGrid();
    state.filling = true;
    SendDlgItemMessageA(Page(), IDC_MONTH, CB_SETCURSEL, state.month - 1, 0);
    state.filling = false;
    FillFileList(std::string());
    return Page();
}

void RefreshDatesPage() {
    if (Page()) FillFileList(Selected());
}

void AttachDatesToolTips() {
    const struct {
        int id;
        int text;
    } tips[] = {{IDC_OUTLINECOLOUR, 14}, {IDC_DAYCOLOUR, 14}, {IDC_COLOUR, 14}, {IDC_FONTBOX, 14},
                {IDC_FRAMECOLOUR, 14},   {IDC_RENAMEFILE, 30}, {IDC_NEWFILE, 25}, {IDC_INFO, 33},
                {IDC_DELETEFILE, 28}};
    for (const auto& tip : tips) {
        s_addtooltip record = {Page(), tip.id, tip.text};
        HostService(KvSrvAddToolTip, &record);
    }
}

void ReleaseDatesPageObjects() {
    if (state.boxFont) DeleteObject(state.boxFont);
    if (state.boldFont) DeleteObject(state.boldFont);
    state.boxFont = state.boldFont = nullptr;
}
