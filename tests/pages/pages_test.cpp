// The wallpaper and calendar pages built from the program's own resources in
// this process, with the settings file beside this program: what they load,
// what they store, calendar presets, the font dialog, the placement window,
// the logon wallpaper, and the whole composition written and applied.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "app/startup.h"
#include "base/globals.h"
#include "dialogs/font_dialog.h"
#include "dialogs/place_dialog.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/logon_wallpaper.h"
#include "engine/wall_lists.h"
#include "engine/wallpaper_options.h"
#include "pages/calendar_presets.h"
#include "pages/page_calendar.h"
#include "pages/page_wall.h"
#include "bmp_reader.h"
#include "composition_support.h"
#include "fake_shell.h"
#include "ids_calendar.h"
#include "ids_wall.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "resource.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kDefaultDesktopKey[] = ".DEFAULT\\Control Panel\\Desktop";

std::string Folder() {
    std::string folder = ThisFolder();
    return folder.substr(0, folder.size() - 1);
}

// A registry value put back as it was when the test ends.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name) {
        had_ = Read(value_);
    }
    ~SavedRegistryValue() {
        HKEY key;
        if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        if (had_)
            RegSetValueExA(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value_.c_str()),
                           static_cast<DWORD>(value_.size() + 1));
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    bool Read(std::string& value) const {
        HKEY key;
        if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        char buffer[1024] = "";
        DWORD size = sizeof buffer - 1, type = 0;
        const bool ok = RegQueryValueExA(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                        ERROR_SUCCESS;
        RegCloseKey(key);
        buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
        value = buffer;
        return ok;
    }
    std::string Get() const {
        std::string value;
        return Read(value) ? value : "<absent>";
    }
    void Set(const char* value) const {
        HKEY key;
        if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        if (value)
            RegSetValueExA(key, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>(lstrlenA(value) + 1));
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }

private:
    HKEY root_;
    std::string key_, name_, value_;
    bool had_;
};

std::string DesktopWallpaper() {
    char path[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0);
    return path;
}

class Pages : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        if (hMain) return;
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        ConnectWallpaperEvents();
        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        ApplyWallPageTexts();
        ApplyCalendarPageTexts();
        PrepareWallPage();
        PrepareCalendarPage();
    }

protected:
    void SetUp() override {
        DeleteFileA(settings.path().c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, settings.path().c_str());
        Load();
    }
    void TearDown() override {
        startProgress = 0;
        lastsel.clear();
        positionType = -1;
        folderWall.clear();
    }
    // Start-up loading, then the pages live.
    void Load() {
        startProgress = 0;
        LoadWallSettings();
        SettingCalen();
        startProgress = 1;
    }
    static void Click(HWND page, int control) { SendDlgItemMessageA(page, control, BM_CLICK, 0, 0); }
    static void Choose(HWND page, int control, int index) {
        SendDlgItemMessageA(page, control, CB_SETCURSEL, index, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(control, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, control)));
    }
    static int Selected(HWND page, int control) {
        return static_cast<int>(SendDlgItemMessageA(page, control, CB_GETCURSEL, 0, 0));
    }
    static void Type(HWND page, int control, const char* text) { SetDlgItemTextA(page, control, text); }
    static int TrackBar(int control) {
        return static_cast<int>(SendDlgItemMessageA(hCalen, control, TBM_GETPOS, 0, 0));
    }

    SettingsFile settings{Folder()};
};

