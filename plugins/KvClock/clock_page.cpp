// The clock's settings page: every option and its key, the four show and
// print switches, the timer that drives both clocks.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "clock_face.h"
#include "clock_ids.h"
#include "clock_plugin.h"
#include "createpathfile.h"
#include "dravonel_plugin.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "system_programs.h"

namespace {

const char kSet[] = "set";
const char kColourSection[] = "digitalclock";
const char kNoSkin[] = "<no>";
const char* const kSkinExtensions[] = {"gif", "bmp", "ico", "jpg", "jpeg", "emf", "wmf", "png"};

struct ColourButton {
    int id;
    const char* key;
    COLORREF ClockOptions::*field;
    bool dial;  // part of the dial bitmap
};
const ColourButton kColourButtons[] = {
    {IDC_COLRIM, "KvClColObd", &ClockOptions::rimColour, true},
    {IDC_COLMARK, "KvClColDel", &ClockOptions::markColour, true},
    {IDC_COLBOTTOM, "KvClColBottom", &ClockOptions::bottomColour, true},
    {IDC_COLHOUR, "KvClColHour", &ClockOptions::hourColour, false},
    {IDC_COLMIN, "KvClColMin", &ClockOptions::minuteColour, false},
    {IDC_COLSEC, "KvClColSec", &ClockOptions::secondColour, false},
};

// Switches that are on by default: their key exists only while they are off.
struct OnSwitch {
    int id;
    const char* key;
    bool ClockOptions::*field;
    bool dial;
};
const OnSwitch kOnSwitches[] = {
    {IDC_RIMSHOW, "KvClObdShow", &ClockOptions::rim, true},
    {IDC_MARKSHOW, "KvClDelShow", &ClockOptions::marks, true},
    {IDC_HOURSHOW, "KvClHourShow", &ClockOptions::hourHand, false},
    {IDC_MINSHOW, "KvClMinShow", &ClockOptions::minuteHand, false},
    {IDC_SECSHOW, "KvClSecShow", &ClockOptions::secondHand, false},
    {IDC_ANALOGTOP, "KvClTopMost", &ClockOptions::analogTop, false},
    {IDC_DIGITALTOP, "KvClTopMost1", &ClockOptions::digitalTop, false},
};

struct TextField {
    int id;
    const char* key;
    std::string ClockOptions::*field;
    const char* fallback;
};
const TextField kTextFields[] = {
    {IDC_FORMAT, "KvClFormat", &ClockOptions::format, kDefaultClockFormat},
    {IDC_TIMEPICTURE, "KvTimeF", &ClockOptions::timePicture, "HH:mm:ss"},
    {IDC_WEEKDAYPICTURE, "KvDatewF", &ClockOptions::weekdayPicture, "dddd"},
    {IDC_DATEPICTURE, "KvDateF", &ClockOptions::datePicture, "dd MMMM yyyy"},
};

const int kTextedFirst = IDC_ANALOGHEAD, kTextedLast = IDC_DIGITALYTEXT;

HWND Page() { return clockPlugin.page; }

std::string ControlText(int id) {
    HeapString text(GetItemChar(Page(), id));
    return text ? text.get() : "";
}

int ControlInt(int id, int fallback) {
    BOOL ok = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(Page(), id, &ok, TRUE));
    return ok ? value : fallback;
}

void SetColourButton(int id, COLORREF colour) {
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(colour));
    SetDlgItemTextA(Page(), id, text);
    InvalidateRect(GetDlgItem(Page(), id), nullptr, TRUE);
}

void SetFontBox(const char* face, int style, int charset) {
    HFONT old = reinterpret_cast<HFONT>(SendDlgItemMessageA(Page(), IDC_FONTBOX, WM_GETFONT, 0, 0));
    CreateFontBox(Page(), IDC_FONTBOX, face, style, charset);
    // CreateFontBox leaves the font with the control; the one made before is ours to free.
    if (old && old == clockPlugin.boxFont) DeleteObject(old);
    clockPlugin.boxFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(Page(), IDC_FONTBOX, WM_GETFONT, 0, 0));
}

