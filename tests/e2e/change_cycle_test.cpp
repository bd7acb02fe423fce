// The wallpaper changes as a user drives it from a second start: next,
// previous, apply again, a picture set directly, and the user's own
// wallpaper while the list is empty.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "scopedwin.h"
#include "settings_file.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

const COLORREF kRed = RGB(220, 20, 20), kGreen = RGB(20, 200, 40), kBlue = RGB(30, 40, 210);

// The system's wallpaper value, put back after the test.
class SystemWallpaper {
public:
    SystemWallpaper() { saved_ = Get(); }
    ~SystemWallpaper() { Set(saved_); }
    static std::string Get() {
        char value[MAX_PATH] = "";
        DWORD size = sizeof value;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
            RegCloseKey(key);
        }
        return value;
    }
    static void Set(const std::string& value) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
            RegCloseKey(key);
        }
    }

private:
    std::string saved_;
};

class ChangeCycle : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(folder_.file("Pictures").c_str(), nullptr);
        CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
        WriteBmpFile(Picture("red"), SolidImage(64, 48, kRed));
        WriteBmpFile(Picture("green"), SolidImage(64, 48, kGreen));
        WriteBmpFile(Picture("blue"), SolidImage(64, 48, kBlue));
        settings_.Set("ini", "eng.ini");
        settings_.Set("KvCeOnSc", "2");  // stretch: the whole screen shows the picture
    }
    std::string Picture(const std::string& name) { return folder_.file("Pictures\\" + name + ".bmp"); }
    void MakeList(std::initializer_list<const char*> names) {
        std::string text;
        for (const char* name : names) text += Picture(name) + "#0\n";
        text += "#" + std::to_string(names.size());
        WriteTextFile(folder_.file("Lists\\colours.lst"), text);
        settings_.Set("KvFileList", "colours");
    }
    bool HandOver(const std::string& line) {
        StartedProcess second(folder_.path(), "Dravonel.exe", line);
        return second.WaitForExit(20000) && second.exitCode() == 0;
    }
    // The composed wallpaper's centre, once it has been written.
    COLORREF Centre() {
        BmpImage image;
        if (!ReadBmpFile(folder_.file("KvBmp.bmp"), image) || image.width == 0) return CLR_INVALID;
        return image.at(image.width / 2, image.height / 2);
    }
    bool ShowsColour(COLORREF colour) {
        return WaitUntil([&] { return Centre() == colour; }, 5000);
    }
    int Index() { return settings_.GetInt("KvIndex", -1); }

    SystemWallpaper wallpaper_;
    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
};

TEST_F(ChangeCycle, NextAndPreviousStepThroughTheListAndWrap) {
    MakeList({"red", "green", "blue"});
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_EQ(Index(), 1);
    EXPECT_TRUE(ShowsColour(kGreen));
    EXPECT_EQ(SystemWallpaper::Get(), folder_.file("KvBmp.bmp")) << "the composed file is the wallpaper";
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_EQ(Index(), 2);
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_EQ(Index(), 0) << "from the last row to the first";
    EXPECT_TRUE(ShowsColour(kRed));
    ASSERT_TRUE(HandOver("/pr"));
    EXPECT_EQ(Index(), 2) << "from the first row back to the last";
    EXPECT_TRUE(ShowsColour(kBlue));
    ASSERT_TRUE(HandOver("/nx /nx"));
    EXPECT_EQ(Index(), 0) << "a switch given twice runs once";
    EXPECT_TRUE(app.Close());
}

// The rows of an order file, one index a line.
std::vector<int> OrderRows(const std::string& path) {
    std::string text;
    ReadTextFile(path, text);
    std::vector<int> rows;
    size_t begin = 0;
    for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1)
        rows.push_back(atoi(text.substr(begin, end - begin).c_str()));
    return rows;
}