TEST_F(Pages, AnEmptySettingsFileGivesTheDefaults) {
    EXPECT_TRUE(ControlChecked(hWall, IDUSPZ));
    EXPECT_TRUE(ControlChecked(hWall, IDINCREASE));
    for (int off : {IDINVERS, IDMGOR, IDMVER}) EXPECT_FALSE(ControlChecked(hWall, off)) << off;
    EXPECT_EQ(Selected(hWall, IDBITSPIXEL), 0);
    EXPECT_EQ(ControlText(hWall, IDRSIZE), "2.0");
    EXPECT_EQ(ControlText(hWall, IDFOLDERWALL), "");

    for (int on : {IDCHECKDATE, IDCHECKOBJ}) EXPECT_TRUE(ControlChecked(hCalen, on)) << on;
    for (int off : {IDDRMON, IDDRPREVMON, IDDRNEXTMON, IDCHECKFON, IDROUND, IDKAIMA, IDISVDEL})
        EXPECT_FALSE(ControlChecked(hCalen, off)) << off;
    EXPECT_EQ(TrackBar(IDCALALPHA), 5);
    EXPECT_EQ(TrackBar(IDALPHATEXT), 0);
    EXPECT_EQ(ControlText(hCalen, IDALPHAVALUE2), "50 %");
    EXPECT_EQ(Selected(hCalen, IDMONTHSEL), 1) << "the current month's record";
    EXPECT_EQ(Selected(hCalen, IDPLAIN1), 1);
    EXPECT_EQ(Selected(hCalen, IDUPDATEDATE), 0);
    EXPECT_EQ(ControlText(hCalen, IDCOLFON), "12632256");
    EXPECT_EQ(ControlText(hCalen, IDCOLBOTH), "16776960");
    EXPECT_EQ(ControlText(hCalen, IDFONTBOX), "MS Sans Serif");
    EXPECT_EQ(ControlText(hCalen, IDMONTHX), "1");
    EXPECT_EQ(Selected(hCalen, IDMONTHSIZE), 4);

    const CalendarStyle style = CalendarStyleFromPage();
    EXPECT_TRUE(style.todayShape);
    EXPECT_TRUE(style.todayColours);
    EXPECT_EQ(style.plateAlpha, 5);
    EXPECT_EQ(style.alignMonth, 1);
    EXPECT_EQ(style.mainColour, 0xFFFF00u);
    EXPECT_EQ(style.corners, 3);
    EXPECT_EQ(style.font.lfCharSet, 204);
    EXPECT_STREQ(style.font.lfFaceName, "MS Sans Serif");

    const CompositionOptions options = CurrentCompositionOptions();
    EXPECT_TRUE(options.useWorkArea);
    EXPECT_TRUE(options.increase);
    EXPECT_FALSE(options.calendar);
    EXPECT_FLOAT_EQ(options.sizeFactor, 2.0f);
}

