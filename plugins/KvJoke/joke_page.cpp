#include "joke_page.h"

#include <string>

#include "joke_ids.h"
#include "joke_run.h"
#include "kvinifunction.h"

namespace {

const char kSection[] = "JOKE";
const COLORREF kHeadingColour = 0x000080;

// Flags of section "set"; the inverted ones are on until switched off.
const struct {
    int control;
    const char* key;
    bool inverted;
} kFlags[] = {
    {IDJOKEPICTURE, "KvPRtoWO", true},   {IDJOKEUPSIDEDOWN, "KvMirGor", false}, {IDJOKEMIRROR, "KvMirVer", false},
    {IDJOKEICONS, "KvICHide", true},     {IDJOKETASKBAR, "KvHDeskt", true},     {IDJOKEWINDOWS, "KvHWind", true},
    {IDJOKECURSOR, "KvHCurs", true},     {IDJOKERAIN, "KvRain", true},          {IDJOKECHANGEWALL, "KvJChWall", false},
    {IDJOKELOCK, "KvJoKeBlockAdd", false},
};
const struct {
    int control;
    const char* key;
    int fallback;
    int (*read)(long long);
} kNumbers[] = {{IDJOKEDROP, "KvPixel", 12, ReadDropSize}, {IDJOKEPERIOD, "KvJPeriod", 5, ReadPeriod}};

HWND page = nullptr;
std::string language;
bool loaded = false;

bool Ticked(int control) { return IsDlgButtonChecked(page, control) == BST_CHECKED; }

int Number(int control, int fallback, int (*read)(long long)) {
    BOOL ok = FALSE;
    UINT value = GetDlgItemInt(page, control, &ok, FALSE);
    return read(ok ? static_cast<long long>(value) : fallback);
}

void OnFlag(int control) {
    for (const auto& flag : kFlags) {
        if (flag.control != control) continue;
        if (flag.inverted) KeyTipCheckedSet(page, control, flag.key);
        else KeyTipUnCheckedSet(page, control, flag.key);
    }
}

void OnNumber(int control) {
    for (const auto& number : kNumbers) {
        if (number.control != control) continue;
        BOOL ok = FALSE;
        UINT value = GetDlgItemInt(page, control, &ok, FALSE);
        if (ok) SetValueKeySetInt(number.key, static_cast<int>(value));
    }
}

INT_PTR CALLBACK JokeFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        page = dialog;
        for (int id = IDJOKEHEAD; id <= IDJOKENOTE; ++id)
            SetDlgItemTextA(dialog, id, Priv(id, kSection, language.c_str()));
        for (const auto& flag : kFlags) CheckDlgButton(dialog, flag.control, flag.inverted ? BST_CHECKED : BST_UNCHECKED);
        for (const auto& number : kNumbers) SetDlgItemInt(dialog, number.control, number.fallback, FALSE);
        SendDlgItemMessageA(dialog, IDJOKEDROP, EM_LIMITTEXT, 4, 0);
        SendDlgItemMessageA(dialog, IDJOKEPERIOD, EM_LIMITTEXT, 6, 0);
        return TRUE;
    case WM_COMMAND:
        if (!loaded) return FALSE;
        if (HIWORD(wParam) == BN_CLICKED) OnFlag(LOWORD(wParam));
        else if (HIWORD(wParam) == EN_CHANGE) OnNumber(LOWORD(wParam));
        return FALSE;
    case WM_TIMER:
        OnJokeTimer(wParam);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDJOKEHEAD) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, kHeadingColour);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        return FALSE;
    case WM_DESTROY:
        StopJoke();
        page = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

HWND CreateJokePage(HINSTANCE instance, HWND panel, const char* languageFile) {
    language = languageFile ? languageFile : "";
    if (!page) CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_JOKE), panel, JokeFunc, 0);
    return page;
}

void LoadJokeSettings(const char* settingsFile) {
    if (!page || !settingsFile) return;
    loaded = false;
    for (const auto& flag : kFlags) {
        bool present = GetKeyYes(settingsFile, "set", flag.key) != 0;
        CheckDlgButton(page, flag.control, (flag.inverted ? !present : present) ? BST_CHECKED : BST_UNCHECKED);
    }
    for (const auto& number : kNumbers)
        SetDlgItemInt(page, number.control, number.read(GetKeyInt(settingsFile, "set", number.key, number.fallback)),
                      FALSE);
    loaded = true;
}

HWND JokePage() { return page; }

JokeEffects TickedEffects() {
    JokeEffects effects;
    if (!page) return effects;
    effects.screenPicture = Ticked(IDJOKEPICTURE);
    effects.upsideDown = Ticked(IDJOKEUPSIDEDOWN);
    effects.mirrored = Ticked(IDJOKEMIRROR);
    effects.changeWallpaper = Ticked(IDJOKECHANGEWALL);
    effects.hideIcons = Ticked(IDJOKEICONS);
    effects.hideTaskbar = Ticked(IDJOKETASKBAR);
    effects.hideWindows = Ticked(IDJOKEWINDOWS);
    effects.freezeCursor = Ticked(IDJOKECURSOR);
    effects.rain = Ticked(IDJOKERAIN);
    effects.lockAtStop = Ticked(IDJOKELOCK);
    effects.dropSize = Number(IDJOKEDROP, 12, ReadDropSize);
    effects.period = Number(IDJOKEPERIOD, 5, ReadPeriod);
    return effects;
}
