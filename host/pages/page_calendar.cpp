#include "pages/page_calendar.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/control_values.h"
#include "base/globals.h"
#include "base/main_menu_state.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/font_dialog.h"
#include "dialogs/place_dialog.h"
#include "engine/change_cycle.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/wallpaper_options.h"
#include "pages/calendar_presets.h"
#include "pages/page_general.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "pages/tooltips.h"
#include "ids_calendar.h"
#include "ids_wall.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"


namespace {

// Check boxes and their keys; "on by default" ones are stored when cleared.
struct Flag {
    int control;
    const char* key;
    bool defaultOn;
};
const Flag kFlags[] = {
    {IDDRMON, "KvDrMon", false},         {IDDRPREVMON, "KvDrPrevMon", false}, {IDDRNEXTMON, "KvDrNextMon", false},
    {IDISVDEL, "KvIsVDel", false},       {IDCHECKFON, "KvCheckFon", false},   {IDROUND, "KvRound", false},
    {IDKAIMA, "KvKaima", false},         {IDCOLYCH, "KvColYCh", false},       {IDCOLMCH, "KvColMCh", false},
    {IDCOLDNCH, "KvColDnCh", false},     {IDCOLWCH, "KvColWCh", false},       {IDCOLCHCH, "KvColChCh", false},
    {IDCHECKDATE, "KvCheckDate", true},  {IDKAIMADATE, "KvKaimaDate", false}, {IDCHECKOBJ, "KvCheckObj", true},
};

struct Colour {
    int control;
    const char* key;
    COLORREF fallback;
};
const Colour kColours[] = {
    {IDCOLFON, "KvColFon", 0xC0C0C0},    {IDCOLBOTH, "KvColBoth", 0xFFFF00},      {IDCOLKAIMBOTH, "KvColKaimBoth", 0},
    {IDCOLY, "KvColY", 0x8080FF},        {IDCOLM, "KvColM", 0xFF8000},            {IDCOLDN, "KvColDn", 0x40FF00},
    {IDCOLW, "KvColW", 0xFF80FF},        {IDCOLCH, "KvColCh", 0xFFBFBF},          {IDCOLDATE, "KvColDate", 0x00FFFF},
    {IDCOLKAIMDATE, "KvColKaimDate", 0}, {IDCOLOBJECT, "KvColObject", 0xFF0000},
};

struct Combo {
    int control;
    const char* key;
    int fallback;
};
const Combo kCombos[] = {
    {IDTYPE, "KvType", 0},         {IDREGISTR, "KvRegistr", 0},     {IDPLACEYM, "KvPlaceYM", 0},
    {IDPLAIN, "KvPlain", 0},       {IDPLAIN1, "KvPlain1", 1},       {IDOBJECTVID, "KvObjectVid", 0},
    {IDCFUP, "KvCfUp", 0},         {IDUPDATEDATE, "KvUpdateDate", 0}, {IDREVCOL, "KvRevCol", 0},
};

// Number fields: key, limits (the lower one is applied when the field is left).
struct Number {
    int control;
    const char* key;
    int low;
    int high;
    int fallback;
};
const Number kNumbers[] = {
    {IDOJECTKOL, "KvOjectKol", 3, 10, 3},
    {IDOJECTPEN, "KvOjectPen", 0, 50, 0},
    {IDOJECTANGL, "KvOjectAngl", 0, 360, 0},
    {IDVDEL, "KvVDel", 0, 10000, 0},
};

const char* const kMonthKeys[3] = {"KvMonthPrev", "KvMonth", "KvMonthNext"};
const int kSizeEntries = 15;
const int kAlphaMax = 10;

// Tool tips of the page (section "TOOLTIP").
const int kPlaceTip = 60, kImportTip = 61, kExportTip = 62, kFontTip = 63;
// Titles of the settings exchange dialogs (section "TOOLTIP").
const int kExportTitle = 21, kImportTitle = 27;      // section "TOOLTIP"
const int kPresetNotExported = 67, kPresetHoldsNoCalendar = 68;  // section "STRING"
const char kSettingsFilter[] = "Dravonex Settings (*.set)\0*.set\0";

// Filling the fields from a file or a record must not store them back.
bool showingRecord = false;
bool loadingPage = false;

const Flag* FindFlag(int control) {
    for (const Flag& flag : kFlags)
        if (flag.control == control) return &flag;
    return nullptr;
}
const Colour* FindColour(int control) {
    for (const Colour& colour : kColours)
        if (colour.control == control) return &colour;
    return nullptr;
}
const Combo* FindCombo(int control) {
    for (const Combo& combo : kCombos)
        if (combo.control == control) return &combo;
    return nullptr;
}
const Number* FindNumber(int control) {
    for (const Number& number : kNumbers)
        if (number.control == control) return &number;
    return nullptr;
}

int SelectedRecord() {
    const int index = ComboIndex(hCalen, IDMONTHSEL, KV_MONTH_CURRENT);
    return std::min(std::max(index, 0), 2);
}

// The chosen record's x, y and size in their fields.
void ShowRecord() {
    const s_month& record = sMonth[SelectedRecord()];
    showingRecord = true;
    SetDlgItemInt(hCalen, IDMONTHX, static_cast<UINT>(record.x), TRUE);
    SetDlgItemInt(hCalen, IDMONTHY, static_cast<UINT>(record.y), TRUE);
    SendDlgItemMessageA(hCalen, IDMONTHSIZE, CB_SETCURSEL, record.size, 0);
    showingRecord = false;
}

void StoreRecordFields() {
    const int index = SelectedRecord();
    sMonth[index].x = NumberOf(hCalen, IDMONTHX, sMonth[index].x);
    sMonth[index].y = NumberOf(hCalen, IDMONTHY, sMonth[index].y);
    const int size = ComboIndex(hCalen, IDMONTHSIZE, sMonth[index].size);
    sMonth[index].size = static_cast<unsigned char>(std::min(std::max(size, 0), kSizeEntries - 1));
    SaveMonth(index);
}

void ShowAlpha(int trackbar, int valueControl) {
    char text[16];
    const int tenths = static_cast<int>(SendDlgItemMessageA(hCalen, trackbar, TBM_GETPOS, 0, 0));
    snprintf(text, sizeof text, "%d %%", tenths * 10);
    SetDlgItemTextA(hCalen, valueControl, text);
}

// Typed numbers: the upper limit at once, the lower one when the field is
// left (a first digit below it may still become a valid number).
void OnNumber(const Number& number, int notification) {
    if (!startProgress || loadingPage) return;
    BOOL valid = FALSE;
    int value = static_cast<int>(GetDlgItemInt(hCalen, number.control, &valid, TRUE));
    if (notification == EN_CHANGE) {
        if (!valid) return;
        if (value > number.high) {
            SetDlgItemInt(hCalen, number.control, static_cast<UINT>(number.high), TRUE);
            return;  // the new text stores itself
        }
        SetValueKeySetInt(number.key, std::max(value, number.low));
    } else if (notification == EN_KILLFOCUS) {
        if (!valid || value < number.low) SetDlgItemInt(hCalen, number.control, static_cast<UINT>(number.low), TRUE);
    }
}

// Places the chosen calendar with the mouse over its box.
void PlaceCalendar() {
    const int index = SelectedRecord();
    SYSTEMTIME today = loctime;
    if (!today.wYear) GetLocalTime(&today);
    s_month record = sMonth[index];
    record.imonth = today.wMonth;
    record.iyear = today.wYear;
    ShiftMonth(&record.imonth, &record.iyear, index - 1);
    RECT box;
    if (!GetParamMonth2(&box, &record, CurrentCalendarContext())) return;
    s_placefunc place = {1, hCalen, IDMONTHX, IDMONTHY, 0, box.right - box.left, box.bottom - box.top};
    RunPlaceDialog(&place);
    sMonth[index].x = NumberOf(hCalen, IDMONTHX, sMonth[index].x);
    sMonth[index].y = NumberOf(hCalen, IDMONTHY, sMonth[index].y);
    SaveMonth(index);
    ToWall(1);
}

void OnCommand(HWND page, int control, int notification) {
    if (const Flag* flag = FindFlag(control)) {
        if (notification != BN_CLICKED) return;
        if (flag->defaultOn) KeyTipCheckedSet(page, control, flag->key);
        else KeyTipUnCheckedSet(page, control, flag->key);
        if (control == IDDRMON) CheckMainMenuItem(IDPCALEN, IsChecked(hCalen, IDDRMON));
        return;
    }
    if (const Colour* colour = FindColour(control)) {
        if (notification == BN_CLICKED) ColorSelectSet(page, control, colour->key);
        return;
    }
    if (const Combo* combo = FindCombo(control)) {
        ComboBoxKeySet(notification, page, control, combo->key);
        return;
    }
    if (const Number* number = FindNumber(control)) {
        OnNumber(*number, notification);
        return;
    }
    switch (control) {
        case IDMONTHSEL:
            if (notification == CBN_SELCHANGE) ShowRecord();
            break;
        case IDMONTHX:
        case IDMONTHY:
            if (notification == EN_CHANGE && startProgress && !showingRecord) StoreRecordFields();
            break;
        case IDMONTHSIZE:
            if (notification == CBN_SELCHANGE && !showingRecord) StoreRecordFields();
            break;
        case IDFONTBOX:
            if (notification == BN_CLICKED)
                ChooseFontForMy(".set", "set", page, IDFONTBOX, "KvStyle", "KvCharset", "KvFontBox", 1);
            break;
        case IDPLACEMONTH:
            if (notification == BN_CLICKED) PlaceCalendar();
            break;
        case IDLOADSET:
            if (notification == BN_CLICKED) LoadSettingCalen();
            break;
        case IDSAVESET:
            if (notification == BN_CLICKED) SaveSettingCalen();
            break;
        default:
            break;
    }
}

bool IsHeading(int id) { return id == IDCALHEAD || id == IDTEXTHEAD || id == IDTODAYHEAD || id == IDPLATEHEAD; }

}  // namespace