TEST_F(Pages, PlacementDefaultsToTheSystemsWallpaperStyle) {
    EXPECT_EQ(PlacementFromSystemStyle("0", "0"), KV_PLACE_CENTRE);
    EXPECT_EQ(PlacementFromSystemStyle("0", "2"), KV_PLACE_STRETCH);
    EXPECT_EQ(PlacementFromSystemStyle("1", "0"), KV_PLACE_TILE);
    EXPECT_EQ(PlacementFromSystemStyle("0", "6"), KV_PLACE_FIT);
    EXPECT_EQ(PlacementFromSystemStyle(nullptr, nullptr), KV_PLACE_FIT);

    SavedRegistryValue tile(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper");
    SavedRegistryValue style(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle");
    tile.Set("1");
    style.Set("0");
    Load();
    EXPECT_EQ(Selected(hWall, IDCEONSC), KV_PLACE_TILE);
    settings.Set("KvCeOnSc", "7");
    Load();
    EXPECT_EQ(Selected(hWall, IDCEONSC), KV_PLACE_FILL) << "a stored choice wins";
}

TEST_F(Pages, StoredSettingsReachThePages) {
    settings.Set("KvUspz", "0");
    settings.Set("KvInvers", "0");
    settings.Set("KvBitsPixel", "3");
    settings.Set("KvRSize", "1.5");
    settings.Set("KvFolderWall", Folder());
    settings.Set("KvDrMon", "0");
    settings.Set("KvCheckDate", "0");
    settings.Set("KvAlpha", "10");
    settings.Set("KvType", "7");
    settings.Set("KvOjectKol", "50");
    settings.Set("KvColBoth", "255");
    settings.Set("KvMonth", "100 -20 2");
    settings.Set("KvMonthPrev", "garbage");
    settings.Set("KvMonthNext", "5 6 300");
    Load();
    EXPECT_FALSE(ControlChecked(hWall, IDUSPZ));
    EXPECT_TRUE(ControlChecked(hWall, IDINVERS));
    EXPECT_EQ(Selected(hWall, IDBITSPIXEL), 3);
    EXPECT_EQ(ControlText(hWall, IDRSIZE), "1.5");
    EXPECT_EQ(folderWall, Folder());
    EXPECT_EQ(ControlText(hWall, IDFOLDERWALL), Folder());
    EXPECT_EQ(ComposedWallpaperPath(), Folder() + "\\KvBmp.bmp");
    EXPECT_EQ(PrelogPath(), Folder() + "\\Prelog.bmp");
    EXPECT_TRUE(ControlChecked(hCalen, IDDRMON));
    EXPECT_FALSE(ControlChecked(hCalen, IDCHECKDATE)) << "stored inverted";
    EXPECT_EQ(TrackBar(IDCALALPHA), 10) << "10 tenths, no plate, stays 10";
    EXPECT_EQ(Selected(hCalen, IDTYPE), 0) << "out of range";
    EXPECT_EQ(ControlText(hCalen, IDOJECTKOL), "10");
    EXPECT_EQ(CalendarStyleFromPage().mainColour, 255u);
    EXPECT_EQ(sMonth[KV_MONTH_CURRENT].x, 100);
    EXPECT_EQ(sMonth[KV_MONTH_CURRENT].y, -20);
    EXPECT_EQ(sMonth[KV_MONTH_CURRENT].size, 2);
    EXPECT_EQ(ControlText(hCalen, IDMONTHY), "-20");
    EXPECT_EQ(sMonth[KV_MONTH_PREV].x, 1) << "unreadable records keep the defaults";
    EXPECT_EQ(sMonth[KV_MONTH_PREV].size, 4);
    EXPECT_EQ(sMonth[KV_MONTH_NEXT].size, 14) << "sizes stay within the size box";

    const CompositionOptions options = CurrentCompositionOptions();
    EXPECT_TRUE(options.invert);
    EXPECT_FALSE(options.useWorkArea);
    EXPECT_EQ(options.bitsPixel, 3);
    EXPECT_FLOAT_EQ(options.sizeFactor, 1.5f);
    EXPECT_TRUE(options.calendar);

    settings.Set("KvFolderWall", Folder() + "\\no such folder");
    Load();
    EXPECT_EQ(folderWall, "") << "a folder that is not there is not used";
    EXPECT_EQ(settings.Get("KvFolderWall"), Folder() + "\\no such folder") << "but the choice is kept";
}

TEST_F(Pages, OptionsAreStoredAsTheyChange) {
    Click(hCalen, IDCHECKDATE);
    EXPECT_EQ(settings.Get("KvCheckDate"), "0") << "on by default: stored when cleared";
    Click(hCalen, IDDRMON);
    EXPECT_EQ(settings.Get("KvDrMon"), "0");
    Click(hCalen, IDDRMON);
    EXPECT_FALSE(settings.Has("KvDrMon"));
    Choose(hCalen, IDOBJECTVID, 2);
    EXPECT_EQ(settings.Get("KvObjectVid"), "2");
    Choose(hCalen, IDUPDATEDATE, 1);
    EXPECT_EQ(settings.Get("KvUpdateDate"), "1");
    SendDlgItemMessageA(hCalen, IDALPHATEXT, TBM_SETPOS, TRUE, 3);
    SendMessageA(hCalen, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3),
                 reinterpret_cast<LPARAM>(GetDlgItem(hCalen, IDALPHATEXT)));
    EXPECT_EQ(settings.Get("KvAlphaText"), "3");
    EXPECT_EQ(ControlText(hCalen, IDALPHATEXTVALUE), "30 %");

    Click(hWall, IDUSPZ);
    EXPECT_EQ(settings.Get("KvUspz"), "0");
    Click(hWall, IDMVER);
    EXPECT_EQ(settings.Get("KvMVer"), "0");
    Choose(hWall, IDCEONSC, 8);
    EXPECT_EQ(settings.Get("KvCeOnSc"), "8");
    Type(hWall, IDRSIZE, "3,5");
    EXPECT_EQ(settings.Get("KvRSize"), "3,5");
    EXPECT_FLOAT_EQ(CurrentCompositionOptions().sizeFactor, 3.5f);

    startProgress = 0;
    Type(hWall, IDRSIZE, "9");
    EXPECT_EQ(settings.Get("KvRSize"), "3,5") << "nothing is written while start-up loads";
}

TEST_F(Pages, NumbersAreClampedToTheirLimits) {
    Type(hCalen, IDOJECTKOL, "15");
    EXPECT_EQ(ControlText(hCalen, IDOJECTKOL), "10");
    EXPECT_EQ(settings.Get("KvOjectKol"), "10");
    Type(hCalen, IDOJECTKOL, "1");
    EXPECT_EQ(settings.Get("KvOjectKol"), "3");
    EXPECT_EQ(ControlText(hCalen, IDOJECTKOL), "1") << "a first digit may still become 10";
    SendMessageA(hCalen, WM_COMMAND, MAKEWPARAM(IDOJECTKOL, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(GetDlgItem(hCalen, IDOJECTKOL)));
    EXPECT_EQ(ControlText(hCalen, IDOJECTKOL), "3");
    Type(hCalen, IDOJECTANGL, "999");
    EXPECT_EQ(ControlText(hCalen, IDOJECTANGL), "360");
    EXPECT_EQ(settings.Get("KvOjectAngl"), "360");
    Type(hCalen, IDOJECTPEN, "77");
    EXPECT_EQ(settings.Get("KvOjectPen"), "50");
}

TEST_F(Pages, CalendarRecordsFollowTheirFields) {
    Choose(hCalen, IDMONTHSEL, KV_MONTH_PREV);
    sMonth[KV_MONTH_PREV] = {40, 50, 3, 0, 0};
    Choose(hCalen, IDMONTHSEL, KV_MONTH_PREV);
    EXPECT_EQ(ControlText(hCalen, IDMONTHX), "40");
    EXPECT_EQ(ControlText(hCalen, IDMONTHY), "50");
    EXPECT_EQ(Selected(hCalen, IDMONTHSIZE), 3);
    EXPECT_FALSE(settings.Has("KvMonthPrev")) << "showing a record does not store it";
    Type(hCalen, IDMONTHX, "250");
    EXPECT_EQ(settings.Get("KvMonthPrev"), "250 50 3");
    Choose(hCalen, IDMONTHSIZE, 6);
    EXPECT_EQ(settings.Get("KvMonthPrev"), "250 50 6");
    EXPECT_FALSE(settings.Has("KvMonth"));

    EXPECT_EQ(MonthRecordText(ParseMonthRecord("12 -3 9")), "12 -3 9");
    EXPECT_EQ(MonthRecordText(ParseMonthRecord("")), "1 1 4");
    EXPECT_EQ(MonthRecordText(ParseMonthRecord("7")), "7 1 4");
    EXPECT_EQ(MonthRecordText(ParseMonthRecord("1 2 -5")), "1 2 0");
    EXPECT_EQ(MonthRecordText(ParseMonthRecord(nullptr)), "1 1 4");
}

TEST_F(Pages, PresetsCopyTheCalendarKeysOnly) {
    const std::string preset = ThisFolder() + "preset.set";
    DeleteFileA(preset.c_str());
    SettingsFile source(Folder(), "preset-source");
    source.Set("KvDrMon", "0");
    source.Set("KvColBoth", "255");
    source.Set("KvMonth", "300 200 2");
    source.Set("KvPeriod", "5");  // not a calendar key
    settings.Set("KvAlpha", "7");
    settings.Set("KvPeriod", "9");
    // A file without calendar keys (a missing one, say) is no preset: it
    // must not wipe the user's calendar.
    EXPECT_EQ(ImportCalendarSettings((ThisFolder() + "missing.set").c_str()), PresetImport::NoCalendarKeys);
    EXPECT_EQ(settings.Get("KvAlpha"), "7");
    ASSERT_EQ(ImportCalendarSettings(source.path().c_str()), PresetImport::Imported);
    EXPECT_EQ(settings.Get("KvDrMon"), "0");
    EXPECT_EQ(settings.Get("KvMonth"), "300 200 2");
    EXPECT_FALSE(settings.Has("KvAlpha")) << "missing in the preset: deleted";
    EXPECT_EQ(settings.Get("KvPeriod"), "9") << "other keys stay";
    EXPECT_TRUE(ControlChecked(hCalen, IDDRMON)) << "the page shows the preset";
    EXPECT_EQ(ControlText(hCalen, IDCOLBOTH), "255");
    EXPECT_EQ(sMonth[KV_MONTH_CURRENT].x, 300);

    ASSERT_TRUE(CopyKeyFile2File(settings.path().c_str(), preset.c_str()));
    SettingsFile exported(Folder(), "..\\preset");
    EXPECT_EQ(exported.Get("KvColBoth"), "255");
    EXPECT_FALSE(exported.Has("KvPeriod"));
    int keys = 0;
    for (const char* key : kCalendarKeys) keys += exported.Has(key) ? 1 : 0;
    EXPECT_EQ(keys, 3);

    // A target that cannot be replaced stays as it was.
    SetFileAttributesA(preset.c_str(), FILE_ATTRIBUTE_READONLY);
    source.Set("KvColBoth", "65280");
    EXPECT_FALSE(CopyKeyFile2File(source.path().c_str(), preset.c_str()));
    EXPECT_EQ(exported.Get("KvColBoth"), "255");
    SetFileAttributesA(preset.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(preset.c_str());
    DeleteFileA(source.path().c_str());
    EXPECT_FALSE(CopyKeyFile2File(nullptr, preset.c_str()));
}

BOOL WINAPI ChooseBoldItalicTahoma(LPCHOOSEFONTA choose) {
    choose->lpLogFont->lfWeight = FW_BOLD;
    choose->lpLogFont->lfItalic = TRUE;
    choose->lpLogFont->lfCharSet = ANSI_CHARSET;
    choose->lpLogFont->lfHeight = -40;
    lstrcpyA(choose->lpLogFont->lfFaceName, "Tahoma");
    return TRUE;
}
BOOL WINAPI CancelFont(LPCHOOSEFONTA) { return FALSE; }
BOOL WINAPI ChooseSemiBold(LPCHOOSEFONTA choose) {
    choose->lpLogFont->lfWeight = FW_SEMIBOLD;
    choose->lpLogFont->lfItalic = FALSE;
    return TRUE;
}

LONG FontHeight(HWND dialog, int control) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

TEST_F(Pages, FontDialogStoresStyleCharsetAndFaceAndKeepsTheBoxHeight) {
    const LONG height = FontHeight(hCalen, IDFONTBOX);
    ChooseFontFunction previous = SetChooseFontFunction(ChooseBoldItalicTahoma);
    Click(hCalen, IDFONTBOX);
    EXPECT_EQ(settings.Get("KvStyle"), "3");
    EXPECT_EQ(settings.Get("KvCharset"), "0");
    EXPECT_EQ(settings.Get("KvFontBox"), "Tahoma");
    EXPECT_EQ(ControlText(hCalen, IDFONTBOX), "Tahoma");
    EXPECT_EQ(FontHeight(hCalen, IDFONTBOX), height);
    EXPECT_EQ(CalendarStyleFromPage().font.lfWeight, FW_BOLD);

    SetChooseFontFunction(ChooseSemiBold);
    Click(hCalen, IDFONTBOX);
    EXPECT_EQ(settings.Get("KvStyle"), "") << "only weight 700 counts as bold";

    SetChooseFontFunction(CancelFont);
    settings.Delete("KvFontBox");
    Click(hCalen, IDFONTBOX);
    EXPECT_FALSE(settings.Has("KvFontBox")) << "cancel changes nothing";
    SetChooseFontFunction(previous);
    EXPECT_STREQ(FontStyleCode(FW_NORMAL, TRUE), "1");
    EXPECT_STREQ(FontStyleCode(FW_BOLD, FALSE), "2");
}

// The placement window: driven from a second thread while this one runs its
// modal loop.
struct PlacementQuery {
    int width, height;
    HWND found;
};

BOOL CALLBACK MatchPlacementWindow(HWND window, LPARAM parameter) {
    PlacementQuery* query = reinterpret_cast<PlacementQuery*>(parameter);
    RECT rect;
    if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left == query->width &&
        rect.bottom - rect.top == query->height) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindPlacementWindow(int width, int height) {
    PlacementQuery query = {width, height, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(hMain, nullptr), MatchPlacementWindow,
                      reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void RunPlacementWhile(s_placefunc* place, const std::function<void(HWND)>& act) {
    std::atomic<bool> acted(false);
    std::thread driver([&] {
        HWND window = nullptr;
        for (int i = 0; i < 500 && !window; ++i, Sleep(10)) window = FindPlacementWindow(place->Width, place->Height);
        if (window) act(window);
        acted = true;
    });
    RunPlaceDialog(place);
    driver.join();
    EXPECT_TRUE(acted);
}

int Number(HWND dialog, int control) { return static_cast<int>(GetDlgItemInt(dialog, control, nullptr, TRUE)); }

TEST_F(Pages, PlacementWindowFollowsTheMouseAndEscapePutsTheNumbersBack) {
    SetDlgItemInt(hCalen, IDMONTHX, 11, TRUE);
    SetDlgItemInt(hCalen, IDMONTHY, 22, TRUE);
    SetCursorPos(300, 200);
    s_placefunc place = {1, hCalen, IDMONTHX, IDMONTHY, 0, 120, 80};
    bool followed = false;
    RunPlacementWhile(&place, [&](HWND window) {
        followed = WaitUntil([&] { return Number(hCalen, IDMONTHX) == 240 && Number(hCalen, IDMONTHY) == 160; }, 3000);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 240);
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(hCalen, IDMONTHX), GWL_STYLE) & ES_READONLY);
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &keys[0], sizeof(INPUT));
        Sleep(100);
        SendInput(1, &keys[1], sizeof(INPUT));
    });
    EXPECT_TRUE(followed) << "the corner is the pointer less half the size";
    EXPECT_EQ(Number(hCalen, IDMONTHX), 11);
    EXPECT_EQ(Number(hCalen, IDMONTHY), 22);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(hCalen, IDMONTHX), GWL_STYLE) & ES_READONLY);
}

