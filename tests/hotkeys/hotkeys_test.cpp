// Hot-key rows in-process: matching held keys, polling, registration and its
// warning, defaults, the page's suspension, the keys the editor cannot take,
// the rows' commands and the list's scrolling.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "base/globals.h"
#include "base/timer_ids.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys_support.h"
#include "kvinifunction.h"
#include "resource.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const WORD kCtrlAltK = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);

class HotKeyRows : public ::testing::Test {
protected:
    void SetUp() override {
        for (int row = 0; row < countHotKey; ++row) {
            Set(row, 0);
            CheckDlgButton(hHotKey, IDWIN1 + row, BST_UNCHECKED);
        }
        fake.down.clear();
        fake.warnings.clear();
        fake.pluginCalls.clear();
        UnRegisterKey();
        startProgress = 1;
    }
    void TearDown() override {
        startProgress = 0;
        UnRegisterKey();
        KillTimer(hMain, Timer05);
    }
    static void Set(int row, WORD combination) {
        SendDlgItemMessageA(hHotKey, IDHOTKEY1 + row, HKM_SETHOTKEY, combination, 0);
    }
    static bool TimerRunning(UINT_PTR timer) {
        if (!KillTimer(hMain, timer)) return false;
        SetTimer(hMain, timer, 100, nullptr);
        return true;
    }
    static std::string Label(int row) {
        char text[128] = "";
        GetDlgItemTextA(hHotKey, IDSTA1 + row, text, sizeof text);
        return text;
    }
    SettingsFile settings{TestFolder()};
};

