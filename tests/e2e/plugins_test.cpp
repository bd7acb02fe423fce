// Plug-ins in the running program, with the sample plug-in standing in for
// them: one that refuses to exit keeps the program alive on every way out;
// its command-line answer is the line the program goes on with and it draws
// into the composed wallpaper; at the end its page goes before its module;
// the guide's minimal plug-in, built as the guide says, adds a working
// main-menu item; and modules of the other kind are skipped and named.
#include <gtest/gtest.h>
#include <windows.h>

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

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(150);
}

// The tray's right click opens the main menu; the keys walk it.
bool TrayMenuKeys(DravonelApp& app, std::initializer_list<WORD> keys) {
    PostMessageA(app.main(), 0x207, 212, WM_RBUTTONDOWN);
    if (!WaitForTopWindow("#32768", nullptr, app.process().id(), 5000)) return false;
    for (WORD key : keys) PressKey(key);
    return true;
}

class PluginsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveDistPlugins(folder_);
        ASSERT_TRUE(InstallSample(folder_, "spy"));
        ConfigureSample(folder_, "spy", "page", "show", "1");
        ConfigureSample(folder_, "spy", "page", "name", "Spy");
        settings_.Set("ini", "eng.ini");
    }
    int Asked(const std::string& line) { return CountLines(CallLines(folder_), line); }

    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
};

TEST_F(PluginsEndToEnd, APluginThatRefusesToExitKeepsTheProgramOnEveryWayOut) {
    ConfigureSample(folder_, "spy", "answer", "11", "1");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    // The tray menu's last item, Exit.
    ASSERT_TRUE(TrayMenuKeys(app, {VK_UP, VK_RETURN}));
    ASSERT_TRUE(WaitUntil([&] { return Asked("spy 11 0 0") == 1; }, 5000));
    EXPECT_FALSE(app.process().WaitForExit(1000)) << "the tray menu's Exit";

    // A second start with "/ex".
    EXPECT_TRUE(HandOver(folder_, "/ex"));
    EXPECT_EQ(Asked("spy 11 0 0"), 2);
    EXPECT_FALSE(app.process().WaitForExit(1000)) << "\"/ex\"";

    // The language menu: the language not chosen yet.
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder_.file("Language\\*.ini").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do files.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    size_t russian = 0;
    while (russian < files.size() && files[russian] != "rus.ini") ++russian;
    ASSERT_LT(russian, files.size());
    ASSERT_TRUE(TrayMenuKeys(app, {VK_UP, VK_UP, VK_UP, VK_RIGHT}));
    for (size_t i = 0; i < russian; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return Asked("spy 11 0 0") == 3; }, 5000));
    EXPECT_FALSE(app.process().WaitForExit(1000)) << "the language switch";
    // Refused before anything changed: no second program beside this one,
    // still found under its title, the language as it was.
    EXPECT_EQ(WindowText(app.main()), "Dravonel");
    EXPECT_EQ(FindTopWindow("#32770", "Dravonel", 0), app.main());
    EXPECT_EQ(settings_.Get("ini"), "eng.ini");

    // WM_CLOSE to the hidden main window.
    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Asked("spy 11 0 0") == 4; }, 5000));
    EXPECT_FALSE(app.process().WaitForExit(1000)) << "WM_CLOSE";

    // Agreeing, it is let go: its page goes while its code is still there.
    ConfigureSample(folder_, "spy", "answer", "11", nullptr);
    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.process().WaitForExit(10000));
    EXPECT_EQ(app.process().exitCode(), 0u);
    const std::vector<std::string> lines = CallLines(folder_);
    const int destroyed = LineIndex(lines, "spy page destroyed");
    const int unloaded = LineIndex(lines, "spy unloaded");
    ASSERT_GE(destroyed, 0);
    ASSERT_GE(unloaded, 0) << "unloaded, not left to the end of the process";
    EXPECT_LT(destroyed, unloaded);
}