bool HasSkinExtension(const char* name) {
    const char* dot = strrchr(name, '.');
    if (!dot) return false;
    for (const char* extension : kSkinExtensions)
        if (lstrcmpiA(dot + 1, extension) == 0) return true;
    return false;
}

void FillSkinList() {
    HWND combo = GetDlgItem(Page(), IDC_SKIN);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoSkin));
    HeapString pattern(CreatePathFile("Clock", "*", nullptr));
    if (!pattern) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.get(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (HasSkinExtension(found.cFileName))
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void SelectSkin(const std::string& skin) {
    HWND combo = GetDlgItem(Page(), IDC_SKIN);
    LRESULT index = skin.empty() ? CB_ERR
                                 : SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(skin.c_str()));
    // A skin no longer in the folder falls back to the plain dial.
    if (index == CB_ERR) {
        index = 0;
        clockPlugin.options.skin.clear();
    }
    SendMessageA(combo, CB_SETCURSEL, index, 0);
}

void ShowSlotColour() {
    int slot = static_cast<int>(SendDlgItemMessageA(Page(), IDC_COLOURSLOT, CB_GETCURSEL, 0, 0));
    if (slot < 0 || slot >= KV_CLOCK_COLOURS) slot = 0;
    SetColourButton(IDC_COLOURSLOTBUTTON, clockPlugin.options.colours[slot]);
}

void RefreshDigital() {
    if (clockPlugin.digital) InvalidateRect(clockPlugin.digital, nullptr, FALSE);
}

void RefreshAnalog() {
    ReleaseDial();
    if (clockPlugin.analog) InvalidateRect(clockPlugin.analog, nullptr, FALSE);
}

void WriteDesktopPoint(const char* key, int xId, int yId, POINT& point) {
    point.x = ControlInt(xId, point.x);
    point.y = ControlInt(yId, point.y);
    if (!clockPlugin.loaded) return;
    char text[32];
    snprintf(text, sizeof text, "%ld %ld", static_cast<long>(point.x), static_cast<long>(point.y));
    SetValueKeySet(key, text);
}

void RedrawDesktop() {
    HWND desktop = GetCurrentDesktop();
    if (!desktop) return;
    InvalidateRect(desktop, nullptr, TRUE);
    UpdateWindow(desktop);
}

void PickPosition(ClockKind kind) {
    const bool analog = kind == ANALOG_CLOCK;
    clockPlugin.suspendDesktop = true;
    s_placefunc place = {};
    place.PlaceDialogType = 3;
    place.hPlaceDialogType = Page();
    place.IDpx = analog ? IDC_ANALOGX : IDC_DIGITALX;
    place.IDpy = analog ? IDC_ANALOGY : IDC_DIGITALY;
    const int d = ClockDiameter(clockPlugin.options.storedDiameter);
    place.Width = analog ? d : clockPlugin.contentWidth;
    place.Height = analog ? d : clockPlugin.contentHeight;
    HostService(KvSrvPlace, &place);
    clockPlugin.suspendDesktop = false;
    if (analog) WriteDesktopPoint("KvPosCl", IDC_ANALOGX, IDC_ANALOGY, clockPlugin.options.analogPrint);
    else WriteDesktopPoint("KvPosCl1", IDC_DIGITALX, IDC_DIGITALY, clockPlugin.options.digitalPrint);
    RedrawDesktop();
}

