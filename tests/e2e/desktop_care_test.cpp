// The program looks after the shell's windows: the desktop icon view, the
// taskbar and its own icon in the notification area.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "dravonel_app.h"
#include "fake_shell.h"
#include "program_folder.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const char kExplorerAdvanced[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Explorer's own hide-icons value, removed again after the test.
class ExplorerHideIcons {
public:
    ExplorerHideIcons() {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kExplorerAdvanced, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            DWORD one = 1;
            RegSetValueExA(key, "HideIcons", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
            RegCloseKey(key);
        }
    }
    ~ExplorerHideIcons() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kExplorerAdvanced, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "HideIcons");
            RegCloseKey(key);
        }
    }
};

// Timer 4 looks every 2 seconds, timer 8 every second.
const DWORD kIconCareTick = 5000;
const DWORD kHousekeepingTick = 3000;

TEST(DesktopIcons, HiddenWhileTheOptionIsOnAndShownAgainAtExit) {
    FakeShell shell;
    ProgramFolder folder;
    SettingsFile(folder.path()).Set("KvHideIcon", "0");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(shell.iconView()); }, kIconCareTick));
    ASSERT_TRUE(app.Close());
    EXPECT_TRUE(IsWindowVisible(shell.iconView()));
}

TEST(DesktopIcons, APauseKeptFromTheLastRunLeavesThemAloneUnlessItsOptionIsOff) {
    for (bool pauseStopsCare : {true, false}) {
        SCOPED_TRACE(pauseStopsCare ? "the pause stops the care" : "the pause leaves the care on");
        FakeShell shell;
        ProgramFolder folder;
        SettingsFile settings(folder.path());
        settings.Set("KvHideIcon", "0");
        settings.Set("KvCheckOff", "1");
        if (!pauseStopsCare) settings.Set("KvNoIcon", "0");
        DravonelApp app(folder);
        ASSERT_TRUE(app.WaitReady());
        // Two ticks of timer 4 and some.
        EXPECT_EQ(WaitUntil([&] { return !IsWindowVisible(shell.iconView()); }, kIconCareTick), !pauseStopsCare);
        ASSERT_TRUE(app.Close());
    }
}

TEST(DesktopIcons, ExplorersOwnHideSettingKeepsThemHiddenAtExit) {
    FakeShell shell;
    ExplorerHideIcons explorerHides;
    ProgramFolder folder;
    SettingsFile(folder.path()).Set("KvHideIcon", "0");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(shell.iconView()); }, kIconCareTick));
    ASSERT_TRUE(app.Close());
    EXPECT_FALSE(IsWindowVisible(shell.iconView()));
}

TEST(DesktopIcons, CaptionColourIsForcedAndItsBackgroundCleared) {
    FakeShell shell;
    shell.Invoke([&] {
        ListView_SetTextColor(shell.iconView(), RGB(0, 0, 0));
        ListView_SetTextBkColor(shell.iconView(), RGB(0, 128, 128));
    });
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvChanCol", "0");
    settings.Set("KvTrans", "0");
    settings.Set("KvIconCap", "255");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(WaitUntil([&] { return ListView_GetTextColor(shell.iconView()) == RGB(255, 0, 0); }, kIconCareTick));
    EXPECT_TRUE(WaitUntil([&] { return ListView_GetTextBkColor(shell.iconView()) == CLR_NONE; }, kIconCareTick));

    // Someone (the shell) changes it back: the next tick forces it again.
    shell.Invoke([&] { ListView_SetTextColor(shell.iconView(), RGB(1, 2, 3)); });
    EXPECT_TRUE(WaitUntil([&] { return ListView_GetTextColor(shell.iconView()) == RGB(255, 0, 0); }, kIconCareTick));
    EXPECT_TRUE(app.Close());
}

TEST(DesktopIcons, CaptionOptionsDoNothingWhileIconsAreHidden) {
    FakeShell shell;
    shell.Invoke([&] { ListView_SetTextColor(shell.iconView(), RGB(0, 0, 0)); });
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvHideIcon", "0");
    settings.Set("KvChanCol", "0");
    settings.Set("KvIconCap", "255");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(shell.iconView()); }, kIconCareTick));
    Sleep(2500);  // one more tick of timer 4
    EXPECT_EQ(ListView_GetTextColor(shell.iconView()), RGB(0, 0, 0));
    EXPECT_TRUE(app.Close());
}