TEST_F(PluginsEndToEnd, APluginsCommandLineIsTheOneThatRunsAndItsDrawingIsInTheWallpaper) {
    const std::string picture = folder_.file("blue.bmp");
    ASSERT_TRUE(WriteBmpFile(picture, SolidImage(64, 48, RGB(30, 40, 210))));
    settings_.Set("KvCeOnSc", "2");  // stretched over the screen
    ConfigureSample(folder_, "spy", "cmdrun", "replace", (picture + " /tw").c_str());
    ConfigureSample(folder_, "spy", "draw", "colour", "255");
    ConfigureSample(folder_, "spy", "draw", "x", "10");
    ConfigureSample(folder_, "spy", "draw", "y", "20");
    ConfigureSample(folder_, "spy", "draw", "w", "40");
    ConfigureSample(folder_, "spy", "draw", "h", "30");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    EXPECT_TRUE(HandOver(folder_, "/sample-whatever"));
    EXPECT_EQ(Asked("spy 17 /sample-whatever"), 1);
    BmpImage wallpaper;
    ASSERT_TRUE(WaitUntil([&] { return ReadBmpFile(folder_.file("KvBmp.bmp"), wallpaper) && wallpaper.width > 0; }, 5000))
        << "the picture the plug-in named was set";
    EXPECT_EQ(wallpaper.at(wallpaper.width / 2, wallpaper.height / 2), RGB(30, 40, 210));
    EXPECT_EQ(wallpaper.at(12, 22), RGB(255, 0, 0)) << "drawn by the plug-in over the picture";
    EXPECT_EQ(wallpaper.at(49, 49), RGB(255, 0, 0));
    EXPECT_EQ(wallpaper.at(50, 50), RGB(30, 40, 210));
    ConfigureSample(folder_, "spy", "cmdrun", "replace", nullptr);
    EXPECT_TRUE(app.Close());
}

TEST_F(PluginsEndToEnd, TheGuidesMinimalPluginShowsTheNextWallpaperFromItsMenuItem) {
    ASSERT_TRUE(InstallSample(folder_, "nextpic", "nextpic.dll"));
    CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
    std::string list;
    for (int i = 0; i < 3; ++i) {
        const std::string picture = folder_.file("p" + std::to_string(i) + ".bmp");
        WriteBmpFile(picture, SolidImage(16, 12, RGB(60 * i, 90, 30)));
        list += picture + "#0\n";
    }
    WriteTextFile(folder_.file("Lists\\three.lst"), list + "#3");
    settings_.Set("KvFileList", "three");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    MenuDump menu;
    ASSERT_TRUE(DumpMainMenu(folder_, "spy", menu));
    const MenuEntry* item = menu.Find("Next picture");
    ASSERT_NE(item, nullptr) << "the guide's item is in the main menu";
    ChooseMenuItem(menu, item->id);
    EXPECT_TRUE(WaitUntil([&] { return settings_.GetInt("KvIndex", 0) == 1; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return FileExists(folder_.file("KvBmp.bmp")); }, 5000)) << "and composed";
    EXPECT_TRUE(app.Close());
}

// A plug-in and a picture loader of the other kind (32-bit ones beside the
// x64 program, or the reverse) cannot load into this process: they are
// skipped without harm and named on the Plug-ins page, and the modules of
// the program's own kind go on working.
TEST_F(PluginsEndToEnd, ModulesOfTheOtherKindAreSkippedAndNamedOnThePluginsPage) {
    const std::string otherPlugin = std::string(OTHER_KIND_SAMPLES) + "\\sample_plugin.dll";
    const std::string otherLoader = std::string(OTHER_KIND_DIST) + "\\Tool\\PixCtx.dll";
    if (!FileExists(otherPlugin) || !FileExists(otherLoader))
        GTEST_SKIP() << "no build of the other kind beside this one (scripts/build.sh makes both)";
    ASSERT_TRUE(CopyFileA(otherPlugin.c_str(), folder_.file("Plugins\\other.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(otherLoader.c_str(), folder_.file("Tool\\PixCtx.dll").c_str(), FALSE));
    ConfigureSample(folder_, "other", "page", "show", "1");
    ConfigureSample(folder_, "other", "page", "name", "Other");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    const std::vector<std::string> lines = CallLines(folder_);
    auto starts = [&](const char* prefix) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    };
    EXPECT_EQ(starts("spy 0 0 "), 1) << "the own kind's plug-in is created";
    EXPECT_EQ(starts("other "), 0) << "the other kind's is never called";
    const std::vector<std::string> pages = TreeItemTexts(GetDlgItem(app.main(), 1012));
    EXPECT_NE(std::find(pages.begin(), pages.end(), "Spy"), pages.end());
    EXPECT_EQ(std::find(pages.begin(), pages.end(), "Other"), pages.end());

    HWND page = app.Page(1019);
    ASSERT_NE(page, nullptr);
    const std::string text = ControlText(page, 1019);
    const char* ownKind = sizeof(void*) == 8 ? "64-bit Windows (x64)" : "32-bit Windows";
    const char* otherKind = sizeof(void*) == 8 ? "32-bit Windows" : "64-bit Windows (x64)";
    for (const std::string& file : {folder_.file("Plugins\\other.dll"), folder_.file("Tool\\PixCtx.dll")}) {
        const std::string line = file + " was not loaded: it is a module for " + otherKind +
                                 ", and this Dravonel is for " + ownKind + ".";
        EXPECT_NE(text.find(line), std::string::npos) << text;
    }
    EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(page, 1019), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(ControlText(page, 1018), "Modules that were not loaded");

    EXPECT_TRUE(app.Close()) << "and it ends as asked";
}

}  // namespace