// The format help beside the program, opened in Notepad.
void ShowFormatHelp() {
    HRSRC resource = FindResourceA(clockPlugin.instance, "INFOCLOCKFILE", reinterpret_cast<LPCSTR>(RT_RCDATA));
    HGLOBAL loaded = resource ? LoadResource(clockPlugin.instance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return;
    HeapString path(CreatePathFile(nullptr, "infoclock", ".txt"));
    if (!path) return;
    FILE* file = fopen(path.get(), "wb");
    if (!file) return;
    const bool written = fwrite(bytes, 1, SizeofResource(clockPlugin.instance, resource), file) ==
                         SizeofResource(clockPlugin.instance, resource);
    if (fclose(file) == 0 && written) ShellExecuteA(Page(), "open", SystemProgramPath("notepad.exe").c_str(), path.get(), nullptr, 9);
}

// Re-reads the font keys the host's font dialog wrote.
void ReloadFontFromSettings() {
    HeapString file(SetUsetExtenPath(".set"));
    if (!file) return;
    HeapString face(GetKey(file.get(), kSet, "KvClFont", "System"));
    SetFontBox(face ? face.get() : "System", GetKeyInt(file.get(), kSet, "KvClStyle", 0),
               GetKeyInt(file.get(), kSet, "KvClCharset", 204));
}

void ChooseFont() {
    char ext[] = ".set", app[] = "set", style[] = "KvClStyle", charset[] = "KvClCharset", face[] = "KvClFont";
    s_choosefont choose = {ext, app, Page(), IDC_FONTBOX, style, charset, face, clockPlugin.loaded ? 1 : 0};
    HostService(KvSrvChooseFont, &choose);
    if (clockPlugin.loaded) ReloadFontFromSettings();
    ReleaseClockFont();
    RefreshDigital();
}

void OnSwitchesChanged(int id) {
    ClockPlugin& p = clockPlugin;
    const bool checked = IsDlgButtonChecked(Page(), id) == BST_CHECKED;
    const char* key = nullptr;
    switch (id) {
    case IDC_ANALOGSHOW: p.analogShown = checked; key = "KvClockShow"; break;
    case IDC_ANALOGPRINT: p.analogPrinted = checked; key = "KvPrintAnal"; break;
    case IDC_DIGITALSHOW: p.digitalShown = checked; key = "KvClock1Show"; break;
    case IDC_DIGITALPRINT: p.digitalPrinted = checked; key = "KvPrintDigt"; break;
    default: return;
    }
    if (p.loaded) KeyTipUnCheckedSet(Page(), id, key);
    if (id == IDC_ANALOGSHOW) ShowClockWindow(ANALOG_CLOCK, checked);
    if (id == IDC_DIGITALSHOW) ShowClockWindow(DIGITAL_CLOCK, checked);
    if ((id == IDC_ANALOGPRINT || id == IDC_DIGITALPRINT) && !checked) RedrawDesktop();
    ReleaseUnusedClockObjects();
    SyncClockTimer();
}

void OnOnSwitch(const OnSwitch& entry) {
    const bool checked = IsDlgButtonChecked(Page(), entry.id) == BST_CHECKED;
    clockPlugin.options.*entry.field = checked;
    if (clockPlugin.loaded) KeyTipCheckedSet(Page(), entry.id, entry.key);
    if (entry.id == IDC_ANALOGTOP) ApplyClockTopMost(ANALOG_CLOCK);
    else if (entry.id == IDC_DIGITALTOP) ApplyClockTopMost(DIGITAL_CLOCK);
    else if (entry.dial) RefreshAnalog();
    else if (clockPlugin.analog) InvalidateRect(clockPlugin.analog, nullptr, FALSE);
}

void OnFlag(int id) {
    ClockOptions& o = clockPlugin.options;
    const bool checked = IsDlgButtonChecked(Page(), id) == BST_CHECKED;
    switch (id) {
    case IDC_SMOOTH:
        o.smooth = checked;
        if (clockPlugin.loaded) KeyTipUnCheckedSet(Page(), id, "KvSmooth");
        ReleaseClockFont();
        RefreshDigital();
        break;
    case IDC_TRANSDIGIT:
        o.transparent = checked;
        if (clockPlugin.loaded) KeyTipUnCheckedSet(Page(), id, "KvTransDigit");
        ApplyClockTranslucency(DIGITAL_CLOCK);
        RefreshDigital();
        break;
    case IDC_RIGHTDIGIT: {
        if (o.rightAnchored == checked) break;
        // The stored x changes its meaning (left or right edge): keep the clock where it is.
        o.digitalX += checked ? clockPlugin.contentWidth : -clockPlugin.contentWidth;
        o.rightAnchored = checked;
        if (clockPlugin.loaded) {
            KeyTipUnCheckedSet(Page(), id, "KvRightDigit");
            SetValueKeySetInt("KvClockX1", o.digitalX);
        }
        break;
    }
    default: break;
    }
}

void OnEditChanged(int id) {
    ClockOptions& o = clockPlugin.options;
    for (const TextField& field : kTextFields) {
        if (field.id != id) continue;
        o.*field.field = ControlText(id);
        if (clockPlugin.loaded) SetValueKeySet(field.key, (o.*field.field).c_str());
        if (id == IDC_FORMAT) clockPlugin.sources = ClockSourcesUsed(o.format);
        if (clockPlugin.digitalShown || clockPlugin.digitalPrinted) RefreshClockFigures();
        RefreshDigital();
        return;
    }
    switch (id) {
    case IDC_DIAMETER: {
        const int previous = ClockDiameter(o.storedDiameter);
        o.storedDiameter = ControlInt(id, o.storedDiameter);
        if (clockPlugin.loaded) SetValueKeySetInt("KvRClock", o.storedDiameter);
        if (ClockDiameter(o.storedDiameter) != previous) {
            RefreshAnalog();
            PlaceAnalogWindow();
        }
        break;
    }
    case IDC_FONTHEIGHT:
        o.fontHeight = ControlInt(id, o.fontHeight);
        if (clockPlugin.loaded) SetValueKeySetInt("KvClHeight", o.fontHeight);
        ReleaseClockFont();
        RefreshDigital();
        break;
    // While the host's placement window moves the point, it is written once at the end.
    case IDC_ANALOGX:
    case IDC_ANALOGY:
        if (!clockPlugin.suspendDesktop) WriteDesktopPoint("KvPosCl", IDC_ANALOGX, IDC_ANALOGY, o.analogPrint);
        break;
    case IDC_DIGITALX:
    case IDC_DIGITALY:
        if (!clockPlugin.suspendDesktop) WriteDesktopPoint("KvPosCl1", IDC_DIGITALX, IDC_DIGITALY, o.digitalPrint);
        break;
    default: break;
    }
}

void OnColourButton(int id) {
    for (const ColourButton& button : kColourButtons) {
        if (button.id != id) continue;
        clockPlugin.options.*button.field = clockPlugin.loaded ? ColorSelectSet(Page(), id, button.key)
                                                               : ColorSelect(".set", kSet, Page(), id, nullptr);
        if (button.dial) RefreshAnalog();
        else if (clockPlugin.analog) InvalidateRect(clockPlugin.analog, nullptr, FALSE);
        return;
    }
    if (id == IDC_COLOURSLOTBUTTON) {
        int slot = static_cast<int>(SendDlgItemMessageA(Page(), IDC_COLOURSLOT, CB_GETCURSEL, 0, 0));
        if (slot < 0 || slot >= KV_CLOCK_COLOURS) return;
        clockPlugin.options.colours[slot] = ColorSelect(".set", kColourSection, Page(), id,
                                                        clockPlugin.loaded ? kClockColours[slot].key : nullptr);
        if (slot == CLOCK_BOTTOM) ApplyClockTranslucency(DIGITAL_CLOCK);
        RefreshDigital();
    }
}

void OnSkinChosen() {
    LRESULT index = SendDlgItemMessageA(Page(), IDC_SKIN, CB_GETCURSEL, 0, 0);
    std::string skin;
    if (index > 0) {
        LRESULT length = SendDlgItemMessageA(Page(), IDC_SKIN, CB_GETLBTEXTLEN, index, 0);
        if (length > 0) {
            std::vector<char> text(static_cast<size_t>(length) + 1);
            SendDlgItemMessageA(Page(), IDC_SKIN, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
            skin = text.data();
        }
    }
    clockPlugin.options.skin = skin;
    if (clockPlugin.loaded) SetValueKeySet("ClockSkin", skin.empty() ? nullptr : skin.c_str());
    RefreshAnalog();
}

void OnAlpha(HWND bar) {
    const bool analog = bar == GetDlgItem(Page(), IDC_ANALOGALPHA);
    const int value = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
    (analog ? clockPlugin.options.analogAlpha : clockPlugin.options.digitalAlpha) = value;
    if (clockPlugin.loaded) SetValueKeySetInt(analog ? "KvClAlpha" : "KvClAlpha1", value);
    ApplyClockTranslucency(analog ? ANALOG_CLOCK : DIGITAL_CLOCK);
}

void OnCommand(int id, int code) {
    switch (id) {
    case IDC_ANALOGSHOW:
    case IDC_ANALOGPRINT:
    case IDC_DIGITALSHOW:
    case IDC_DIGITALPRINT:
        if (code == BN_CLICKED) OnSwitchesChanged(id);
        return;
    case IDC_SMOOTH:
    case IDC_TRANSDIGIT:
    case IDC_RIGHTDIGIT:
        if (code == BN_CLICKED) OnFlag(id);
        return;
    case IDC_FORMATDEFAULT:
        SetDlgItemTextA(Page(), IDC_FORMAT, kDefaultClockFormat);
        return;
    case IDC_FORMATINFO:
        ShowFormatHelp();
        return;
    case IDC_ANALOGPLACE:
        PickPosition(ANALOG_CLOCK);
        return;
    case IDC_DIGITALPLACE:
        PickPosition(DIGITAL_CLOCK);
        return;
    case IDC_FONTBOX:
        ChooseFont();
        return;
    case IDC_SKIN:
        if (code == CBN_SELCHANGE) OnSkinChosen();
        return;
    case IDC_COLOURSLOT:
        if (code == CBN_SELCHANGE) ShowSlotColour();
        return;
    default: break;
    }
    for (const OnSwitch& entry : kOnSwitches)
        if (entry.id == id) {
            if (code == BN_CLICKED) OnOnSwitch(entry);
            return;
        }
    if (code == EN_CHANGE) OnEditChanged(id);
    else if (code == BN_CLICKED) OnColourButton(id);
}

INT_PTR CALLBACK ClockPageFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (clockPlugin.page == hwnd) OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HSCROLL:
        if (lParam) OnAlpha(reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        PainColorButton(draw->hDC, &draw->rcItem, hwnd, static_cast<int>(draw->CtlID));
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == CLOCK_TIMER) OnClockTimer();
        return TRUE;
    case WM_DESTROY:
        KillTimer(hwnd, CLOCK_TIMER);
        if (clockPlugin.page == hwnd) clockPlugin.page = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void FillPageTexts() {
    const char* language = clockPlugin.languageFile.c_str();
    for (int id = kTextedFirst; id <= kTextedLast; ++id)
        if (GetDlgItem(Page(), id)) SetDlgItemTextA(Page(), id, Priv(id, "CLOCK", language));
    HWND slots = GetDlgItem(Page(), IDC_COLOURSLOT);
    for (int slot = 0; slot < KV_CLOCK_COLOURS; ++slot)
        SendMessageA(slots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Priv(slot, "CLOCK", language)));
    SendMessageA(slots, CB_SETCURSEL, 0, 0);
}

void AddToolTips() {
    const int colourIds[] = {IDC_COLRIM, IDC_COLMARK, IDC_COLBOTTOM, IDC_COLHOUR,
                             IDC_COLMIN, IDC_COLSEC,  IDC_COLOURSLOTBUTTON, IDC_FONTBOX};
    for (int id : colourIds) {
        s_addtooltip tip = {Page(), id, 14};
        HostService(KvSrvAddToolTip, &tip);
    }
    s_addtooltip help = {Page(), IDC_FORMATINFO, 33};
    HostService(KvSrvAddToolTip, &help);
}

}  // namespace