TEST_F(Pages, PlacementWindowAcceptsOnAClickAndAnchorsPlaceThePoint) {
    SetCursorPos(500, 400);
    s_placefunc corner = {1, hCalen, IDMONTHX, IDMONTHY, 0, 100, 60};
    RunPlacementWhile(&corner, [&](HWND window) {
        WaitUntil([&] { return Number(hCalen, IDMONTHX) == 450; }, 3000);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 30));
    });
    EXPECT_EQ(Number(hCalen, IDMONTHX), 450);
    EXPECT_EQ(Number(hCalen, IDMONTHY), 370);

    s_placefunc anchor = {3, hCalen, IDMONTHX, IDMONTHY, 0, 90, 70};
    RunPlacementWhile(&anchor, [&](HWND window) {
        WaitUntil([&] { return Number(hCalen, IDMONTHX) == 500; }, 3000);
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(Number(hCalen, IDMONTHX), 500) << "the anchor point is the pointer itself";
    EXPECT_EQ(Number(hCalen, IDMONTHY), 400);
}

// The logon wallpaper lives in the default profile.
class LogonWallpaper : public Pages {
protected:
    SavedRegistryValue wallpaper{HKEY_USERS, kDefaultDesktopKey, "Wallpaper"};
    SavedRegistryValue tile{HKEY_USERS, kDefaultDesktopKey, "TileWallpaper"};
    SavedRegistryValue style{HKEY_USERS, kDefaultDesktopKey, "WallpaperStyle"};
};

TEST_F(LogonWallpaper, TheDropDownFollowsTheRegistry) {
    wallpaper.Set("");
    Choose(hWall, IDPRELOG, KV_PRELOG_COMPOSED);
    EXPECT_EQ(wallpaper.Get(), ComposedWallpaperPath());
    EXPECT_EQ(tile.Get(), "0");
    EXPECT_EQ(style.Get(), "2");
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_COMPOSED);

    const std::string other = ThisFolder() + "other";
    CreateDirectoryA(other.c_str(), nullptr);
    SetWallFolder(other.c_str());
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_FILE) << "the registry still names the old folder's file";
    EXPECT_EQ(settings.Get("KvFolderWall"), other);
    SetWallFolder(nullptr);
    RemoveDirectoryA(other.c_str());
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_COMPOSED);

    Choose(hWall, IDPRELOG, KV_PRELOG_NONE);
    EXPECT_EQ(wallpaper.Get(), "");
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_NONE);

    EXPECT_EQ(PrelogEntryFor("C:\\PICTURES\\KVBMP.BMP", "c:\\pictures\\kvbmp.bmp", "x"), KV_PRELOG_COMPOSED);
    EXPECT_EQ(PrelogEntryFor("c:\\a.bmp", "c:\\b.bmp", "c:\\a.bmp"), KV_PRELOG_COPY);
}