TEST_F(HotKeyRows, AHeldCombinationMatchesEvenWithExtraModifiersButNeverWithoutItsKey) {
    const WORD ctrlN = MAKEWORD('N', HOTKEYF_CONTROL);
    struct Case {
        WORD combination;
        int win;
        std::set<int> down;
        int pushed;
    } cases[] = {
        {ctrlN, 0, {VK_CONTROL, 'N'}, 1},
        {ctrlN, 0, {VK_CONTROL, VK_SHIFT, 'N'}, 1},  // Ctrl+Shift+N also fires Ctrl+N
        {ctrlN, 0, {'N'}, 0},
        {ctrlN, 0, {VK_CONTROL}, 0},
        {MAKEWORD(0, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0, {VK_CONTROL, VK_SHIFT, 'A'}, 0},  // modifiers only
        {ctrlN, 1, {VK_CONTROL, 'N'}, 0},
        {ctrlN, 1, {VK_RWIN, VK_CONTROL, 'N'}, 1},
        {MAKEWORD(VK_F5, HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0, {VK_MENU, VK_SHIFT, VK_CONTROL, VK_F5}, 1},
        {MAKEWORD(VK_F5, HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_CONTROL), 0, {VK_MENU, VK_CONTROL, VK_F5}, 0},
        // An extended key (the arrows, Insert, ...) still needs its modifiers.
        {MAKEWORD(VK_RIGHT, HOTKEYF_CONTROL | HOTKEYF_EXT), 0, {VK_RIGHT}, 0},
        {MAKEWORD(VK_RIGHT, HOTKEYF_CONTROL | HOTKEYF_EXT), 0, {VK_CONTROL, VK_RIGHT}, 1},
    };
    for (const Case& c : cases) {
        fake.down = c.down;
        EXPECT_EQ(KeyPush(c.combination, c.win), c.pushed) << std::hex << c.combination << " win " << c.win;
    }
}

TEST_F(HotKeyRows, PollingRunsOnlyTheFirstMatchingRowAndThenOnlyOnceASecond) {
    Set(kPluginRow, kCtrlAltK);
    Set(kSecondPluginRow, kCtrlAltK);
    fake.down = {VK_CONTROL, VK_MENU, 'K'};
    WaitUntil([] { return false; }, 1100);  // any earlier firing has gone quiet
    OnTimer05();
    OnTimer05();
    ASSERT_EQ(fake.pluginCalls.size(), 1u) << "held: once, not on every 100 ms tick";
    EXPECT_EQ(fake.pluginCalls[0], std::make_pair(4, static_cast<INT_PTR>(kPluginRow))) << "the first of two equal rows";
    WaitUntil([] { return false; }, 1100);
    OnTimer05();
    EXPECT_EQ(fake.pluginCalls.size(), 2u) << "still held a second later";

    Set(kPluginRow, 0);
    Set(kSecondPluginRow, MAKEWORD(0, HOTKEYF_CONTROL | HOTKEYF_ALT));
    WaitUntil([] { return false; }, 1100);
    OnTimer05();
    EXPECT_EQ(fake.pluginCalls.size(), 2u) << "a row of modifiers only never fires";
}

TEST_F(HotKeyRows, OfTwoEqualRowsOnlyTheFirstRegistersAndTheSecondWarnsOnce) {
    Set(kPluginRow, kCtrlAltK);
    Set(kSecondPluginRow, kCtrlAltK);
    Set(1, MAKEWORD(0, HOTKEYF_SHIFT));  // modifiers only: not registered
    RegisterKeys();
    ASSERT_EQ(fake.registered.size(), 1u);
    EXPECT_EQ(fake.registered[IDHOTKEY1 + kPluginRow], std::make_pair(UINT(MOD_CONTROL | MOD_ALT), UINT('K')));
    ASSERT_EQ(fake.warnings.size(), 1u);
    const std::string reason = Priv(23, "STRING", ini);
    EXPECT_EQ(fake.warnings[0], "Dravonel|" + reason + ":\n\"" + Label(kSecondPluginRow) + "\"");

    UnRegisterKey();
    EXPECT_TRUE(fake.registered.empty());
    CheckDlgButton(hHotKey, IDWIN1 + kSecondPluginRow, BST_CHECKED);
    RegisterKeys();
    EXPECT_EQ(fake.registered[IDHOTKEY1 + kSecondPluginRow], std::make_pair(UINT(MOD_WIN | MOD_CONTROL | MOD_ALT), UINT('K')));
    EXPECT_EQ(fake.warnings.size(), 1u) << "with the Windows key it is another combination";
}

TEST_F(HotKeyRows, DefaultsGiveEveryRowCtrlShiftAndALetterInRowOrder) {
    SendDlgItemMessageA(hKey, IDRESET, BM_CLICK, 0, 0);
    const WORD ctrlShift = HOTKEYF_CONTROL | HOTKEYF_SHIFT;
    EXPECT_EQ(RowCombination(0), MAKEWORD('A', ctrlShift));
    EXPECT_EQ(RowCombination(11), MAKEWORD('L', ctrlShift));
    EXPECT_EQ(RowCombination(kPluginRow), MAKEWORD('M', ctrlShift)) << "the first plug-in row";
    EXPECT_EQ(RowCombination(kSecondPluginRow), MAKEWORD('N', ctrlShift));
}

TEST_F(HotKeyRows, ThePageTurnsTheKeysOffWhileShownAndSavesAndResumesWhenLeft) {
    SendDlgItemMessageA(hKey, IDKEYREG, BM_CLICK, 0, 0);  // register with the system
    EXPECT_EQ(settings.Get("KvKeyReg"), "0");
    Set(kPluginRow, kCtrlAltK);
    StartHotKeys();
    ASSERT_EQ(fake.registered.count(IDHOTKEY1 + kPluginRow), 1u);

    ShowWindow(hKey, SW_SHOW);
    EXPECT_TRUE(HotKeysSuspended());
    EXPECT_TRUE(fake.registered.empty()) << "typing into the editors must not fire anything";
    const WORD typed = MAKEWORD(VK_F7, HOTKEYF_SHIFT);
    Set(kPluginRow, typed);
    ShowWindow(hKey, SW_HIDE);
    EXPECT_FALSE(HotKeysSuspended());
    EXPECT_EQ(settings.GetInt("PlugKey12", 0, "HotKey"), typed) << "saved on leaving";
    EXPECT_FALSE(settings.Has("KvShortCut1", "HotKey")) << "a row without a key stores nothing";
    EXPECT_EQ(fake.registered[IDHOTKEY1 + kPluginRow], std::make_pair(UINT(MOD_SHIFT), UINT(VK_F7)));

    SendDlgItemMessageA(hKey, IDKEYREG, BM_CLICK, 0, 0);  // poll instead
    EXPECT_FALSE(settings.Has("KvKeyReg"));
    ShowWindow(hKey, SW_SHOW);
    ShowWindow(hKey, SW_HIDE);
    EXPECT_TRUE(fake.registered.empty()) << "the change of mode took effect on leaving";
    EXPECT_TRUE(TimerRunning(Timer05));
    ShowWindow(hKey, SW_SHOW);
    EXPECT_FALSE(TimerRunning(Timer05)) << "no polling while the page is shown";
    ShowWindow(hKey, SW_HIDE);
    EXPECT_TRUE(TimerRunning(Timer05));
}

TEST_F(HotKeyRows, TabEscapeSpaceAndBackspaceCompleteAModifierOnlyCombination) {
    HWND editor = GetDlgItem(hHotKey, IDHOTKEY1 + kPluginRow);
    auto changed = [&] { SendMessageA(hHotKey, WM_COMMAND, MAKEWPARAM(IDHOTKEY1 + kPluginRow, EN_CHANGE), reinterpret_cast<LPARAM>(editor)); };
    for (int key : {VK_TAB, VK_ESCAPE, VK_SPACE, VK_BACK}) {
        Set(kPluginRow, MAKEWORD(0, HOTKEYF_CONTROL | HOTKEYF_ALT));
        fake.down = {key};
        changed();
        EXPECT_EQ(RowCombination(kPluginRow), MAKEWORD(key, HOTKEYF_CONTROL | HOTKEYF_ALT)) << key;
    }
    Set(kPluginRow, MAKEWORD(0, HOTKEYF_CONTROL));
    fake.down = {'Q'};
    changed();
    EXPECT_EQ(RowCombination(kPluginRow), MAKEWORD(0, HOTKEYF_CONTROL)) << "other keys the editor takes itself";
    startProgress = 0;
    fake.down = {VK_SPACE};
    changed();
    EXPECT_EQ(RowCombination(kPluginRow), MAKEWORD(0, HOTKEYF_CONTROL)) << "not while start-up loads the rows";
}

TEST_F(HotKeyRows, RowsRunTheirCommands) {
    HotKeyRun(IDHOTKEY1 + kSecondPluginRow);
    ASSERT_EQ(fake.pluginCalls.size(), 1u);
    EXPECT_EQ(fake.pluginCalls[0], std::make_pair(4, static_cast<INT_PTR>(kSecondPluginRow)));

    // Rows 3 and 7 run their main-menu items.
    const int paused = checkOff;
    HotKeyRun(IDHOTKEY1 + 3);
    EXPECT_NE(checkOff, paused);
    HotKeyRun(IDHOTKEY1 + 3);
    EXPECT_EQ(checkOff, paused);
    const bool hidden = IsDlgButtonChecked(hBoth, IDHIDEICON) == BST_CHECKED;
    HotKeyRun(IDHOTKEY1 + 7);
    EXPECT_NE(IsDlgButtonChecked(hBoth, IDHIDEICON) == BST_CHECKED, hidden);
    EXPECT_EQ(settings.Has("KvHideIcon"), !hidden);
    HotKeyRun(IDHOTKEY1 + 7);

    HotKeyRun(IDHOTKEY1 + countHotKey);  // no such row
    EXPECT_EQ(fake.pluginCalls.size(), 1u);
}

TEST_F(HotKeyRows, TheListScrollsByLinesPagesAndTheWheelWithinItsRange) {
    auto position = [] { return GetScrollPos(hHotKey, SB_VERT); };
    auto labelTop = [] {
        RECT label;
        GetWindowRect(GetDlgItem(hHotKey, IDSTA1), &label);
        return static_cast<int>(label.top);
    };
    auto scroll = [](int code) { SendMessageA(hHotKey, WM_VSCROLL, MAKEWPARAM(code, 0), 0); };
    scroll(SB_TOP);
    RECT list, last;
    GetWindowRect(hHotKey, &list);
    GetWindowRect(GetDlgItem(hHotKey, IDHOTKEY1 + countHotKey - 1), &last);
    int low = 0, high = 0;
    GetScrollRange(hHotKey, SB_VERT, &low, &high);
    EXPECT_EQ(high, last.bottom - list.bottom + 4) << "the last row shows whole at the bottom";
    ASSERT_GT(high, 24) << "14 rows do not fit the list";

    const int top = labelTop();
    scroll(SB_LINEDOWN);
    EXPECT_EQ(position(), 4);
    EXPECT_EQ(labelTop(), top - 4) << "the rows move with the position";
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(position(), 24);
    SendMessageA(hHotKey, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(position(), 20) << "the wheel away from the user scrolls up";
    SendMessageA(hHotKey, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(position(), 24);
    scroll(SB_BOTTOM);
    EXPECT_EQ(position(), high);
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(position(), high) << "never past the range";
    scroll(SB_TOP);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(labelTop(), top);
    scroll(SB_PAGEUP);
    EXPECT_EQ(position(), 0);
}

}  // namespace