HWND CreateClockPage(HWND panel) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HeapString folder(CreatePathFile("Clock", nullptr, nullptr));
    if (folder) CreateDirectoryA(folder.get(), nullptr);
    clockPlugin.page = CreateDialogParamA(clockPlugin.instance, MAKEINTRESOURCEA(IDD_CLOCKPAGE), panel,
                                          ClockPageFunc, 0);
    if (!clockPlugin.page) return nullptr;
    for (int id : {IDC_ANALOGALPHA, IDC_DIGITALALPHA})
        SendDlgItemMessageA(Page(), id, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    for (const TextField& field : kTextFields) SendDlgItemMessageA(Page(), field.id, EM_LIMITTEXT, 999, 0);
    for (int i = 0; i < KV_CLOCK_COLOURS; ++i) clockPlugin.options.colours[i] = kClockColours[i].colour;
    FillPageTexts();
    BuildClockMenu();
    FillSkinList();
    SelectSkin("");
    return clockPlugin.page;
}

void LoadClockSettings(const char* settingsFile) {
    if (!Page() || !settingsFile) return;
    clockPlugin.settingsFile = settingsFile;
    const char* file = settingsFile;
    ClockOptions& o = clockPlugin.options;
    clockPlugin.loaded = false;

    o.storedDiameter = GetKeyInt(file, kSet, "KvRClock", 80);
    SetDlgItemInt(Page(), IDC_DIAMETER, static_cast<UINT>(o.storedDiameter), TRUE);
    o.analogX = GetKeyInt(file, kSet, "KvClockX", 100);
    o.analogY = GetKeyInt(file, kSet, "KvClockY", 100);
    o.digitalX = GetKeyInt(file, kSet, "KvClockX1", 100);
    o.digitalY = GetKeyInt(file, kSet, "KvClockY1", 100);

    for (const OnSwitch& entry : kOnSwitches) {
        o.*entry.field = GetKeyYes(file, kSet, entry.key) == 0;
        CheckDlgButton(Page(), entry.id, o.*entry.field ? BST_CHECKED : BST_UNCHECKED);
    }
    const COLORREF colourDefaults[] = {RGB(0, 64, 128), RGB(0, 64, 128), RGB(255, 255, 255), 0, 0, 0};
    for (size_t i = 0; i < sizeof kColourButtons / sizeof kColourButtons[0]; ++i) {
        const ColourButton& button = kColourButtons[i];
        o.*button.field = static_cast<COLORREF>(GetKeyInt(file, kSet, button.key, static_cast<int>(colourDefaults[i])));
        SetColourButton(button.id, o.*button.field);
    }
    o.analogAlpha = GetKeyInt(file, kSet, "KvClAlpha", 100);
    o.digitalAlpha = GetKeyInt(file, kSet, "KvClAlpha1", 100);
    SendDlgItemMessageA(Page(), IDC_ANALOGALPHA, TBM_SETPOS, TRUE, o.analogAlpha);
    SendDlgItemMessageA(Page(), IDC_DIGITALALPHA, TBM_SETPOS, TRUE, o.digitalAlpha);

    HeapString skin(GetKey(file, kSet, "ClockSkin", nullptr));
    o.skin = skin ? skin.get() : "";
    FillSkinList();
    SelectSkin(o.skin);

    for (const TextField& field : kTextFields) {
        HeapString text(GetKey(file, kSet, field.key, field.fallback));
        o.*field.field = text ? text.get() : field.fallback;
        SetDlgItemTextA(Page(), field.id, (o.*field.field).c_str());
    }
    clockPlugin.sources = ClockSourcesUsed(o.format);

    HeapString face(GetKey(file, kSet, "KvClFont", "System"));
    SetFontBox(face ? face.get() : "System", GetKeyInt(file, kSet, "KvClStyle", 0),
               GetKeyInt(file, kSet, "KvClCharset", 204));
    o.fontHeight = GetKeyInt(file, kSet, "KvClHeight", 16);
    SetDlgItemInt(Page(), IDC_FONTHEIGHT, static_cast<UINT>(o.fontHeight), TRUE);
    o.smooth = GetKeyYes(file, kSet, "KvSmooth") != 0;
    o.transparent = GetKeyYes(file, kSet, "KvTransDigit") != 0;
    o.rightAnchored = GetKeyYes(file, kSet, "KvRightDigit") != 0;
    CheckDlgButton(Page(), IDC_SMOOTH, o.smooth ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_TRANSDIGIT, o.transparent ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Page(), IDC_RIGHTDIGIT, o.rightAnchored ? BST_CHECKED : BST_UNCHECKED);

    for (int slot = 0; slot < KV_CLOCK_COLOURS; ++slot)
        o.colours[slot] = static_cast<uint32_t>(
            GetKeyInt(file, kColourSection, kClockColours[slot].key, static_cast<int>(kClockColours[slot].colour)));
    ShowSlotColour();

    HeapString analogPoint(GetKey(file, kSet, "KvPosCl", "1 1"));
    HeapString digitalPoint(GetKey(file, kSet, "KvPosCl1", "1 1"));
    int x = 1, y = 1;
    ParsePoint(analogPoint ? analogPoint.get() : "", x, y);
    o.analogPrint = {x, y};
    x = 1;
    y = 1;
    ParsePoint(digitalPoint ? digitalPoint.get() : "", x, y);
    o.digitalPrint = {x, y};
    SetDlgItemInt(Page(), IDC_ANALOGX, static_cast<UINT>(o.analogPrint.x), TRUE);
    SetDlgItemInt(Page(), IDC_ANALOGY, static_cast<UINT>(o.analogPrint.y), TRUE);
    SetDlgItemInt(Page(), IDC_DIGITALX, static_cast<UINT>(o.digitalPrint.x), TRUE);
    SetDlgItemInt(Page(), IDC_DIGITALY, static_cast<UINT>(o.digitalPrint.y), TRUE);

    const struct {
        int id;
        const char* key;
    } switches[] = {{IDC_ANALOGSHOW, "KvClockShow"},
                    {IDC_ANALOGPRINT, "KvPrintAnal"},
                    {IDC_DIGITALSHOW, "KvClock1Show"},
                    {IDC_DIGITALPRINT, "KvPrintDigt"}};
    for (const auto& entry : switches)
        CheckDlgButton(Page(), entry.id, GetKeyYes(file, kSet, entry.key) ? BST_CHECKED : BST_UNCHECKED);

    AddToolTips();
    // The edits above fired their change notices with loading still off, so
    // nothing was written back; from here every change is stored.
    clockPlugin.loaded = true;
    GetLocalTime(&clockPlugin.now);
    for (const auto& entry : switches) OnSwitchesChanged(entry.id);
}