TEST_F(LogonWallpaper, ACopyNeedsACurrentPicture) {
    wallpaper.Set("C:\\logon.bmp");
    lastsel.clear();
    Choose(hWall, IDPRELOG, KV_PRELOG_COPY);
    EXPECT_EQ(wallpaper.Get(), "C:\\logon.bmp") << "nothing written";
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_FILE) << "back to what the registry holds";
}

void* WINAPI LoadAnyAsQuadrants(SIZE* size, const char*);
FakeLoader* fakeLoader = nullptr;
void* WINAPI LoadAnyAsQuadrants(SIZE* size, const char*) {
    s_picture* handle = fakeLoader->Quadrants(40, 30);
    void* picture = handle->picture;
    free(handle);
    size->cx = 40;
    size->cy = 30;
    return picture;
}

TEST_F(LogonWallpaper, ACopyOfTheCurrentPictureIsWrittenAtItsOwnSize) {
    ShippedSaver saver;
    ASSERT_TRUE(saver.bound());
    FakeLoader loader;
    fakeLoader = &loader;
    pLoadPicture[0] = LoadAnyAsQuadrants;
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    lastsel = self;  // any file that exists
    DeleteFileA(PrelogPath().c_str());
    Choose(hWall, IDPRELOG, KV_PRELOG_COPY);
    EXPECT_EQ(wallpaper.Get(), PrelogPath());
    EXPECT_EQ(style.Get(), "2");
    EXPECT_EQ(Selected(hWall, IDPRELOG), KV_PRELOG_COPY);
    EXPECT_EQ(FakeLoader::released, 1);
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(PrelogPath(), image));
    EXPECT_EQ(image.width, 40);
    EXPECT_EQ(image.height, 30);
    EXPECT_EQ(image.at(5, 5), kRed);
    EXPECT_EQ(image.at(35, 25), kYellow);
    DeleteFileA(PrelogPath().c_str());
}

