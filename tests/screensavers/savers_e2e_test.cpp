// Screen-saver management seen from outside: the program follows the saver
// chosen in the system, the tray's Alt+click switches the saver off and on,
// the general page's menu chooses one, the main menu opens its own settings,
// a hot key starts it while it is switched off, and the chooser's settings
// open from the page. Only stand-in savers are installed; they never open a
// window and end at once.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dravonel_app.h"
#include "fake_shell.h"
#include "keyboard_input.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "saver_support.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const UINT kTrayCallback = 0x207;
const UINT kTrayId = 212;

class SaversEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(savers_.foreign().empty()) << "a saver not made by the test: " << savers_.foreign()[0];
        SetRegistrySaver("<absent>");
        settings_.Set("ini", "eng.ini");
        log_ = folder_.file("savers.log");
        SetEnvironmentVariableA("KVSCR_TEST_LOG", log_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("KVSCR_TEST_LOG", nullptr); }

    std::string Install(const std::string& standIn, const std::string& name) {
        const std::string path = savers_.Install(standIn, WindowsFolder(), name);
        EXPECT_FALSE(path.empty()) << name;
        return path;
    }
    std::string Tip(FakeShell& shell, const DravonelApp& app) { return shell.trayIcons().Get(app.main(), kTrayId).tip; }
    bool SystemSaverIs(const std::string& path) {
        return path.empty() ? RegistrySaver() == "<absent>" && RegistryActive() == "0"
                            : RegistrySaver() == ShortPath(path) && RegistryActive() == "1";
    }
    std::string Log() const {
        std::string bytes;
        ReadTextFile(log_, bytes);
        return bytes;
    }

    KeptSystemSetting kept_;
    InstalledSavers savers_;
    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
    std::string log_;
};

void AltClickOnTrayIcon(HWND main) {
    HeldKeys alt({VK_MENU});
    Sleep(100);
    SendMessageA(main, kTrayCallback, kTrayId, WM_LBUTTONDOWN);
}

TEST_F(SaversEndToEnd, FollowsTheSystemWithinTwoSecondsAndAltClickSwitchesTheSaverOffAndOn) {
    FakeShell shell;
    Install("saver_quoted", "ta.scr");
    const std::string chosen = Install("saver_plain", "tb.scr");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return Tip(shell, app) == "Dravonel"; }, 5000));

    // Chosen in the system's display dialog.
    const DWORD start = GetTickCount();
    SetRegistrySaver(chosen);
    ASSERT_TRUE(WaitUntil([&] { return Tip(shell, app) == "Dravonel(tb)"; }, 5000));
    EXPECT_LE(GetTickCount() - start, 2600u) << "within one tick of timer 6";
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(chosen));

    AltClickOnTrayIcon(app.main());
    EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(""); }, 3000)) << "switched off";
    EXPECT_EQ(settings_.Get("KvScrAuto"), "0");
    EXPECT_TRUE(ControlChecked(app.Page(10305), 10305));
    // While off, a saver set in the system is taken away again.
    SetRegistrySaver(chosen);
    EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(""); }, 3000));
    EXPECT_EQ(Tip(shell, app), "Dravonel(tb)") << "the choice stays";

    AltClickOnTrayIcon(app.main());
    EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(chosen); }, 3000)) << "on again, with the chosen saver";
    EXPECT_FALSE(settings_.Has("KvScrAuto"));
    EXPECT_TRUE(app.Close());
}