void ReleaseUnusedClockObjects() {
    if (!clockPlugin.analogShown && !clockPlugin.analogPrinted) ReleaseDial();
    if (!clockPlugin.digitalShown && !clockPlugin.digitalPrinted) ReleaseClockFont();
}

void SyncClockTimer() {
    if (!Page()) return;
    const ClockPlugin& p = clockPlugin;
    if (p.analogShown || p.analogPrinted || p.digitalShown || p.digitalPrinted)
        SetTimer(Page(), CLOCK_TIMER, CLOCK_TIMER_PERIOD, nullptr);
    else
        KillTimer(Page(), CLOCK_TIMER);
}

void OnClockTimer() {
    ClockPlugin& p = clockPlugin;
    KillTimer(Page(), CLOCK_TIMER);
    GetLocalTime(&p.now);
    HWND desktop = (p.analogPrinted || p.digitalPrinted) ? GetCurrentDesktop() : nullptr;
    if (p.digitalShown || p.digitalPrinted) {
        EnsureClockFont();
        RefreshClockFigures();
    }
    if ((p.analogShown || p.analogPrinted) && !p.dial) BuildDial();
    if (p.analogShown && p.analog) InvalidateRect(p.analog, nullptr, FALSE);
    if (p.digitalShown && p.digital && !p.draggingDigital) {
        PlaceDigitalWindow();
        InvalidateRect(p.digital, nullptr, FALSE);
    }
    if (p.analogPrinted && !p.suspendDesktop && desktop) PaintAnalogOnDesktop(desktop);
    if (p.digitalPrinted && desktop) PaintDigitalOnDesktop(desktop);
    SyncClockTimer();
}