// Applying a file as the wallpaper, and the refreshes of the shell windows.
class Applying : public Pages {
protected:
    SavedRegistryValue wallpaper{HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"};
};

TEST_F(Applying, TheWallpaperSettingIsStoredWhenItChanges) {
    const std::string path = ThisFolder() + "applied.bmp";
    wallpaper.Set("C:\\before.bmp");
    UpdateWalpaper(path.c_str());
    EXPECT_EQ(wallpaper.Get(), path);
    EXPECT_EQ(DesktopWallpaper(), path);
    UpdateWalpaper(path.c_str());
    EXPECT_EQ(wallpaper.Get(), path);
}

TEST_F(Applying, WithoutAStoredSettingTheChangeIsNotPersisted) {
    const std::string path = ThisFolder() + "transient.bmp";
    wallpaper.Set(nullptr);
    UpdateWalpaper(path.c_str());
    EXPECT_EQ(DesktopWallpaper(), path);
    if (wallpaper.Get() != "<absent>")
        GTEST_SKIP() << "Wine stores SPI_SETDESKWALLPAPER in the registry even without SPIF_UPDATEINIFILE";
    EXPECT_EQ(wallpaper.Get(), "<absent>");
}

// Counts messages that reach a window of the fake shell.
struct MessageCounter {
    static std::atomic<int> refreshKeys, paints;
    static WNDPROC progmanProcedure, desktopProcedure;
    static LRESULT CALLBACK Progman(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN && wParam == VK_F5) ++refreshKeys;
        return CallWindowProcA(progmanProcedure, hwnd, message, wParam, lParam);
    }
    static LRESULT CALLBACK Desktop(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ERASEBKGND) ++paints;
        return CallWindowProcA(desktopProcedure, hwnd, message, wParam, lParam);
    }
};
std::atomic<int> MessageCounter::refreshKeys(0), MessageCounter::paints(0);
WNDPROC MessageCounter::progmanProcedure, MessageCounter::desktopProcedure;

