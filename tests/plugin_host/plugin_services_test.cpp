// The services plug-ins ask for, answered in-process: requests reach the
// dispatcher through both host windows, null records and unknown codes answer
// 0, the month of service 31, the next wallpaper of service 30, blocks a
// plug-in hands over are freed, a fetch goes through the host's proxy, and the
// placement a plug-in starts gives the old coordinates back on Escape.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "base/globals.h"
#include "base/main_menu_state.h"
#include "dialogs/place_dialog.h"
#include "engine/open_list.h"
#include "plugin_host_support.h"
#include "plugins/plugin_commands.h"
#include "plugins/plugin_services.h"
#include "resource.h"
#include "test_server.h"
#include "window_wait.h"

namespace {

std::string Answer(LRESULT answer) {
    char* text = reinterpret_cast<char*>(answer);
    std::string copy = text ? text : "<none>";
    free(text);
    return copy;
}

TEST(PluginServices, RequestsReachTheDispatcherThroughBothHostWindows) {
    EXPECT_EQ(SendMessageA(hMain, WM_PLUGINREQUEST, KvSrvOwnerWindow, 0), reinterpret_cast<LRESULT>(hHide));
    EXPECT_EQ(SendMessageA(hContent, WM_PLUGINREQUEST, KvSrvMainMenu, 0), reinterpret_cast<LRESULT>(hMainMenu));
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Whether the system's dialogs move back onto the screen on DM_REPOSITION.
bool SystemRepositionsDialogs() {
    HWND probe = CreateDialogParamA(hInS, MAKEINTRESOURCEA(IDD_INPUT), nullptr, PlainDialog, 0);
    if (!probe) return false;
    SetWindowPos(probe, nullptr, -3000, -3000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(probe, DM_REPOSITION, 0, 0);
    RECT where;
    GetWindowRect(probe, &where);
    DestroyWindow(probe);
    return where.left != -3000;
}

TEST(PluginServices, ARequestAnsweredZeroLeavesTheMainWindowWhereItIs) {
    // WM_USER+2 is also a dialog's DM_REPOSITION: left to the system, a
    // request answered 0 would pull the main window back onto the screen.
    if (!SystemRepositionsDialogs()) GTEST_SKIP() << "Wine's dialogs do not act on DM_REPOSITION";
    SetWindowPos(hMain, nullptr, -3000, -3000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    lastsel.clear();
    EXPECT_EQ(SendMessageA(hMain, WM_PLUGINREQUEST, KvSrvCurrentWallpaper, 0), 0);
    RECT where;
    GetWindowRect(hMain, &where);
    EXPECT_EQ(where.left, -3000);
    SetWindowPos(hMain, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(PluginServices, NullRecordsAndUnknownCodesAnswerZero) {
    for (int code : {KvSrvSavePicture, KvSrvAddToolTip, KvSrvSetLayeredWindow, KvSrvChooseFont, KvSrvPlace,
                     KvSrvLoadPicture, KvSrvImageToBitmap, KvSrvReleasePicture, KvSrvScaleBitmap, KvSrvTrackMenu,
                     KvSrvPreviewBitmap, KvSrvInputText, KvSrvGetInetFile, KvSrvDrawBitmap, KvSrvCheckMenuItem,
                     KvSrvRunCommandLine, KvSrvChooseFolder, KvSrvChooseFile, KvSrvAddToList, KvSrvRemoveFromList,
                     KvSrvDrawCalendar})
        EXPECT_EQ(RunFuncFromPlagin(code, 0), 0) << "service " << code;
    for (int code : {-1, static_cast<int>(KV_SERVICE_COUNT), 1000}) EXPECT_EQ(RunFuncFromPlagin(code, 12345), 0) << code;
    // Without a save function nothing is written, and the answer says so.
    char name[] = "never.bmp";
    s_savepicture save = {name, nullptr};
    EXPECT_NE(RunFuncFromPlagin(KvSrvSavePicture, reinterpret_cast<LPARAM>(&save)), 0);
}

TEST(PluginServices, CalendarMonthsGivenRelativelyCrossTheYear) {
    auto month = [](const char* m, const char* y, int nowMonth, int nowYear) {
        CalendarMonth result = CalendarMonthFromText(m, y, nowMonth, nowYear);
        return std::make_pair(result.month, result.year);
    };
    EXPECT_EQ(month("+3", "", 11, 2024), std::make_pair(2, 2025)) << "November + 3";
    EXPECT_EQ(month("-1", nullptr, 1, 2024), std::make_pair(12, 2023)) << "January - 1";
    EXPECT_EQ(month("+25", "", 11, 2024), std::make_pair(12, 2026));
    EXPECT_EQ(month("-13", "", 1, 2024), std::make_pair(12, 2022));
    EXPECT_EQ(month(nullptr, nullptr, 6, 2024), std::make_pair(6, 2024));
    EXPECT_EQ(month("5", "2030", 6, 2024), std::make_pair(5, 2030));
    EXPECT_EQ(month("", "+1", 6, 2024), std::make_pair(6, 2025));
    EXPECT_EQ(month("+3", "-1", 11, 2024), std::make_pair(2, 2024)) << "both year offsets count";
    // What the clock cannot show falls back to now.
    EXPECT_EQ(month("13", "", 6, 2024), std::make_pair(6, 2024));
    EXPECT_EQ(month("", "1800", 6, 2024), std::make_pair(6, 2024));
    const std::pair<int, int> distant = month("+999999999999", "", 6, 2024);
    EXPECT_EQ(distant.second, 2024);
    EXPECT_TRUE(distant.first >= 1 && distant.first <= 12);
}

TEST(PluginServices, NextAndCurrentWallpaperPathsComeExpanded) {
    SetEnvironmentVariableA("DRAVONEL_PICTURES", "C:\\Pictures");
    wallList.Assign({{"%DRAVONEL_PICTURES%\\one.bmp", '0'}});
    RefreshWallListView();
    EXPECT_EQ(Answer(RunFuncFromPlagin(KvSrvNextWallpaperPath, 0)), "C:\\Pictures\\one.bmp") << "one row: that row";

    wallList.Assign({{"C:\\a.bmp", '0'}, {"C:\\b.bmp", '0'}, {"C:\\c.bmp", '0'}});
    RefreshWallListView();
    SetItemSel(hFile, IDWALLLIST, 1);
    EXPECT_EQ(Answer(RunFuncFromPlagin(KvSrvNextWallpaperPath, 0)), "C:\\c.bmp");
    SetItemSel(hFile, IDWALLLIST, 2);
    EXPECT_EQ(Answer(RunFuncFromPlagin(KvSrvNextWallpaperPath, 0)), "C:\\a.bmp") << "wraps to the first";
    EXPECT_EQ(GetCurrentRow(), 2) << "asking does not move";

    wallList.Clear();
    RefreshWallListView();
    EXPECT_EQ(RunFuncFromPlagin(KvSrvNextWallpaperPath, 0), 0);

    lastsel = "%DRAVONEL_PICTURES%\\now.bmp";
    EXPECT_EQ(Answer(RunFuncFromPlagin(KvSrvCurrentWallpaper, 0)), "C:\\Pictures\\now.bmp");
    lastsel.clear();
    EXPECT_EQ(RunFuncFromPlagin(KvSrvCurrentWallpaper, 0), 0);
}

// Handed blocks that no free followed (before the block was handed again).
std::vector<HeapEvent> Unfreed(const std::vector<HeapEvent>& events, size_t from) {
    std::vector<HeapEvent> left;
    for (size_t i = from; i < events.size(); ++i) {
        if (!events[i].handed) continue;
        size_t next = i + 1;
        while (next < events.size() && events[next].block != events[i].block) ++next;
        if (next == events.size() || events[next].handed) left.push_back(events[i]);
    }
    return left;
}

TEST(PluginServices, BlocksAPluginHandsOverAreFreedByTheHost) {
    if (!FreeWatched()) GTEST_SKIP() << "this program's import of free could not be watched";
    // Start-up took names (23), hot-key and menu records and their texts
    // (3, 7).
    std::vector<HeapEvent> events = HeapEvents();
    std::vector<int> kinds;
    for (const HeapEvent& event : events)
        if (event.handed) kinds.push_back(event.command);
    for (int command : {KvGETDESCRIPTION, KvGETHOTKEY, KvGETMENUITEM})
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), command), kinds.end()) << command;
    for (const HeapEvent& left : Unfreed(events, 0)) ADD_FAILURE() << "a block of command " << left.command << " is held";

    // A replaced command line is the host's to free when it is done.
    Configure(listOrder.back(), "cmdrun", "replace", "/tw");
    const size_t before = HeapEvents().size();
    CmdRun("/anything", 0);
    events = HeapEvents();
    const bool handed = std::any_of(events.begin() + static_cast<long>(before), events.end(),
                                    [](const HeapEvent& event) { return event.handed && event.command == KvCMDRUN; });
    EXPECT_TRUE(handed) << "the plug-in answered with a line of its own";
    EXPECT_TRUE(Unfreed(events, before).empty());
    Configure(listOrder.back(), "cmdrun", "replace", nullptr);
}

TEST(PluginServices, AFetchGoesThroughTheHostsClientWithTheGeneralPagesProxy) {
    TestServer proxy;
    ASSERT_TRUE(proxy.listening());
    proxy.Add(Reply("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nweather: fine STOP the rest"));
    CheckDlgButton(hBoth, IDUSEPROXY, BST_CHECKED);
    SetDlgItemTextA(hBoth, IDPROXY, proxy.base().c_str());
    SetDlgItemTextA(hBoth, IDUSER, "");
    SetDlgItemTextA(hBoth, IDPASS, "");

    char url[] = "http://forecast.invalid/today";
    char stop[] = "STOP";
    int count = -1;
    s_getinetfile request = {url, stop, 0, 0, &count, nullptr, nullptr, nullptr};
    char* body = reinterpret_cast<char*>(RunFuncFromPlagin(KvSrvGetInetFile, reinterpret_cast<LPARAM>(&request)));
    ASSERT_NE(body, nullptr);
    EXPECT_STREQ(body, "weather: fine ") << "up to the stop text";
    EXPECT_EQ(count, 14);
    free(body);
    const std::vector<std::string> requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].compare(0, 44, "GET http://forecast.invalid/today HTTP/1.0\r\n"), 0) << requests[0];
    CheckDlgButton(hBoth, IDUSEPROXY, BST_UNCHECKED);
}

// The placement window of the test below (60 x 50), or none.
BOOL CALLBACK MatchPlacement(HWND window, LPARAM found) {
    RECT rect;
    if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left == 60 &&
        rect.bottom - rect.top == 50)
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

HWND PlacementWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(hMain, nullptr), MatchPlacement, reinterpret_cast<LPARAM>(&found));
    return found;
}

