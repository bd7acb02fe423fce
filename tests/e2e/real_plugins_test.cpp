// The delivered plug-ins in the running program, each loaded from the dist
// tree's Plugins folder and doing one thing it is there for through the
// host's real services. The sample plug-in rides along only to read the main
// menu, which another process cannot.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "plugin_spy.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

std::string TwoDigits(int value) {
    char text[8];
    snprintf(text, sizeof text, "%02d", value);
    return text;
}

int CountColour(const BmpImage& image, COLORREF colour, const RECT& area) {
    int count = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(image.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(image.width, area.right); ++x)
            count += image.at(x, y) == colour;
    return count;
}

class DeliveredPlugins : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InstallSample(folder_, "zz_spy"));
        settings_.Set("ini", "eng.ini");
    }
    // Three pictures in an open list.
    void MakeList() {
        CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
        std::string list;
        for (int i = 0; i < 3; ++i) {
            const std::string picture = folder_.file("p" + std::to_string(i) + ".bmp");
            WriteBmpFile(picture, SolidImage(16, 12, RGB(70 * i, 50, 90)));
            list += picture + "#0\n";
        }
        WriteTextFile(folder_.file("Lists\\three.lst"), list + "#3");
        settings_.Set("KvFileList", "three");
    }
    std::string UserFile(const char* extension) {
        std::string path = settings_.path();
        return path.substr(0, path.rfind('.')) + extension;
    }

    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
};

TEST_F(DeliveredPlugins, EachLoadsAndShowsItsPageOrItsMenuItems) {
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    const std::vector<std::string> tree = TreeItemTexts(GetDlgItem(app.main(), 1012));
    const auto root = std::find(tree.begin(), tree.end(), "Plug-ins");
    ASSERT_NE(root, tree.end());
    const std::vector<std::string> pages(root + 1, tree.end());
    for (const char* name : {"Clock", "Dates", "Folder monitor", "Joke"})
        EXPECT_NE(std::find(pages.begin(), pages.end(), name), pages.end()) << name;

    // The reminders have no page: their two items, the second with its
    // submenu of notes, stand in the main menu.
    MenuDump menu;
    ASSERT_TRUE(DumpMainMenu(folder_, "zz_spy", menu));
    const MenuEntry* reminders = menu.Find("Reminders");
    const MenuEntry* notes = menu.Find("Notes");
    ASSERT_NE(reminders, nullptr);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->id, reminders->id + 1);
    EXPECT_TRUE(notes->submenu) << "attached once the menu was complete";
    EXPECT_TRUE(app.Close());
}

TEST_F(DeliveredPlugins, WhileTheJokeRunsTheNextWallpaperIsRefused) {
    MakeList();
    // Only the harmless effect: a wallpaper change an hour from now. A hot
    // key set spares the confirmation.
    for (const char* effect : {"KvPRtoWO", "KvICHide", "KvHDeskt", "KvHWind", "KvHCurs", "KvRain"})
        settings_.Set(effect, "0");
    settings_.Set("KvJChWall", "0");
    settings_.Set("KvJPeriod", "3600");
    settings_.Set("HotKeyJoke", std::to_string(MAKEWORD(VK_F11, HOTKEYF_CONTROL | HOTKEYF_SHIFT)), "HotKey");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    MenuDump menu;
    ASSERT_TRUE(DumpMainMenu(folder_, "zz_spy", menu));
    const MenuEntry* joke = menu.Find("Start the joke");
    ASSERT_NE(joke, nullptr) << "the joke's item, captioned by the joke";

    ChooseMenuItem(menu, joke->id);
    ASSERT_TRUE(WaitUntil([&] {
        MenuDump running;
        return DumpMainMenu(folder_, "zz_spy", running) && running.Find("Stop the joke");
    }, 5000)) << "the joke runs and says so in its item";
    EXPECT_TRUE(HandOver(folder_, "/nx"));
    WaitUntil([] { return false; }, 500);
    EXPECT_EQ(settings_.GetInt("KvIndex", 0), 0) << "refused while the joke runs";

    ChooseMenuItem(menu, joke->id);
    ASSERT_TRUE(WaitUntil([&] {
        MenuDump stopped;
        return DumpMainMenu(folder_, "zz_spy", stopped) && stopped.Find("Start the joke");
    }, 5000));
    EXPECT_TRUE(HandOver(folder_, "/nx"));
    EXPECT_TRUE(WaitUntil([&] { return settings_.GetInt("KvIndex", 0) == 1; }, 5000)) << "allowed again";
    EXPECT_TRUE(app.Close());
}