TEST_F(Applying, AWebViewDesktopIsRefreshedAndTheDesktopWindowRepainted) {
    FakeShellOptions options;
    options.activeDesktop = true;
    options.desktopWindow = true;
    FakeShell shell(options);
    ASSERT_TRUE(shell.ready());
    shell.Invoke([&] {
        ShowWindow(shell.desktop(), SW_SHOWNA);
        UpdateWindow(shell.desktop());
        MessageCounter::progmanProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(shell.progman(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MessageCounter::Progman)));
        MessageCounter::desktopProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(shell.desktop(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MessageCounter::Desktop)));
    });
    MessageCounter::refreshKeys = 0;
    MessageCounter::paints = 0;
    UpdateWalpaper((ThisFolder() + "applied.bmp").c_str());
    EXPECT_TRUE(WaitUntil([] { return MessageCounter::refreshKeys == 1; }, 2000));
    EXPECT_GE(MessageCounter::paints.load(), 1);
}

// The whole composition: written beside this program and applied.
class Composition : public Pages {
protected:
    void SetUp() override {
        Pages::SetUp();
        DeleteFileA(ComposedWallpaperPath().c_str());
        SetDlgItemTextA(hFile, 10614, "255");  // a red desktop background
    }
    void TearDown() override {
        SetDlgItemTextA(hFile, 10614, "");
        DeleteFileA(ComposedWallpaperPath().c_str());
        Pages::TearDown();
    }
    SavedRegistryValue wallpaper{HKEY_CURRENT_USER, kDesktopKey, "Wallpaper"};
    FakeLoader loader;
};