std::vector<int> Sorted(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST_F(ChangeCycle, TheRandomOrderShowsEveryRowOnceAndRunsOnAfterARestart) {
    const COLORREF kYellow = RGB(230, 220, 30), kGrey = RGB(120, 120, 120);
    WriteBmpFile(Picture("yellow"), SolidImage(64, 48, kYellow));
    WriteBmpFile(Picture("grey"), SolidImage(64, 48, kGrey));
    WriteBmpFile(Picture("late"), SolidImage(64, 48, RGB(10, 10, 10)));
    MakeList({"red", "green", "blue", "yellow", "grey"});
    const COLORREF colours[] = {kRed, kGreen, kBlue, kYellow, kGrey};
    settings_.Set("KvRandom", "1");
    settings_.Set("KvUpdateList", "1");  // missing files are looked for at every start
    const std::string order = folder_.file("Lists\\colours.rnd");
    std::vector<int> added;
    {
        DravonelApp app(folder_);
        ASSERT_TRUE(app.WaitReady());
        ASSERT_TRUE(HandOver("/nx"));
        const std::vector<int> drawn = OrderRows(order);
        ASSERT_EQ(Sorted(drawn), (std::vector<int>{0, 1, 2, 3, 4}));
        EXPECT_EQ(drawn[0], 0) << "drawn from the current row, which comes first";
        EXPECT_EQ(Index(), drawn[1]);
        EXPECT_TRUE(ShowsColour(colours[drawn[1]]));
        ASSERT_TRUE(HandOver("/nx"));
        EXPECT_EQ(Index(), drawn[2]);
        ASSERT_TRUE(HandOver("/pr"));
        EXPECT_EQ(Index(), drawn[1]) << "back along the order";
        ASSERT_TRUE(HandOver("/nx /nx"));
        ASSERT_TRUE(HandOver("/nx"));
        ASSERT_TRUE(HandOver("/nx"));
        EXPECT_EQ(Index(), drawn[4]) << "every row once";
        EXPECT_EQ(OrderRows(order), drawn) << "steps do not rewrite the order";

        // An addition draws a new order of all six rows, from the row then current.
        ASSERT_TRUE(HandOver("\"" + Picture("late") + "\""));
        added = OrderRows(order);
        ASSERT_EQ(Sorted(added), (std::vector<int>{0, 1, 2, 3, 4, 5}));
        ASSERT_TRUE(HandOver("/nx"));
        EXPECT_EQ(Index(), added[1]);
        EXPECT_TRUE(app.Close());
    }
    std::string kept;
    ReadTextFile(order, kept);
    DravonelApp again(folder_);
    ASSERT_TRUE(again.WaitReady());
    std::string atStart;
    ReadTextFile(order, atStart);
    EXPECT_EQ(atStart, kept) << "starting keeps the order";
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_EQ(Index(), added[2]) << "the order runs on where it stopped";
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_EQ(Index(), added[3]);
    EXPECT_TRUE(again.Close());
}

TEST_F(ChangeCycle, AdditionsGoToTheTopAndTheCurrentPictureStaysCurrent) {
    MakeList({"red", "green", "blue"});
    WriteBmpFile(Picture("new"), SolidImage(64, 48, RGB(10, 10, 10)));
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver("/nx"));
    ASSERT_EQ(Index(), 1);
    ASSERT_TRUE(HandOver("\"" + Picture("new") + "\""));
    std::string list;
    ReadTextFile(folder_.file("Lists\\colours.lst"), list);
    EXPECT_EQ(list.find(Picture("new")), 0u) << "the addition is the first row";
    EXPECT_EQ(Index(), 2) << "green moved one row down and is still the current one";
    DeleteFileA(folder_.file("KvBmp.bmp").c_str());
    ASSERT_TRUE(HandOver("/uw"));
    EXPECT_TRUE(ShowsColour(kGreen)) << "applied again, the desktop shows the same picture";
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, AWallpaperThatCannotBeWrittenIsToldOnceAndWrittenWhenItCanBe) {
    MakeList({"red", "green", "blue"});
    const std::string composed = folder_.file("KvBmp.bmp");
    WriteBmpFile(composed, SolidImage(8, 8, kBlue));
    SetFileAttributesA(composed.c_str(), FILE_ATTRIBUTE_READONLY);
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    // The box is shown while the command runs: the second start waits on it.
    StartedProcess first(folder_.path(), "Dravonel.exe", "/nx");
    HWND box = WaitForTopWindow("#32770", "KvBmp.bmp", app.process().id(), 10000);
    ASSERT_NE(box, nullptr) << "no box titled with the composed file";
    EXPECT_EQ(BoxText(box), folder_.EnglishText(64) + "\r\n\r\n" + composed);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(first.WaitForExit(10000));
    ASSERT_TRUE(HandOver("/nx")) << "told once: the next change does not ask again";
    EXPECT_EQ(Centre(), kBlue) << "the old file is untouched";

    SetFileAttributesA(composed.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_TRUE(ShowsColour(kRed)) << "the third row, written once the file can be";
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, AOneRowListShowsItsRowAgain) {
    MakeList({"green"});
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver("/nx"));
    EXPECT_TRUE(ShowsColour(kGreen));
    DeleteFileA(folder_.file("KvBmp.bmp").c_str());
    ASSERT_TRUE(HandOver("/pr"));
    EXPECT_TRUE(ShowsColour(kGreen)) << "previous composes row 0 again";
    EXPECT_EQ(Index(), 0);
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, APictureSetDirectlyLeavesTheListsAlone) {
    MakeList({"red", "green"});
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    std::string list;
    ReadTextFile(folder_.file("Lists\\colours.lst"), list);
    ASSERT_TRUE(HandOver("\"" + Picture("blue") + "\" /tw \"C:\\ignored.bmp\""));
    EXPECT_TRUE(ShowsColour(kBlue));
    std::string after;
    ReadTextFile(folder_.file("Lists\\colours.lst"), after);
    EXPECT_EQ(after, list);
    EXPECT_EQ(Index(), -1) << "the list's row did not move";
    EXPECT_EQ(settings_.Get("WallRet"), Picture("blue"));
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, WithoutAListTheUsersOwnWallpaperIsComposedAndKept) {
    SystemWallpaper::Set(Picture("blue"));
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver("/uw"));
    EXPECT_TRUE(ShowsColour(kBlue));
    EXPECT_EQ(settings_.Get("WallRet"), Picture("blue"));
    ASSERT_EQ(SystemWallpaper::Get(), folder_.file("KvBmp.bmp"));

    // Now the system shows our own file: the kept wallpaper is used again,
    // not the composition of a composition.
    WriteBmpFile(Picture("blue"), SolidImage(64, 48, kRed));
    ASSERT_TRUE(HandOver("/uw"));
    EXPECT_TRUE(ShowsColour(kRed));
    EXPECT_EQ(settings_.Get("WallRet"), Picture("blue"));
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, ASwitchInsideANameIsTakenOutOfIt) {
    MakeList({"red", "green"});
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver("\"" + folder_.file("Pictures\\sun/nxset.bmp") + "\""));
    std::string list;
    ReadTextFile(folder_.file("Lists\\colours.lst"), list);
    EXPECT_NE(list.find(folder_.file("Pictures\\sunset.bmp") + "#0\r\n"), std::string::npos);
    EXPECT_EQ(list.find("/nx"), std::string::npos);
    EXPECT_TRUE(ShowsColour(kGreen)) << "and the switch ran";
    EXPECT_TRUE(app.Close());
}