BOOL CALLBACK FindClockWindow(HWND window, LPARAM data) {
    auto* query = reinterpret_cast<std::pair<DWORD, HWND>*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    RECT rect;
    if (process == query->first && IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.left == 100 &&
        rect.top == 100 && rect.right - rect.left == 80 && rect.bottom - rect.top == 80) {
        query->second = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(DeliveredPlugins, TheClockShowsItsWindow) {
    settings_.Set("KvClockShow", "1");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    std::pair<DWORD, HWND> query = {app.process().id(), nullptr};
    EXPECT_TRUE(WaitUntil([&] {
        EnumWindows(FindClockWindow, reinterpret_cast<LPARAM>(&query));
        return query.second != nullptr;
    }, 5000)) << "an 80-pixel analog clock at (100, 100)";
    EXPECT_TRUE(app.Close());
}

TEST_F(DeliveredPlugins, TheDatesColourTheirDaysInTheCalendarAndPrintTodaysEntry) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int other = now.wDay == 10 ? 11 : 10;  // today has colours of its own
    const COLORREF dayColour = RGB(250, 20, 200), printColour = RGB(10, 220, 30);
    CreateDirectoryA(folder_.file("Dates").c_str(), nullptr);
    WriteTextFile(folder_.file("Dates\\e2e.dte"), "[" + TwoDigits(now.wMonth) + "]\r\n" + TwoDigits(now.wDay) +
                                                     "=Today\r\n" + TwoDigits(other) + "=Other\r\n");
    const std::string dst = UserFile(".dst");
    WritePrivateProfileStringA("e2e", "KvPrintP", "0", dst.c_str());
    WritePrivateProfileStringA("e2e", "KvPosP", "100 600", dst.c_str());
    WritePrivateProfileStringA("e2e", "KvHeight", "40", dst.c_str());
    WritePrivateProfileStringA("e2e", "KvColPBoth", std::to_string(printColour).c_str(), dst.c_str());
    WritePrivateProfileStringA("e2e", "KvColPWCh", "0", dst.c_str());
    WritePrivateProfileStringA("e2e", "KvColPW", std::to_string(dayColour).c_str(), dst.c_str());
    settings_.Set("KvDrMon", "0");
    settings_.Set("KvMonth", "500 100 4");
    settings_.Set("KvBackGr", "0");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    EXPECT_TRUE(HandOver(folder_, "/uw"));
    BmpImage wallpaper;
    ASSERT_TRUE(WaitUntil([&] { return ReadBmpFile(folder_.file("KvBmp.bmp"), wallpaper) && wallpaper.width > 0; }, 5000));
    const RECT calendar = {500, 100, wallpaper.width, wallpaper.height};
    EXPECT_GT(CountColour(wallpaper, dayColour, calendar), 0) << "the entry's day in the file's colour";
    const RECT printed = {100, 600, 500, 700};
    EXPECT_GT(CountColour(wallpaper, printColour, printed), 0) << "today's entry printed";
    EXPECT_EQ(CountColour(wallpaper, printColour, calendar), 0);
    EXPECT_TRUE(app.Close());
}

TEST_F(DeliveredPlugins, TheFolderMonitorPutsANewPictureIntoItsList) {
    const std::string watched = folder_.file("Watched");
    CreateDirectoryA(watched.c_str(), nullptr);
    CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
    WriteTextFile(folder_.file("Lists\\watched.lst"), "#0");
    settings_.Set("0", watched + ":watched", "FileMon");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    // The monitor's worker thread starts with the settings and may be late
    // to watch the folder on a busy machine: a picture arrives every few
    // seconds until one is taken.
    ASSERT_TRUE(WriteBmpFile(folder_.file("arrived.bmp"), SolidImage(8, 8, RGB(1, 2, 3))));
    std::string list;
    bool taken = false;
    for (int attempt = 0; attempt < 5 && !taken; ++attempt) {
        const std::string name = "\\arrived" + std::to_string(attempt) + ".bmp";
        ASSERT_TRUE(CopyFileA(folder_.file("arrived.bmp").c_str(), (watched + name).c_str(), FALSE));
        taken = WaitUntil([&] {
            return ReadTextFile(folder_.file("Lists\\watched.lst"), list) &&
                   list.find(watched + "\\arrived") != std::string::npos;
        }, 4000);
    }
    EXPECT_TRUE(taken) << list;
    EXPECT_NE(list.find(".bmp#0"), std::string::npos) << list;
    EXPECT_TRUE(app.Close());
}

}  // namespace