std::string MonthRecordText(const s_month& record) {
    char text[64];
    snprintf(text, sizeof text, "%d %d %hd", record.x, record.y, static_cast<short>(record.size));
    return text;
}

s_month ParseMonthRecord(const char* text) {
    s_month record = {1, 1, 4, 0, 0};
    if (!text) return record;
    int x = 1, y = 1;
    short size = 4;
    const int fields = sscanf(text, "%d %d %hd", &x, &y, &size);
    if (fields >= 1) record.x = x;
    if (fields >= 2) record.y = y;
    if (fields >= 3) record.size = static_cast<unsigned char>(std::min(std::max<int>(size, 0), kSizeEntries - 1));
    return record;
}

void SaveMonth(int index) {
    if (index < 0 || index > 2) return;
    SetValueKeySet(kMonthKeys[index], MonthRecordText(sMonth[index]).c_str());
}

void PrepareCalendarPage() {
    HWND enlarge = GetDlgItem(hCalen, IDCFUP);
    SendMessageA(enlarge, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i <= 10; ++i) {
        char text[16];
        snprintf(text, sizeof text, "%.1f", 1.0 + i / 10.0);
        SendMessageA(enlarge, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    HWND size = GetDlgItem(hCalen, IDMONTHSIZE);
    SendMessageA(size, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kSizeEntries; ++i) {
        char text[16];
        snprintf(text, sizeof text, "1:%.1f", 1.0 + i / 2.0);
        SendMessageA(size, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    // Ten tenths: a stored 10 (nothing drawn) stays what it is.
    for (int trackbar : {IDCALALPHA, IDALPHATEXT}) {
        SendDlgItemMessageA(hCalen, trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, kAlphaMax));
        SendDlgItemMessageA(hCalen, trackbar, TBM_SETPAGESIZE, 0, 1);
    }
    for (int field : {IDOJECTKOL, IDOJECTPEN}) SendDlgItemMessageA(hCalen, field, EM_LIMITTEXT, 2, 0);
    SendDlgItemMessageA(hCalen, IDOJECTANGL, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageA(hCalen, IDVDEL, EM_LIMITTEXT, 4, 0);
    for (int field : {IDMONTHX, IDMONTHY}) SendDlgItemMessageA(hCalen, field, EM_LIMITTEXT, 6, 0);
    AddToolTip(GetDlgItem(hCalen, IDPLACEMONTH), IDPLACEMONTH, kPlaceTip);
    AddToolTip(GetDlgItem(hCalen, IDLOADSET), IDLOADSET, kImportTip);
    AddToolTip(GetDlgItem(hCalen, IDSAVESET), IDSAVESET, kExportTip);
    AddToolTip(GetDlgItem(hCalen, IDFONTBOX), IDFONTBOX, kFontTip);
}

void ApplyCalendarPageTexts() {
    SetControlTexts(hCalen, "CALEN", 10700, 10735);
    SetControlTexts(hCalen, "CALEN", IDLOADSET, IDSAVESET);
    for (int label : {IDPLATEHEAD, IDALPHALABEL, IDALPHATEXTLABEL, IDVDELTEXT})
        SetDlgItemTextA(hCalen, label, Priv(label, "CALEN", ini));
    FillComboFromLanguage(hCalen, IDTYPE, "CALEN", 0, 1);
    FillComboFromLanguage(hCalen, IDOBJECTVID, "CALEN", 10, 15);
    FillComboFromLanguage(hCalen, IDREGISTR, "CALEN", 20, 22);
    FillComboFromLanguage(hCalen, IDMONTHSEL, "CALEN", 30, 32);
    FillComboFromLanguage(hCalen, IDPLAIN, "CALEN", 40, 42);
    FillComboFromLanguage(hCalen, IDPLAIN1, "CALEN", 40, 42);
    FillComboFromLanguage(hCalen, IDPLACEYM, "CALEN", 50, 52);
    FillComboFromLanguage(hCalen, IDUPDATEDATE, "CALEN", 60, 61);
    SendDlgItemMessageA(hCalen, IDUPDATEDATE, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("-"));
    FillComboFromLanguage(hCalen, IDREVCOL, "CALEN", 70, 72);
    SendDlgItemMessageA(hCalen, IDMONTHSEL, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageA(hCalen, IDUPDATEDATE, CB_SETCURSEL, 1, 0);
    for (int i = 0; i < 7; ++i) weekDay[i] = Priv(10 + i, "MAIN", ini);
    for (int i = 0; i < 12; ++i) monthName[i] = Priv(20 + i, "MAIN", ini);
}

void SettingCalen() {
    HeapString file(SetUsetExtenPath(".set"));
    SettingCalen(file.get());
}

void SettingCalen(const char* file) {
    if (!hCalen || !file) return;
    loadingPage = true;
    for (const Flag& flag : kFlags) {
        const bool present = GetKeyYes(file, "set", flag.key) != 0;
        CheckDlgButton(hCalen, flag.control, (flag.defaultOn ? !present : present) ? BST_CHECKED : BST_UNCHECKED);
    }
    for (const Colour& colour : kColours) {
        char text[16];
        const COLORREF value =
            static_cast<COLORREF>(GetKeyInt(file, "set", colour.key, static_cast<int>(colour.fallback)));
        snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value & 0xFFFFFF));
        SetDlgItemTextA(hCalen, colour.control, text);
        InvalidateRect(GetDlgItem(hCalen, colour.control), nullptr, TRUE);
    }
    for (const Combo& combo : kCombos) {
        const int count = static_cast<int>(SendDlgItemMessageA(hCalen, combo.control, CB_GETCOUNT, 0, 0));
        int index = GetKeyInt(file, "set", combo.key, combo.fallback);
        if (index < 0 || index >= count) index = combo.fallback;
        SendDlgItemMessageA(hCalen, combo.control, CB_SETCURSEL, index, 0);
    }
    for (const Number& number : kNumbers) {
        int value = GetKeyInt(file, "set", number.key, number.fallback);
        value = std::min(std::max(value, number.low), number.high);
        SetDlgItemInt(hCalen, number.control, static_cast<UINT>(value), TRUE);
    }
    const struct {
        int trackbar, value;
        const char* key;
        int fallback;
    } alphas[] = {{IDCALALPHA, IDALPHAVALUE2, "KvAlpha", 5}, {IDALPHATEXT, IDALPHATEXTVALUE, "KvAlphaText", 0}};
    for (const auto& alpha : alphas) {
        const int tenths = std::min(std::max(GetKeyInt(file, "set", alpha.key, alpha.fallback), 0), kAlphaMax);
        SendDlgItemMessageA(hCalen, alpha.trackbar, TBM_SETPOS, TRUE, tenths);
        ShowAlpha(alpha.trackbar, alpha.value);
    }
    HeapString face(GetKey(file, "set", "KvFontBox", "MS Sans Serif"));
    CreateFontBox(hCalen, IDFONTBOX, face ? face.get() : "MS Sans Serif", GetKeyInt(file, "set", "KvStyle", 0),
                  GetKeyInt(file, "set", "KvCharset", 204));
    for (int i = 0; i < 3; ++i) {
        HeapString text(GetKey(file, "set", kMonthKeys[i], "1 1 4"));
        sMonth[i] = ParseMonthRecord(text.get());
    }
    ShowRecord();
    loadingPage = false;
    CheckMainMenuItem(IDPCALEN, IsChecked(hCalen, IDDRMON));
}

// Names the file and what went wrong; the page stays as it was.
void TellPresetFailure(int text, const char* file) {
    const std::string message = std::string(Priv(text, "STRING", ini)) + "\r\n\r\n" + file;
    MessageBoxA(hMain, message.c_str(), "Dravonel", MB_OK | MB_ICONWARNING);
}

void SaveSettingCalen() {
    HeapString target(OpenSingleFileDialog(hCalen, kSettingsFilter, Priv(kExportTitle, "TOOLTIP", ini), ".set", 0));
    if (!target) return;
    HeapString user(SetUsetExtenPath(".set"));
    if (!CopyKeyFile2File(user.get(), target.get())) TellPresetFailure(kPresetNotExported, target.get());
}

void LoadSettingCalen() {
    HeapString source(OpenSingleFileDialog(hCalen, kSettingsFilter, Priv(kImportTitle, "TOOLTIP", ini), ".set", 1));
    if (!source) return;
    // A failed save into the settings file is told by the store.
    if (ImportCalendarSettings(source.get()) == PresetImport::NoCalendarKeys)
        TellPresetFailure(kPresetHoldsNoCalendar, source.get());
}

PresetImport ImportCalendarSettings(const char* file) {
    HeapString user(SetUsetExtenPath(".set"));
    const PresetImport result = ImportCalendarKeys(file, user.get());
    // What did reach the file is shown; a write the store keeps for later
    // changed nothing yet.
    if (result == PresetImport::Imported) SettingCalen(user.get());
    return result;
}

INT_PTR CALLBACK CalenFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_HSCROLL: {
            HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar == GetDlgItem(hwnd, IDCALALPHA)) {
                SetValueKeySetInt("KvAlpha", static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0)));
                ShowAlpha(IDCALALPHA, IDALPHAVALUE2);
            } else if (bar == GetDlgItem(hwnd, IDALPHATEXT)) {
                SetValueKeySetInt("KvAlphaText", static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0)));
                ShowAlpha(IDALPHATEXT, IDALPHATEXTVALUE);
            }
            return TRUE;
        }
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (FindColour(static_cast<int>(item->CtlID)))
                PainColorButton(item->hDC, &item->rcItem, hwnd, static_cast<int>(item->CtlID));
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            if (!IsHeading(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)))) return FALSE;
            return PaintHeading(wParam);
        }
        default:
            return FALSE;
    }
}