int Number(HWND dialog, int control) { return static_cast<int>(GetDlgItemInt(dialog, control, nullptr, TRUE)); }

TEST(PluginServices, EscapeDuringAPluginsPlacementPutsItsNumbersBack) {
    SetDlgItemInt(hCalen, IDMONTHX, -15, TRUE);
    SetDlgItemInt(hCalen, IDMONTHY, 40, TRUE);
    SetCursorPos(300, 200);
    s_placefunc place = {2, hCalen, IDMONTHX, IDMONTHY, 0, 60, 50};
    std::atomic<bool> followed(false);
    std::thread user([&] {
        followed = WaitUntil([&] { return Number(hCalen, IDMONTHX) == 300 && Number(hCalen, IDMONTHY) == 200; }, 5000);
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &keys[0], sizeof(INPUT));
        Sleep(100);
        SendInput(1, &keys[1], sizeof(INPUT));
        // Should Escape not arrive, the window is closed (keeping the
        // numbers it shows) so that the test ends and fails.
        for (int i = 0; i < 40 && PlacementWindow(); ++i) Sleep(50);
        if (HWND placing = PlacementWindow()) PostMessageA(placing, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(RunFuncFromPlagin(KvSrvPlace, reinterpret_cast<LPARAM>(&place)), 0);
    user.join();
    EXPECT_TRUE(followed) << "the anchor point followed the pointer";
    EXPECT_EQ(Number(hCalen, IDMONTHX), -15);
    EXPECT_EQ(Number(hCalen, IDMONTHY), 40);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(hCalen, IDMONTHX), GWL_STYLE) & ES_READONLY);
}

}  // namespace