TEST_F(Composition, AMissingPictureGivesTheBackgroundAndTheCalendar) {
    ShippedSaver saver;
    Click(hCalen, IDDRMON);
    sMonth[KV_MONTH_CURRENT] = {100, 100, 4, 0, 0};
    SIZE none = {0, 0};
    CreateWallPaper(nullptr, &none);
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(ComposedWallpaperPath(), image));
    EXPECT_EQ(image.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(image.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(image.at(0, 0), kRed);
    EXPECT_EQ(image.at(image.width - 1, image.height - 1), kRed);
    int calendar = 0;
    for (int y = 100; y < 300; ++y)
        for (int x = 100; x < 400; ++x) calendar += image.at(x, y) != kRed;
    EXPECT_GT(calendar, 500) << "the calendar's text";
    EXPECT_EQ(wallpaper.Get(), ComposedWallpaperPath());
    EXPECT_EQ(DesktopWallpaper(), ComposedWallpaperPath());
}

TEST_F(Composition, WithoutASaverNothingIsWrittenOrChanged) {
    ASSERT_EQ(pSavePicture, nullptr);
    wallpaper.Set("C:\\mine.bmp");
    const std::string before = DesktopWallpaper();
    SIZE size = {40, 30};
    CreateWallPaper(loader.Quadrants(40, 30), &size);
    EXPECT_EQ(FakeLoader::released, 1) << "the picture is released all the same";
    EXPECT_FALSE(FileExists(ComposedWallpaperPath()));
    EXPECT_EQ(wallpaper.Get(), "C:\\mine.bmp");
    EXPECT_EQ(DesktopWallpaper(), before);
}

// The work area as a taskbar on the left would leave it, restored afterwards.
class LeftTaskbar {
public:
    explicit LeftTaskbar(int width) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &saved_, 0);
        RECT work = saved_;
        work.left = width;
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &work, 0);
    }
    ~LeftTaskbar() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &saved_, 0); }

private:
    RECT saved_;
};

TEST_F(Composition, TilesStartRightOfATaskbarOnTheLeft) {
    ShippedSaver saver;
    LeftTaskbar taskbar(64);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_EQ(work.left, 64) << "the work area could not be moved";
    positionType = KV_PLACE_TILE;
    SIZE size = {40, 30};
    CreateWallPaper(loader.Quadrants(40, 30), &size);
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(ComposedWallpaperPath(), image));
    EXPECT_EQ(image.at(10, 10), kRed) << "the taskbar's strip keeps the background";
    EXPECT_EQ(image.at(63, 100), kRed);
    EXPECT_EQ(image.at(64, 0), kRed);
    EXPECT_EQ(image.at(64 + 20, 0), kGreen);
    EXPECT_EQ(image.at(64 + 40, 0), kRed);
    EXPECT_EQ(image.at(64, 15), kBlue);
    const int right = image.width - 1, bottom = work.bottom - 1;
    EXPECT_EQ(image.at(right, bottom), QuadrantColour((right - 64) % 40, bottom % 30, 40, 30)) << "to the far corner";

    // The same with the box cleared: the whole screen.
    Click(hWall, IDUSPZ);
    CreateWallPaper(loader.Quadrants(40, 30), &size);
    ASSERT_TRUE(ReadBmpFile(ComposedWallpaperPath(), image));
    EXPECT_EQ(image.at(10, 10), kRed);
    EXPECT_EQ(image.at(30, 10), kGreen);
}

TEST_F(Composition, ThePagesPlacementAppliesWhenTheRowHasNone) {
    ShippedSaver saver;
    Choose(hWall, IDCEONSC, KV_PLACE_STRETCH);
    Click(hWall, IDMGOR);
    Click(hWall, IDMVER);
    SIZE size = {40, 30};
    CreateWallPaper(loader.Quadrants(40, 30), &size);
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(ComposedWallpaperPath(), image));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(image.at(2, 2), kYellow) << "stretched and turned by half a turn";
    EXPECT_EQ(image.at(work.right - 3, work.bottom - 3), kRed);
}

}  // namespace
