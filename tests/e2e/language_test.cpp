// Every text comes from the chosen language file; a missing text shows its
// number. The tray menu switches the language by restarting the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "scopedwin.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

TEST(LanguageFile, AMissingTextShowsItsNumber) {
    ProgramFolder folder;
    WriteTextFile(folder.file("Language\\only.ini"), "[MAIN]\r\n0=Root only\r\n");
    SettingsFile(folder.path()).Set("ini", "only.ini");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    // The host's items, then the plug-ins' root (text 6); the plug-ins'
    // pages below it fall back to names of their own.
    std::vector<std::string> expected = {"Root only", "1", "2", "3", "4", "5", "6"};
    std::vector<std::string> tree = TreeItemTexts(GetDlgItem(app.main(), 1012));
    ASSERT_GE(tree.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(tree.begin(), tree.begin() + 7), expected);
    for (size_t i = expected.size(); i < tree.size(); ++i) EXPECT_EQ(tree[i].compare(0, 2, "Kv"), 0) << tree[i];
    HWND page = app.Page(10301);
    EXPECT_EQ(ControlText(page, 10301), "10301");
    EXPECT_EQ(ComboSelectedText(page, 10351), "3");
    EXPECT_EQ(ControlText(app.Panel(), 1010), "1010");
    EXPECT_TRUE(app.Close());
}

TEST(LanguageFile, RussianIsTheDefaultAndReadInCodePage1251) {
    if (GetACP() != 1251) GTEST_SKIP() << "needs the Russian ANSI code page (run with LANG=ru_RU.UTF-8)";
    ProgramFolder folder;
    std::string bytes;
    ASSERT_TRUE(ReadTextFile(folder.file("Language\\rus.ini"), bytes));
    EXPECT_NE(bytes.find("0=\xCE\xE1\xF9\xE8\xE5"), std::string::npos) << "\"Общие\" in Windows-1251";

    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    std::vector<std::string> tree = TreeItemTexts(GetDlgItem(app.main(), 1012));
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree[0], "Общие");
    EXPECT_EQ(ControlText(app.Page(10301), 10310), "Во время паузы останавливать");
    EXPECT_TRUE(app.Close());
}

// The language files in the order the system lists them (the menu's order).
std::vector<std::string> LanguageFilesInMenuOrder(const ProgramFolder& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.file("Language\\*.ini").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do files.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return files;
}

void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(150);
}

HWND OpenPopupMenuOf(DWORD processId) { return WaitForTopWindow("#32768", nullptr, processId, 5000); }

TEST(LanguageMenu, ChoosingAnotherLanguageRestartsWithItsTexts) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    std::vector<std::string> files = LanguageFilesInMenuOrder(folder);
    size_t english = 0;
    while (english < files.size() && files[english] != "eng.ini") ++english;
    ASSERT_LT(english, files.size());

    // Right click on the tray icon, then: Up selects the last item (Exit),
    // two more reach the language submenu, Right opens it.
    PostMessageA(app.main(), 0x207, 212, WM_RBUTTONDOWN);
    ASSERT_NE(OpenPopupMenuOf(app.process().id()), nullptr);
    for (WORD key : {VK_UP, VK_UP, VK_UP, VK_RIGHT}) PressKey(key);
    for (size_t i = 0; i < english; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);

    ASSERT_TRUE(app.process().WaitForExit(15000)) << "the old instance exits";
    EXPECT_EQ(app.process().exitCode(), 0u);
    HWND restarted = WaitForTopWindow("#32770", "Dravonel", 0, 30000);
    ASSERT_NE(restarted, nullptr) << "a new instance starts";
    DWORD newId = 0;
    GetWindowThreadProcessId(restarted, &newId);
    ScopedHandle newProcess(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, newId));

    EXPECT_EQ(SettingsFile(folder.path()).Get("ini"), "eng.ini");
    std::vector<std::string> tree = TreeItemTexts(GetDlgItem(restarted, 1012));
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree[0], "General");

    // End the instance the program started: hidden window, WM_CLOSE exits.
    PostMessageA(restarted, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(newProcess.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(newProcess.get(), 1);
}

}  // namespace