TEST(Taskbar, TranslucentAtTheChosenOpacityAndOpaqueAfterExit) {
    FakeShell shell;
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvRuleTB", "0");
    settings.Set("KvTBAlpha", "50");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    BYTE alpha = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            DWORD flags = 0;
            return (GetWindowLongA(shell.tray(), GWL_EXSTYLE) & WS_EX_LAYERED) &&
                   GetLayeredWindowAttributes(shell.tray(), nullptr, &alpha, &flags) && (flags & LWA_ALPHA);
        },
        kHousekeepingTick));
    EXPECT_EQ(alpha, 127) << "50 % of 255, rounded down";
    ASSERT_TRUE(app.Close());
    EXPECT_FALSE(GetWindowLongA(shell.tray(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(TrayIcon, AddedWithItsTipRepairedAfterTheShellForgetsItAndRemovedAtExit) {
    FakeShell shell;
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    FakeTray& tray = shell.trayIcons();
    ASSERT_TRUE(tray.Has(app.main(), 212));
    TrayIconRecord icon = tray.Get(app.main(), 212);
    EXPECT_EQ(icon.tip, "Dravonel");
    EXPECT_EQ(icon.callbackMessage, 0x207u);

    tray.Forget();  // as after a restart of the shell
    EXPECT_TRUE(WaitUntil([&] { return tray.Has(app.main(), 212); }, kHousekeepingTick));

    ASSERT_TRUE(app.Close());
    EXPECT_FALSE(tray.Has(app.main(), 212));
}

// Explorer restarted: the program hears "TaskbarCreated" and puts its icon
// back at once, after caring for the new shell's windows. The repair tick of
// timer 8 would first find the icon missing (a change that fails, then a
// removal) before adding it, and timer 4 would hide the icons only later.
TEST(ShellRestart, TheTrayIconAndTheDesktopCareComeBackAtOnceOnTheNewWindows) {
    FakeShell shell;
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvHideIcon", "0");
    settings.Set("KvRuleTB", "0");
    settings.Set("KvTBAlpha", "50");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(shell.iconView()); }, kIconCareTick));

    shell.Restart();
    FakeTray& tray = shell.trayIcons();
    ASSERT_TRUE(WaitUntil([&] { return tray.Has(app.main(), 212); }, 2000));
    const std::vector<TrayRequest> requests = tray.requests();
    const TrayRequest* atOnce = nullptr;
    for (size_t i = 0; i < requests.size() && !atOnce; ++i)
        if (requests[i].kind == NIM_ADD && requests[i].answer && (i == 0 || requests[i - 1].kind != NIM_DELETE))
            atOnce = &requests[i];
    ASSERT_NE(atOnce, nullptr) << "only the repair tick brought the icon back";
    EXPECT_FALSE(atOnce->shell.iconViewVisible) << "the new icon view was not cared for first";
    EXPECT_TRUE(atOnce->shell.taskbarLayered) << "the new taskbar was not made translucent first";
    EXPECT_EQ(tray.Get(app.main(), 212).tip, "Dravonel");
    ASSERT_TRUE(app.Close());
    EXPECT_FALSE(tray.Has(app.main(), 212));
    EXPECT_TRUE(IsWindowVisible(shell.iconView())) << "the new icon view is shown again at exit";
}

TEST(TrayIcon, ShownOnlyWhileThePointerIsOverTheTaskbar) {
    FakeShell shell;
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("KvHideIco", "0");
    settings.Set("KvTrayUp", "0");  // below one second counts as one
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    FakeTray& tray = shell.trayIcons();

    RECT taskbar;
    GetWindowRect(shell.tray(), &taskbar);
    SetCursorPos(400, 300);
    EXPECT_TRUE(WaitUntil([&] { return !tray.Has(app.main(), 212); }, kHousekeepingTick));
    SetCursorPos(500, (taskbar.top + taskbar.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] { return tray.Has(app.main(), 212); }, kHousekeepingTick));
    SetCursorPos(400, 300);
    EXPECT_TRUE(WaitUntil([&] { return !tray.Has(app.main(), 212); }, kHousekeepingTick));
    EXPECT_TRUE(app.Close());
}

}  // namespace
