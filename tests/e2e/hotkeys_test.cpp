// Hot keys as a user presses them: keyboard input from this process reaches
// the program's polling and its registered keys; the hot-key page turns them
// off while it is shown and stores what was typed when it is left. And a
// timed change held back while an excluded program runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "keyboard_input.h"
#include "program_folder.h"
#include "settings_file.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

const int kRows = 8;

// Registering a combination fails while another program holds it.
bool Taken(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0x3FF0, modifiers, key)) return true;
    UnregisterHotKey(nullptr, 0x3FF0);
    return false;
}

std::string Combination(int key, int modifiers) { return std::to_string(MAKEWORD(key, modifiers)); }

class HotKeysEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // Distinct pictures (a list keeps one row per file), enough rows that
        // a few steps never wrap.
        CreateDirectoryA(folder_.file("Pictures").c_str(), nullptr);
        CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
        std::string list;
        for (int i = 0; i < kRows; ++i) {
            const std::string picture = folder_.file("Pictures\\p" + std::to_string(i) + ".bmp");
            WriteBmpFile(picture, SolidImage(16, 12, RGB(20 * i, 40, 200 - 20 * i)));
            list += picture + "#0\n";
        }
        WriteTextFile(folder_.file("Lists\\steps.lst"), list + "#" + std::to_string(kRows));
        settings_.Set("ini", "eng.ini");
        settings_.Set("KvFileList", "steps");
    }
    // The row shown now (written on every change after start-up; none yet).
    int Index() { return settings_.GetInt("KvIndex", 0); }

    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
};

TEST_F(HotKeysEndToEnd, APolledCombinationFiresOnceASecondWhileHeldAndAllowsExtraModifiers) {
    settings_.Set("KvShortCut2", Combination('N', HOTKEYF_CONTROL), "HotKey");  // next wallpaper: Ctrl+N
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    Sleep(500);  // polling starts right after the title

    {
        // Ctrl+Shift+N: the extra Shift does not stop Ctrl+N.
        HeldKeys keys({VK_CONTROL, VK_SHIFT, 'N'});
        ASSERT_TRUE(WaitUntil([&] { return Index() >= 1; }, 2000)) << "the held combination fires";
        WaitUntil([] { return false; }, 2900);
    }
    const int fired = Index();
    EXPECT_GE(fired, 2) << "still held a second later, it fires again";
    EXPECT_LE(fired, 4) << "a 100 ms poll must not fire on every tick";

    WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(Index(), fired) << "released, nothing fires";
    {
        HeldKeys keys({VK_CONTROL});
        WaitUntil([] { return false; }, 600);
    }
    EXPECT_EQ(Index(), fired) << "a modifier alone is no combination";
    EXPECT_TRUE(app.Close());
}

TEST_F(HotKeysEndToEnd, RegisteredKeysAreOffWhileTheirPageIsShownAndLeavingItStoresAndRegistersTheNewOnes) {
    const UINT ctrlAlt = MOD_CONTROL | MOD_ALT;
    settings_.Set("KvKeyReg", "0");  // register the keys with the system
    settings_.Set("KvShortCut2", Combination(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT), "HotKey");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(WaitUntil([&] { return Taken(ctrlAlt, VK_F9); }, 3000)) << "registered at start-up";

    TypeKeys({VK_CONTROL, VK_MENU, VK_F9});
    EXPECT_TRUE(WaitUntil([&] { return Index() == 1; }, 3000)) << "the system delivers the hot key";

    ASSERT_TRUE(app.ShowPage(4));
    EXPECT_TRUE(WaitUntil([&] { return !Taken(ctrlAlt, VK_F9); }, 3000)) << "off while the page is shown";

    // Typed into row 1's editor, then the page is left.
    HWND list = app.Page(2001);
    ASSERT_NE(list, nullptr);
    SendDlgItemMessageA(list, 2001, HKM_SETHOTKEY, MAKEWORD(VK_F10, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    ASSERT_TRUE(app.ShowPage(0));
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get("KvShortCut2", "HotKey") ==
                                       Combination(VK_F10, HOTKEYF_CONTROL | HOTKEYF_ALT); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return Taken(ctrlAlt, VK_F10); }, 3000)) << "the new key is registered";
    EXPECT_FALSE(Taken(ctrlAlt, VK_F9)) << "the old one is free again";

    PostMessageA(app.main(), WM_CLOSE, 0, 0);  // hides the settings window
    WaitUntil([&] { return !IsWindowVisible(app.main()); }, 3000);
    // Typed while the settings window hides itself, the key can reach no
    // window at all under X: it is typed again only when the first never came.
    TypeKeys({VK_CONTROL, VK_MENU, VK_F10});
    if (!WaitUntil([&] { return Index() == 2; }, 5000)) TypeKeys({VK_CONTROL, VK_MENU, VK_F10});
    EXPECT_TRUE(WaitUntil([&] { return Index() >= 2; }, 5000)) << "the new key fires";
    EXPECT_TRUE(app.Close());
    EXPECT_FALSE(Taken(ctrlAlt, VK_F10)) << "released at exit";
}

TEST_F(HotKeysEndToEnd, ATimedChangeWaitsWhileAnExcludedProgramRuns) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    if (!FileExists(std::string(windows) + "\\notepad.exe")) GTEST_SKIP() << "no notepad.exe to run as the excluded program";
    settings_.Set("KvPeriod", "1");    // every 5 seconds
    settings_.Set("KvProcExcl", "0");  // hold back while a listed program runs
    settings_.Set("0", "NOTEPAD.EXE", "Process");
    StartedProcess excluded(windows, "notepad.exe", "");
    ASSERT_TRUE(excluded.started());
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    WaitUntil([] { return false; }, 7000);
    EXPECT_EQ(Index(), 0) << "a period passed while the excluded program ran";

    excluded.Terminate();
    EXPECT_TRUE(WaitUntil([&] { return Index() >= 1; }, 8000)) << "the next period changes the wallpaper";
    EXPECT_TRUE(app.Close());
}

}  // namespace