// Chooses a period on the wallpaper page the way the drop-down does.
void ChoosePeriod(HWND page, int index) {
    HWND combo = GetDlgItem(page, 10434);
    PostMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(10434, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Answers the seconds dialog of "Other..." (Cancel for an empty answer).
bool AnswerSeconds(DWORD processId, const char* answer) {
    HWND dialog = WaitForTopWindow("#32770", "Change period", processId, 10000);
    if (!dialog) return false;
    if (!answer) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetDlgItemTextA(dialog, 1001, answer);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    return WaitUntil([&] { return !IsWindow(dialog); }, 5000);
}

std::string ComboEntry(HWND page, int index) { return ComboText(page, 10434, index); }

TEST_F(ChangeCycle, AnOtherPeriodIsAskedInSeconds) {
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(10434);
    ASSERT_NE(page, nullptr);
    ChoosePeriod(page, 14);
    ASSERT_TRUE(AnswerSeconds(app.process().id(), "90"));
    // The two keys are written one after the other: wait for both.
    EXPECT_TRUE(WaitUntil(
        [&] { return settings_.Get("TimerOther") == "90" && settings_.Get("KvPeriod") == "14"; }, 3000))
        << "TimerOther " << settings_.Get("TimerOther") << ", KvPeriod " << settings_.Get("KvPeriod");
    EXPECT_EQ(ComboEntry(page, 14), "Other: 90 s");

    ChoosePeriod(page, 3);
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get("KvPeriod") == "3"; }, 3000));
    ChoosePeriod(page, 14);
    ASSERT_TRUE(AnswerSeconds(app.process().id(), nullptr));
    EXPECT_TRUE(WaitUntil([&] { return SendDlgItemMessageA(page, 10434, CB_GETCURSEL, 0, 0) == 3; }, 3000))
        << "cancel returns to the period in force";
    EXPECT_EQ(settings_.Get("KvPeriod"), "3");
    EXPECT_TRUE(WaitUntil([&] { return !settings_.Has("TimerOther"); }, 3000))
        << "cancelled from another period: the other period is dropped";
    EXPECT_EQ(ComboEntry(page, 14), "Other:");

    ChoosePeriod(page, 14);
    ASSERT_TRUE(AnswerSeconds(app.process().id(), "0"));
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get("KvPeriod") == "0"; }, 3000)) << "0 seconds means never";
    EXPECT_EQ(SendDlgItemMessageA(page, 10434, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(app.Close());
}

// A visible window over the whole work area, as a full-screen program.
class FullScreenWindow {
public:
    FullScreenWindow() {
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        window_ = CreateWindowExA(0, "STATIC", "film", WS_POPUP | WS_VISIBLE, work.left, work.top,
                                  work.right - work.left, work.bottom - work.top, nullptr, nullptr, nullptr, nullptr);
    }
    ~FullScreenWindow() { Close(); }
    void Close() {
        if (window_) DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    HWND window_;
};

TEST_F(ChangeCycle, ATimedChangeHeldBackIsSkippedNotRetriedEarly) {
    MakeList({"red", "green", "blue"});
    settings_.Set("KvPeriod", "1");  // every 5 seconds
    FullScreenWindow film;
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    const DWORD start = GetTickCount();
    auto at = [&](DWORD milliseconds) {
        DWORD now = GetTickCount() - start;
        if (now < milliseconds) WaitUntil([] { return false; }, milliseconds - now);
    };
    at(6500);
    EXPECT_EQ(Index(), -1) << "the tick at 5 s was held back";
    film.Close();
    at(8500);
    EXPECT_EQ(Index(), -1) << "no early retry after the window went";
    EXPECT_TRUE(WaitUntil([&] { return Index() == 1; }, 4500)) << "the next tick changes";
    EXPECT_TRUE(ShowsColour(kGreen));
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, APauseThatLeavesChangesAloneKeepsThePeriodRunning) {
    MakeList({"red", "green", "blue"});
    settings_.Set("KvPeriod", "14");
    settings_.Set("TimerOther", "1");
    settings_.Set("KvNoChan", "1");  // the pause does not stop wallpaper changes
    settings_.Set("KvCheckOff", "1");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(WaitUntil([&] { return Index() == 1; }, 6000));
    EXPECT_TRUE(WaitUntil([&] { return Index() == 2; }, 6000)) << "a timed change in the pause must not end the rotation";
    EXPECT_TRUE(app.Close());
}

TEST_F(ChangeCycle, TheStartCommandWithExEndsTheProgramAfterFifteenSeconds) {
    settings_.Set("KvCmdStart", "/ex");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_FALSE(app.process().WaitForExit(12000)) << "still running after 12 s";
    EXPECT_TRUE(app.process().WaitForExit(8000)) << "gone by 20 s";
    EXPECT_EQ(app.process().exitCode(), 0u);
}

}  // namespace