TEST_F(SaversEndToEnd, ASaverChosenFromTheGeneralPagesMenuBecomesTheSystemSaver) {
    FakeShell shell;
    Install("saver_quoted", "ta.scr");
    const std::string chosen = Install("saver_plain", "tb.scr");
    // Menu order is the order the system lists the folder in.
    std::vector<std::string> files = SaverFiles(WindowsFolder());
    int position = 0;
    while (position < static_cast<int>(files.size()) && lstrcmpiA(files[position].c_str(), "tb.scr") != 0) ++position;
    ASSERT_LT(position, static_cast<int>(files.size()));

    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10330);
    ASSERT_NE(page, nullptr);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(10330, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, 10330)));
    ASSERT_NE(WaitForTopWindow("#32768", nullptr, app.process().id(), 5000), nullptr) << "the saver menu opens";
    // The first Down reaches "<no>", item 0.
    for (int i = 0; i <= position + 1; ++i) TypeKeys({VK_DOWN});
    TypeKeys({VK_RETURN});

    EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(chosen); }, 3000));
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(chosen));
    EXPECT_TRUE(WaitUntil([&] { return Tip(shell, app) == "Dravonel(tb)"; }, 3000));
    EXPECT_EQ(IniSaver(), ShortPath(chosen));

    // Main-menu item 9 runs the chosen saver's own settings: from the tray,
    // the first Down reaches item 0, two separators lie on the way.
    PostMessageA(app.main(), kTrayCallback, kTrayId, WM_RBUTTONDOWN);
    ASSERT_NE(WaitForTopWindow("#32768", nullptr, app.process().id(), 5000), nullptr) << "the main menu opens";
    for (int i = 0; i < 10; ++i) TypeKeys({VK_DOWN});
    TypeKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return Log() == "tb.scr|/c\n"; }, 5000)) << Log();
    EXPECT_TRUE(app.Close());
}

TEST_F(SaversEndToEnd, StartingTheSaverWhileSwitchedOffRunsTheChosenOneAndLeavesItOff) {
    const std::string chosen = Install("saver_quoted", "ta.scr");
    settings_.Set("KvScrAuto", "0");
    settings_.Set("SCRNSAVE", ShortPath(chosen));
    // Hot-key row 0, polled: Ctrl+Alt+F7.
    settings_.Set("KvShortCut1", std::to_string(MAKEWORD(VK_F7, HOTKEYF_CONTROL | HOTKEYF_ALT)), "HotKey");
    SetRegistrySaver(chosen);
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return SystemSaverIs(""); }, 3000)) << "off from the start";
    Sleep(300);

    {
        // Held until the poll has seen it; released before the start is over.
        HeldKeys keys({VK_CONTROL, VK_MENU, VK_F7});
        EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(chosen); }, 3000)) << "on for the moment of the start";
    }
    EXPECT_TRUE(WaitUntil([&] { return SystemSaverIs(""); }, 3000)) << "and off again";
    EXPECT_EQ(settings_.Get("KvScrAuto"), "0");
    EXPECT_TRUE(ControlChecked(app.Page(10305), 10305));
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(chosen));

    const bool started = WaitUntil([&] { return !Log().empty(); }, 3000);
    EXPECT_TRUE(app.Close());
    if (!started) GTEST_SKIP() << "Wine does not start the screen saver for SC_SCREENSAVE sent to the desktop window";
    EXPECT_NE(Log().find("ta.scr|/s"), std::string::npos) << Log();
}

TEST_F(SaversEndToEnd, TheChoosersSettingsOpenFromThePageAndItsControlsGoWithoutIt) {
    Install("saver_plain", "ta.scr");
    {
        DravonelApp app(folder_);
        ASSERT_TRUE(app.WaitReady());
        HWND page = app.Page(10315);
        ASSERT_NE(page, nullptr);
        EXPECT_NE(GetDlgItem(page, 10329), nullptr);
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(10315, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, 10315)));
        HWND dialog = WaitForTopWindow("#32770", "KvScrSet", 0, 20000);
        ASSERT_NE(dialog, nullptr) << "the chooser's settings dialog";
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), app.main()) << "owned by the main window it was given";
        DWORD chooser = 0;
        GetWindowThreadProcessId(dialog, &chooser);
        EXPECT_NE(chooser, app.process().id());
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
        EXPECT_TRUE(app.Close());
    }
    ASSERT_TRUE(DeleteFileA(folder_.file("KvScrSet.scr").c_str()));
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10305);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetDlgItem(page, 10329), nullptr);
    EXPECT_EQ(GetDlgItem(page, 10315), nullptr);
    EXPECT_NE(GetDlgItem(page, 10330), nullptr);
    EXPECT_TRUE(app.Close());
}

}  // namespace
