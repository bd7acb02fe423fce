// Start-up loads the settings into the pages without writing them back;
// afterwards every change is written at once.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "scopedwin.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

DWORD PriorityOf(const StartedProcess& process) {
    ScopedHandle handle(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process.id()));
    return handle.valid() ? GetPriorityClass(handle.get()) : 0;
}

TEST(SettingsLoading, AnEmptySettingsFileGivesTheDefaults) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10301);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(ControlChecked(page, 10301)) << "tray icon always shown";
    EXPECT_TRUE(ControlChecked(page, 10312)) << "the pause stops wallpaper changes";
    EXPECT_TRUE(ControlChecked(page, 10313)) << "the pause stops desktop-icon care";
    EXPECT_FALSE(ControlChecked(page, 10314)) << "the pause leaves the screen saver alone";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, 10314))) << "the pause may stop the screen-saver control";
    EXPECT_EQ(SendDlgItemMessageA(page, 10351, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(PriorityOf(app.process()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(SendDlgItemMessageA(page, 10766, TBM_GETPOS, 0, 0), 99);
    EXPECT_EQ(ControlText(page, 10353), "16776960");
    EXPECT_EQ(ControlText(page, 10350), "1");
    EXPECT_TRUE(app.Close());
}

TEST(SettingsLoading, StoredOptionsReachThePagesAndTakeEffect) {
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvNoChan", "0");
    settings.Set("KvNoIcon", "0");
    settings.Set("KvNoScr", "0");
    settings.Set("KvPriority", "4");
    settings.Set("KvTBAlpha", "40");
    settings.Set("KvIconCap", "65280");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10301);
    EXPECT_FALSE(ControlChecked(page, 10312));
    EXPECT_FALSE(ControlChecked(page, 10313));
    EXPECT_TRUE(ControlChecked(page, 10314));
    EXPECT_EQ(SendDlgItemMessageA(page, 10351, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(PriorityOf(app.process()), static_cast<DWORD>(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(SendDlgItemMessageA(page, 10766, TBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(ControlText(page, 10353), "65280");
    EXPECT_TRUE(app.Close());
}

TEST(SettingsLoading, TextFieldsWriteOnlyAfterStartUp) {
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvTrayUp", "7 seconds");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10350);
    EXPECT_EQ(ControlText(page, 10350), "7");
    EXPECT_EQ(settings.Get("KvTrayUp"), "7 seconds") << "loading must not write the field back";

    SetDlgItemTextA(page, 10350, "12");
    EXPECT_TRUE(WaitUntil([&] { return settings.Get("KvTrayUp") == "12"; }, 3000));
    EXPECT_TRUE(app.Close());
}

TEST(SettingsLoading, OptionsAreWrittenAsTheyChange) {
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10331);
    auto click = [&](int control) {
        SendDlgItemMessageA(page, control, BM_CLICK, 0, 0);
    };
    click(10331);
    EXPECT_EQ(settings.Get("KvHideIcon"), "0") << "an off-by-default flag is stored when on";
    click(10331);
    EXPECT_FALSE(settings.Has("KvHideIcon"));
    click(10312);
    EXPECT_EQ(settings.Get("KvNoChan"), "0") << "an on-by-default flag is stored when off";

    SendDlgItemMessageA(page, 10766, TBM_SETPOS, TRUE, 25);
    SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 25), reinterpret_cast<LPARAM>(GetDlgItem(page, 10766)));
    EXPECT_EQ(settings.Get("KvTBAlpha"), "25");
    EXPECT_EQ(ControlText(page, 10357), "25 %");

    HWND combo = GetDlgItem(page, 10351);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(10351, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(settings.Get("KvPriority"), "1");
    EXPECT_EQ(PriorityOf(app.process()), static_cast<DWORD>(HIGH_PRIORITY_CLASS));
    EXPECT_TRUE(app.Close());
}

std::string RunValue() {
    char value[MAX_PATH] = "";
    DWORD size = sizeof value - 1;
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ,
                      key.receive()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.get(), "Dravonel", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return "<absent>";
    return value;
}

TEST(Autostart, TheBoxWritesAndDeletesTheRunValue) {
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(RunValue(), "<absent>") << "synchronised at start: the box is off";
    HWND page = app.Page(10300);
    SendDlgItemMessageA(page, 10300, BM_CLICK, 0, 0);
    EXPECT_STRCASEEQ(RunValue().c_str(), ("\"" + folder.file("Dravonel.exe") + "\"").c_str()) << "quoted";
    EXPECT_EQ(settings.Get("KvAutoSt"), "0");
    SendDlgItemMessageA(page, 10300, BM_CLICK, 0, 0);
    EXPECT_EQ(RunValue(), "<absent>");
    EXPECT_FALSE(settings.Has("KvAutoSt"));
    EXPECT_TRUE(app.Close());
}

TEST(DayChange, ADayStoredYesterdayIsReplacedAtTheFirstTick) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int otherDay = now.wDay % 28 + 1;
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvLastDay", std::to_string(otherDay));
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(WaitUntil([&] { return settings.GetInt("KvLastDay", 0) == now.wDay; }, 3000));
    EXPECT_TRUE(app.Close());
}

class OldRegistrySettings {
public:
    OldRegistrySettings() {
        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Malvoren\\Dravonel", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr);
        SetString(key, "KvPeriod", "5");
        SetString(key, "KvFolder", "C:\\My Pictures");
        SetString(key, "KvLong", std::string(300, 'p'));
        DWORD number = 7;
        RegSetValueExA(key, "KvNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
        RegCloseKey(key);
    }
    ~OldRegistrySettings() {
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Malvoren\\Dravonel");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Malvoren");
    }

private:
    static void SetString(HKEY key, const char* name, const std::string& value) {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
};

bool KeyExists(const char* path) {
    ScopedRegKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

TEST(RegistryMigration, OldSettingsMoveIntoTheFileOnce) {
    OldRegistrySettings old;
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    SettingsFile settings(folder.path());
    EXPECT_EQ(settings.Get("KvPeriod"), "5");
    EXPECT_EQ(settings.Get("KvFolder"), "C:\\My Pictures");
    EXPECT_EQ(settings.Get("KvLong"), std::string(300, 'p')) << "long values are moved whole";
    EXPECT_FALSE(settings.Has("KvNumber")) << "only string values are moved";
    EXPECT_FALSE(KeyExists("Software\\Malvoren\\Dravonel"));
    EXPECT_FALSE(KeyExists("Software\\Malvoren"));
    EXPECT_TRUE(app.Close());
}

TEST(RegistryMigration, ASettingsFileThatCannotBeWrittenKeepsTheKeyAndSaysSoOnce) {
    OldRegistrySettings old;
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("ini", "eng.ini");
    SetFileAttributesA(settings.path().c_str(), FILE_ATTRIBUTE_READONLY);
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady()) << "start-up does not wait for the notice";
    const std::string name = settings.path().substr(settings.path().rfind('\\') + 1);
    HWND box = WaitForTopWindow("#32770", name.c_str(), app.process().id(), 10000);
    ASSERT_NE(box, nullptr) << "no box titled with the settings file";
    EXPECT_EQ(BoxText(box), folder.EnglishText(63) + "\r\n\r\n" + settings.path());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(KeyExists("Software\\Malvoren\\Dravonel")) << "nothing was moved: the old settings stay";
    EXPECT_FALSE(settings.Has("KvPeriod"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    SetFileAttributesA(settings.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(app.Close());
}

}  // namespace
