#include "informer_page.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "dravonel_plugin.h"
#include "informer_files.h"
#include "informer_plugin.h"
#include "informer_services.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "plain_text.h"
#include "plugin_saves.h"
#include "res/resource.h"
#include "scopedwin.h"
#include "weather.h"

namespace {

const char* const kBodyText = "<body leftMargin=0 topMargin=0>\r\n";

bool loading = false;  // the page is being filled: changes are not the user's
bool placing = false;  // the placement window moves X and Y; written once at its end
bool picking = false;  // the colour pick is armed
HBITMAP preview = nullptr;

const int kTextControls[] = {
    IDC_DRAWINFORM, IDC_RESET,       IDC_INFHEAD,      IDC_ADD,          IDC_DELETE,     IDC_UPDATEONE,
    IDC_UPDATEALL,  IDC_NAMETEXT,    IDC_ENABLED,      IDC_KINDTEXT,     IDC_URLTEXT,    IDC_XTEXT,
    IDC_YTEXT,      IDC_PLACE,       IDC_WTEXT,        IDC_HTEXT,        IDC_TRANSTEXT,  IDC_COLOURKEY,
    IDC_TOLERTEXT,  IDC_KEYTEXT,     IDC_PICK,         IDC_FOLDERTEXT,   IDC_RANDOM,     IDC_ADVANCE,
    IDC_CALTEXT,    IDC_MONTHTEXT,   IDC_YEARTEXT,     IDC_HTMLTEXT,     IDC_BODYBUTTON, IDC_BORDERBUTTON,
    IDC_WEATHERHEAD, IDC_GISTEXT,    IDC_RP5TEXT,      IDC_WEATHERUPDATE, IDC_WEATHEROPEN, IDC_TOWNTEXT,
    IDC_TOWNSEARCH, IDC_BROWSERTEXT,
};

const int kToolTipControls[] = {
    IDC_RESET,     IDC_ADD,        IDC_DELETE,        IDC_UPDATEONE,   IDC_UPDATEALL,  IDC_BROWSE,
    IDC_PLACE,     IDC_PICK,       IDC_BODYBUTTON,    IDC_BORDERBUTTON, IDC_WEATHERUPDATE, IDC_WEATHEROPEN,
    IDC_TOWNSEARCH, IDC_BROWSERBROWSE,
};

struct ComboTexts {
    int control;
    int first;
    int count;
};
const ComboTexts kCombos[] = {
    {IDC_KIND, INF_STR_KIND, 6},
    {IDC_ANCHOR, INF_STR_ANCHOR, 4},
    {IDC_ASPECT, INF_STR_ASPECT, 3},
    {IDC_KEYSOURCE, INF_STR_KEYSOURCE, 6},
};

HWND Page() { return plugin.page; }

int Selected() {
    if (!Page()) return -1;
    LRESULT index = SendDlgItemMessageA(Page(), IDC_INFLIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || index < 0 || static_cast<size_t>(index) >= plugin.informers.size()) return -1;
    return static_cast<int>(index);
}

Informer* SelectedInformer() {
    int index = Selected();
    return index < 0 ? nullptr : &plugin.informers[static_cast<size_t>(index)];
}

std::string ControlText(int id) {
    HeapString text(GetItemChar(Page(), id));
    return text ? std::string(text.get()) : std::string();
}

int ControlInt(int id) {
    std::string text = ControlText(id);
    return ParseIntClamped(text.data(), text.size());
}

void SetInt(int id, int value) { SetDlgItemInt(Page(), id, static_cast<UINT>(value), TRUE); }
void SetCheck(int id, int on) { CheckDlgButton(Page(), id, on ? BST_CHECKED : BST_UNCHECKED); }
bool Checked(int id) { return IsDlgButtonChecked(Page(), id) == BST_CHECKED; }
void SetCombo(int id, int index) { SendDlgItemMessageA(Page(), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
int Combo(int id) { return static_cast<int>(SendDlgItemMessageA(Page(), id, CB_GETCURSEL, 0, 0)); }

void SetColourText(HWND dialog, int id, COLORREF colour) {
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(colour));
    SetDlgItemTextA(dialog, id, text);
    InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
}

void ShowTransparency(int tenths) {
    char text[16];
    snprintf(text, sizeof text, "%d%%", tenths * 10);
    SetDlgItemTextA(Page(), IDC_TRANSVALUE, text);
}

// The system's filter string from a language text with "|" between its parts.
std::string Filter(int id) {
    std::string filter = InformerText(id);
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

// Fields a kind does not use are greyed.
void EnableForKind(int kind, bool any) {
    struct Use {
        int control;
        bool on;
    };
    bool picture = any && kind != INFORMER_CALENDAR;
    const Use uses[] = {
        {IDC_URL, any && (kind == INFORMER_PICTURE || kind == INFORMER_WEB_PAGE || kind == INFORMER_FOLDER)},
        {IDC_BROWSE, any && (kind == INFORMER_PICTURE || kind == INFORMER_WEB_PAGE || kind == INFORMER_FOLDER)},
        {IDC_WIDTH, picture},
        {IDC_HEIGHT, picture},
        {IDC_ASPECT, picture},
        {IDC_ANCHOR, picture},
        {IDC_TRANS, picture},
        {IDC_COLOURKEY, picture},
        {IDC_KEYSOURCE, picture},
        {IDC_TOLERANCE, picture},
        {IDC_PICK, picture},
        {IDC_BORDERBUTTON, picture},
        {IDC_RANDOM, any && kind == INFORMER_FOLDER},
        {IDC_ADVANCE, any && kind == INFORMER_FOLDER},
        {IDC_CALSCALE, any && kind == INFORMER_CALENDAR},
        {IDC_CALMONTH, any && kind == INFORMER_CALENDAR},
        {IDC_CALYEAR, any && kind == INFORMER_CALENDAR},
        {IDC_HTML, any && kind == INFORMER_HTML},
        {IDC_BODYBUTTON, any && kind == INFORMER_HTML},
        {IDC_NAME, any},
        {IDC_ENABLED, any},
        {IDC_KIND, any},
        {IDC_POSX, any},
        {IDC_POSY, any},
        {IDC_PLACE, any},
        {IDC_DELETE, any},
        {IDC_UPDATEONE, any},
    };
    for (const Use& use : uses) EnableWindow(GetDlgItem(Page(), use.control), use.on);
}

void ShowInformer() {
    loading = true;
    const Informer* informer = SelectedInformer();
    Informer empty;
    const Informer& i = informer ? *informer : empty;
    SetDlgItemTextA(Page(), IDC_NAME, i.name.c_str());
    SetCheck(IDC_ENABLED, i.enabled);
    SetCombo(IDC_KIND, i.kind <= INFORMER_CALENDAR ? i.kind : -1);
    SetDlgItemTextA(Page(), IDC_URL, i.url.c_str());
    SetInt(IDC_POSX, i.x);
    SetInt(IDC_POSY, i.y);
    SetCombo(IDC_ANCHOR, i.anchor <= 3 ? i.anchor : -1);
    SetInt(IDC_WIDTH, i.width);
    SetInt(IDC_HEIGHT, i.height);
    SetCombo(IDC_ASPECT, InformerAspect(i));
    SendDlgItemMessageA(Page(), IDC_TRANS, TBM_SETPOS, TRUE, i.transparency);
    ShowTransparency(i.transparency);
    SetCheck(IDC_COLOURKEY, i.colourKey);
    SetCombo(IDC_KEYSOURCE, i.keySource <= 5 ? i.keySource : -1);
    SetInt(IDC_TOLERANCE, i.tolerance);
    SetColourText(Page(), IDC_PICKCOLOUR, static_cast<COLORREF>(i.keyColour));
    SetCheck(IDC_RANDOM, i.random);
    SetCheck(IDC_ADVANCE, i.advanceOnFetch);
    SetInt(IDC_CALSCALE, i.calendarScale);
    SetDlgItemTextA(Page(), IDC_CALMONTH, i.month.c_str());
    SetDlgItemTextA(Page(), IDC_CALYEAR, i.year.c_str());
    std::string html;
    if (informer && i.kind == INFORMER_HTML) ReadWholeFile(InformerPageFile(i.name), html);
    SetDlgItemTextA(Page(), IDC_HTML, html.c_str());
    EnableForKind(i.kind, informer != nullptr);
    loading = false;
    RefreshPagePreview();
}

void FillList(int select) {
    loading = true;
    SendDlgItemMessageA(Page(), IDC_INFLIST, LB_RESETCONTENT, 0, 0);
    for (const Informer& informer : plugin.informers)
        SendDlgItemMessageA(Page(), IDC_INFLIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(informer.name.c_str()));
    if (select >= static_cast<int>(plugin.informers.size())) select = static_cast<int>(plugin.informers.size()) - 1;
    SendDlgItemMessageA(Page(), IDC_INFLIST, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    loading = false;
    ShowInformer();
}

void SaveHtml(const Informer& informer) {
    if (informer.kind != INFORMER_HTML) return;
    SaveWholeFile(InformerPageFile(informer.name), ControlText(IDC_HTML));
}

// The text fields of the line. Text the file could not give back as typed is
// refused where it is typed: the control gets the stored text again.
std::string* LineText(Informer& informer, int id) {
    switch (id) {
    case IDC_NAME: return &informer.name;
    case IDC_URL: return &informer.url;
    case IDC_CALMONTH: return &informer.month;
    case IDC_CALYEAR: return &informer.year;
    default: return nullptr;
    }
}

bool TypedTextFits(Informer& informer, int id) {
    std::string* stored = LineText(informer, id);
    if (!stored) return true;
    Informer typed = informer;
    *LineText(typed, id) = ControlText(id);
    const InformerLineFault fault = CheckInformerLine(typed);
    if (fault == INFORMER_LINE_FITS) return true;
    loading = true;
    SetDlgItemTextA(Page(), id, stored->c_str());
    SendDlgItemMessageA(Page(), id, EM_SETSEL, stored->size(), stored->size());
    loading = false;
    MessageBoxA(Page(), InformerText(fault == INFORMER_LINE_FIELD_MARK ? INF_STR_FIELDMARK : INF_STR_TOOLONG).c_str(),
                InformerDisplayName(plugin.languageFile.c_str()).c_str(), MB_OK | MB_ICONWARNING);
    return false;
}

// A field of the selected informer was changed by the user.
void FieldChanged(int id) {
    Informer* informer = SelectedInformer();
    if (loading || !informer) return;
    Informer& i = *informer;
    if (!TypedTextFits(i, id)) return;
    switch (id) {
    case IDC_NAME: {
        std::string name = ControlText(IDC_NAME);
        // A line without a name would be dropped: the old name stays meanwhile.
        if (name.empty()) return;
        RenameInformer(i, name);
        int index = Selected();
        loading = true;
        SendDlgItemMessageA(Page(), IDC_INFLIST, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        SendDlgItemMessageA(Page(), IDC_INFLIST, LB_INSERTSTRING, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(name.c_str()));
        SendDlgItemMessageA(Page(), IDC_INFLIST, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        loading = false;
        break;
    }
    case IDC_ENABLED: i.enabled = Checked(IDC_ENABLED) ? 1 : 0; break;
    case IDC_KIND:
        i.kind = Combo(IDC_KIND) < 0 ? i.kind : Combo(IDC_KIND);
        i.pending.clear();
        ShowInformer();
        break;
    case IDC_URL:
        i.url = ControlText(IDC_URL);
        i.pending.clear();
        break;
    case IDC_POSX: i.x = ControlInt(IDC_POSX); break;
    case IDC_POSY: i.y = ControlInt(IDC_POSY); break;
    case IDC_ANCHOR: i.anchor = Combo(IDC_ANCHOR) < 0 ? 0 : Combo(IDC_ANCHOR); break;
    case IDC_WIDTH: i.width = ControlInt(IDC_WIDTH); break;
    case IDC_HEIGHT: i.height = ControlInt(IDC_HEIGHT); break;
    case IDC_ASPECT: i.aspect = Combo(IDC_ASPECT) < 0 ? 0 : Combo(IDC_ASPECT); break;
    case IDC_TRANS:
        i.transparency = static_cast<int>(SendDlgItemMessageA(Page(), IDC_TRANS, TBM_GETPOS, 0, 0));
        ShowTransparency(i.transparency);
        break;
    case IDC_COLOURKEY: i.colourKey = Checked(IDC_COLOURKEY) ? 1 : 0; break;
    case IDC_KEYSOURCE: i.keySource = Combo(IDC_KEYSOURCE) < 0 ? 0 : Combo(IDC_KEYSOURCE); break;
    case IDC_TOLERANCE: i.tolerance = static_cast<unsigned char>(ControlInt(IDC_TOLERANCE)); break;
    case IDC_RANDOM:
        i.random = Checked(IDC_RANDOM) ? 1 : 0;
        i.pending.clear();
        break;
    case IDC_ADVANCE: i.advanceOnFetch = Checked(IDC_ADVANCE) ? 1 : 0; break;
    case IDC_CALSCALE: i.calendarScale = static_cast<unsigned char>(ControlInt(IDC_CALSCALE)); break;
    case IDC_CALMONTH: i.month = ControlText(IDC_CALMONTH); break;
    case IDC_CALYEAR: i.year = ControlText(IDC_CALYEAR); break;
    default: return;
    }
    if (!placing) SaveInformers();
}

std::string UniqueName() {
    std::string base = InformerText(INF_STR_NEWNAME);
    for (int n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        bool taken = false;
        for (const Informer& informer : plugin.informers) taken = taken || informer.name == name;
        if (!taken) return name;
    }
}

void AddInformer() {
    if (!InformersReadable()) return;
    Informer informer;
    informer.name = UniqueName();
    plugin.informers.push_back(informer);
    SaveInformers();
    FillList(static_cast<int>(plugin.informers.size()) - 1);
    HWND name = GetDlgItem(Page(), IDC_NAME);
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, -1);
}

void DeleteInformer() {
    int index = Selected();
    if (index < 0 || !InformersReadable()) return;
    plugin.informers.erase(plugin.informers.begin() + index);
    SaveInformers();
    FillList(index);
}

void Place() {
    Informer* informer = SelectedInformer();
    if (!informer) return;
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    std::string settings = plugin.settingsFile;
    if (!GetKeyYes(settings.c_str(), "set", "KvUspz")) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    s_placefunc request = {2, Page(), IDC_POSX, IDC_POSY, IDC_ANCHOR, (area.right - area.left) / 4,
                           (area.bottom - area.top) / 4};
    placing = true;
    HostService(KvSrvPlace, &request);
    placing = false;
    informer = SelectedInformer();
    if (!informer) return;
    informer->x = ControlInt(IDC_POSX);
    informer->y = ControlInt(IDC_POSY);
    SaveInformers();
    if (informer->enabled) HostUpdateWallpaper();
}

void Browse() {
    Informer* informer = SelectedInformer();
    if (!informer) return;
    INT_PTR chosen = 0;
    if (informer->kind == INFORMER_FOLDER) {
        std::string prompt = InformerText(INF_STR_CHOOSEFOLDER);
        std::string start = Expanded(informer->url);
        s_selfolder request = {Page(), start.empty() ? nullptr : &start[0], &prompt[0]};
        chosen = HostService(KvSrvChooseFolder, &request);
    } else {
        std::string filter = Filter(INF_STR_FILEFILTER), title = InformerText(INF_STR_CHOOSEFILE);
        char none[] = "";
        s_selfile request = {Page(), &filter[0], &title[0], none, 1};
        chosen = HostService(KvSrvChooseFile, &request);
    }
    HeapString path(reinterpret_cast<char*>(chosen));
    if (path) SetDlgItemTextA(Page(), IDC_URL, path.get());
}

void BrowseBrowser() {
    std::string filter = Filter(INF_STR_PROGRAMFILTER), title = InformerText(INF_STR_CHOOSEFILE);
    char none[] = "";
    s_selfile request = {Page(), &filter[0], &title[0], none, 1};
    HeapString path(reinterpret_cast<char*>(HostService(KvSrvChooseFile, &request)));
    if (path) SetDlgItemTextA(Page(), IDC_BROWSER, path.get());
}

void InsertBody() {
    Informer* informer = SelectedInformer();
    if (!informer || informer->kind != INFORMER_HTML) return;
    SetDlgItemTextA(Page(), IDC_HTML, (kBodyText + ControlText(IDC_HTML)).c_str());
    SaveHtml(*informer);
}

void ResetAll() {
    if (!ResetInformers()) return;
    FillList(0);
    MessageBoxA(Page(), LanguageText("STRING", 20).c_str(), "Information", MB_OK | MB_ICONINFORMATION);
}

void StartPick() {
    picking = true;
    SetCapture(Page());
    SetCursor(LoadCursor(nullptr, IDC_HAND));
}

void EndPick() {
    if (!picking) return;
    picking = false;
    if (GetCapture() == Page()) ReleaseCapture();
    const Informer* informer = SelectedInformer();
    SetColourText(Page(), IDC_PICKCOLOUR, informer ? static_cast<COLORREF>(informer->keyColour) : 0);
}

COLORREF ColourUnderMouse() {
    POINT at;
    GetCursorPos(&at);
    ScopedGetDC screen(nullptr);
    COLORREF colour = GetPixel(screen, at.x, at.y);
    return colour == CLR_INVALID ? 0 : colour;
}

void PickAt() {
    COLORREF colour = ColourUnderMouse();
    Informer* informer = SelectedInformer();
    picking = false;
    if (GetCapture() == Page()) ReleaseCapture();
    if (informer && informer->keySource == 5) {
        informer->keyColour = static_cast<int>(colour);
        SaveInformers();
    }
    SetColourText(Page(), IDC_PICKCOLOUR, informer ? static_cast<COLORREF>(informer->keyColour) : 0);
}

void DrawPreview(const DRAWITEMSTRUCT* item) {
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
    if (!preview) return;
    BITMAP info;
    if (!GetObjectA(preview, sizeof info, &info)) return;
    ScopedMemoryDC memory(item->hDC);
    ScopedSelectObject selected(memory, preview);
    int width = item->rcItem.right - item->rcItem.left, height = item->rcItem.bottom - item->rcItem.top;
    BitBlt(item->hDC, item->rcItem.left + (width - info.bmWidth) / 2, item->rcItem.top + (height - info.bmHeight) / 2,
           info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
}

INT_PTR CALLBACK BorderFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const Informer* informer = reinterpret_cast<const Informer*>(lParam);
        SetWindowTextA(dialog, InformerText(INF_STR_BORDERCAPTION).c_str());
        for (int id : {IDC_BORDERON, IDC_BORDERCOLOURTEXT, IDC_BORDERWIDTHTEXT, IDCANCEL})
            SetDlgItemTextA(dialog, id, InformerText(id == IDCANCEL ? INF_STR_CANCEL : id).c_str());
        CheckDlgButton(dialog, IDC_BORDERON, informer->border ? BST_CHECKED : BST_UNCHECKED);
        SetColourText(dialog, IDC_BORDERCOLOUR, static_cast<COLORREF>(informer->borderColour));
        SetDlgItemInt(dialog, IDC_BORDERWIDTH, static_cast<UINT>(informer->borderThickness), TRUE);
        return TRUE;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_BORDERCOLOUR) return FALSE;
        PainColorButton(item->hDC, &item->rcItem, dialog, IDC_BORDERCOLOUR);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_BORDERCOLOUR:
            ColorSelect(nullptr, nullptr, dialog, IDC_BORDERCOLOUR, nullptr);
            return TRUE;
        case IDOK: {
            Informer* informer = reinterpret_cast<Informer*>(GetWindowLongPtrA(dialog, DWLP_USER));
            char text[16] = "";
            GetDlgItemTextA(dialog, IDC_BORDERCOLOUR, text, sizeof text);
            informer->border = IsDlgButtonChecked(dialog, IDC_BORDERON) == BST_CHECKED ? 1 : 0;
            informer->borderColour = static_cast<int>(strtoul(text, nullptr, 10));
            GetDlgItemTextA(dialog, IDC_BORDERWIDTH, text, sizeof text);
            informer->borderThickness = ParseIntClamped(text, strlen(text));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void EditBorder() {
    Informer* informer = SelectedInformer();
    if (!informer) return;
    Informer edited = *informer;
    if (DialogBoxParamA(PluginModule(), MAKEINTRESOURCEA(IDD_BORDER), Page(), BorderFunc,
                        reinterpret_cast<LPARAM>(&edited)) != IDOK)
        return;
    informer = SelectedInformer();
    if (!informer) return;
    informer->border = edited.border;
    informer->borderColour = edited.borderColour;
    informer->borderThickness = edited.borderThickness;
    SaveInformers();
}

void UpdateSelected() {
    int index = Selected();
    if (index >= 0) UpdateInformers({static_cast<size_t>(index)}, true);
}

void SearchTown() {
    std::string gismeteo, rp5;
    SearchTowns(ControlText(IDC_TOWNNAME), gismeteo, rp5);
    loading = true;
    if (!gismeteo.empty()) SetDlgItemTextA(Page(), IDC_TOWNGIS, gismeteo.c_str());
    if (!rp5.empty()) SetDlgItemTextA(Page(), IDC_TOWNRP5, rp5.c_str());
    loading = false;
}

bool Command(WORD id, WORD code) {
    switch (id) {
    case IDC_INFLIST:
        if (code == LBN_SELCHANGE && !loading) ShowInformer();
        return true;
    case IDC_DRAWINFORM:
        if (code == BN_CLICKED && !loading && Checked(IDC_DRAWINFORM) != DrawingOn()) ToggleDrawing();
        return true;
    case IDC_NAME: case IDC_URL: case IDC_POSX: case IDC_POSY: case IDC_WIDTH: case IDC_HEIGHT:
    case IDC_TOLERANCE: case IDC_CALSCALE: case IDC_CALMONTH: case IDC_CALYEAR:
        if (code == EN_CHANGE) FieldChanged(id);
        return true;
    case IDC_KIND: case IDC_ANCHOR: case IDC_ASPECT: case IDC_KEYSOURCE:
        if (code == CBN_SELCHANGE) FieldChanged(id);
        return true;
    case IDC_ENABLED: case IDC_COLOURKEY: case IDC_RANDOM: case IDC_ADVANCE:
        if (code == BN_CLICKED) FieldChanged(id);
        return true;
    case IDC_HTML:
        if (code == EN_KILLFOCUS && !loading && SelectedInformer()) SaveHtml(*SelectedInformer());
        return true;
    case IDC_BROWSER:
        if (code == EN_CHANGE && !loading) WriteSetting("KvBrowser", TrimBlanks(ControlText(IDC_BROWSER)));
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_ADD: AddInformer(); break;
    case IDC_DELETE: DeleteInformer(); break;
    case IDC_UPDATEONE: UpdateSelected(); break;
    case IDC_UPDATEALL: UpdateInformers(EnabledInformers(), true); break;
    case IDC_RESET: ResetAll(); break;
    case IDC_BROWSE: Browse(); break;
    case IDC_PLACE: Place(); break;
    case IDC_PICK: StartPick(); break;
    case IDC_BODYBUTTON: InsertBody(); break;
    case IDC_BORDERBUTTON: EditBorder(); break;
    case IDC_WEATHERUPDATE:
        UpdateWeatherPages(PageGismeteoTown(), PageRp5Town());
        OpenWeatherIndex();
        break;
    case IDC_WEATHEROPEN:
        WriteWeatherIndex();
        OpenWeatherIndex();
        break;
    case IDC_TOWNSEARCH: SearchTown(); break;
    case IDC_BROWSERBROWSE: BrowseBrowser(); break;
    default: return false;
    }
    return true;
}

void ApplyTexts(HWND page) {
    for (int id : kTextControls) SetDlgItemTextA(page, id, InformerText(id).c_str());
    for (const ComboTexts& combo : kCombos) {
        SendDlgItemMessageA(page, combo.control, CB_RESETCONTENT, 0, 0);
        for (int n = 0; n < combo.count; ++n)
            SendDlgItemMessageA(page, combo.control, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(InformerText(combo.first + n).c_str()));
    }
    SendDlgItemMessageA(page, IDC_TRANS, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
}

INT_PTR CALLBACK PageFunc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        plugin.page = page;
        loading = true;
        ApplyTexts(page);
        loading = false;
        ShowInformer();
        return FALSE;
    case WM_COMMAND:
        return Command(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_TRANS) && !loading) FieldChanged(IDC_TRANS);
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_PREVIEW) DrawPreview(item);
        else if (item->CtlID == IDC_PICKCOLOUR) PainColorButton(item->hDC, &item->rcItem, page, IDC_PICKCOLOUR);
        else return FALSE;
        return TRUE;
    }
    case WM_MOUSEMOVE:
        if (picking) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            SetColourText(page, IDC_PICKCOLOUR, ColourUnderMouse());
        }
        return TRUE;
    case WM_LBUTTONDOWN:
        if (picking) PickAt();
        return TRUE;
    case WM_RBUTTONDOWN:
        EndPick();
        return TRUE;
    case WM_CAPTURECHANGED:
        if (picking && reinterpret_cast<HWND>(lParam) != page) EndPick();
        return TRUE;
    case WM_DESTROY:
        if (plugin.page == page) plugin.page = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

HWND CreateInformerPage(HWND panel) {
    return CreateDialogParamA(PluginModule(), MAKEINTRESOURCEA(IDD_INFORMER), panel, PageFunc, 0);
}

void LoadInformerPage() {
    LoadInformers();
    if (!Page()) return;
    loading = true;
    SetCheck(IDC_DRAWINFORM, DrawingOn());
    SetDlgItemTextA(Page(), IDC_TOWNGIS, ReadSetting("KvTownNum").c_str());
    SetDlgItemTextA(Page(), IDC_TOWNRP5, ReadSetting("KvTownNum2").c_str());
    SetDlgItemTextA(Page(), IDC_BROWSER, ReadSetting("KvBrowser").c_str());
    loading = false;
    for (int id : kToolTipControls) {
        s_addtooltip request = {Page(), id, id};
        HostService(KvSrvAddToolTip, &request);
    }
    FillList(0);
}

void ShowDrawingOnPage(bool on) {
    if (!Page()) return;
    loading = true;
    SetCheck(IDC_DRAWINFORM, on);
    loading = false;
}

void RefreshPagePreview() {
    if (!Page()) return;
    HWND control = GetDlgItem(Page(), IDC_PREVIEW);
    Informer* informer = SelectedInformer();
    void* picture = nullptr;
    SIZE size = {};
    if (informer && informer->kind != INFORMER_CALENDAR) {
        std::string path = InformerPicturePath(*informer, false);
        if (!path.empty()) picture = HostLoadPicture(path, &size);
    }
    if (picture) {
        // The host fits the picture to the control and releases it.
        s_imgtosmallbmp request = {control, &preview, picture, &size};
        HostService(KvSrvPreviewBitmap, &request);
    } else if (preview) {
        DeleteObject(preview);
        preview = nullptr;
    }
    InvalidateRect(control, nullptr, TRUE);
}

void ReleasePageResources() {
    EndPick();
    if (preview) DeleteObject(preview);
    preview = nullptr;
}

std::string PageGismeteoTown() {
    return Page() ? TrimBlanks(ControlText(IDC_TOWNGIS)) : TrimBlanks(ReadSetting("KvTownNum"));
}

std::string PageRp5Town() {
    return Page() ? TrimBlanks(ControlText(IDC_TOWNRP5)) : TrimBlanks(ReadSetting("KvTownNum2"));
}
