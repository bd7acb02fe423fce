// A program folder that takes no files (a copy under Program Files without
// administrator rights): the user is told where to put the program, in the
// program's language, and the program still runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "window_wait.h"

namespace {

std::string LanguageText(const ProgramFolder& folder, const char* number) {
    char text[100] = "";
    // No settings can be read here, so the program speaks its default language.
    GetPrivateProfileStringA("STRING", number, "", text, sizeof text, folder.file("Language\\rus.ini").c_str());
    return text;
}

TEST(FolderNotice, AFolderThatTakesNoFilesIsExplainedAndTheProgramRunsOn) {
    ProgramFolder folder;
    // "Users" cannot be made a folder: nothing the user sets could be kept.
    ASSERT_TRUE(WriteTextFile(folder.file("Users"), ""));
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());

    const std::string title = LanguageText(folder, "81");
    ASSERT_FALSE(title.empty());
    HWND notice = WaitForTopWindow("#32770", title.c_str(), app.process().id(), 10000);
    ASSERT_NE(notice, nullptr);
    const std::string text = ControlText(notice, 0xFFFF);
    EXPECT_NE(text.find(folder.path()), std::string::npos) << text;
    char local[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)));
    EXPECT_NE(text.find(std::string(local) + "\\Programs\\Dravonel"), std::string::npos) << text;
    EXPECT_NE(text.find(LanguageText(folder, "84")), std::string::npos) << text;

    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(notice); }, 5000));
    EXPECT_TRUE(app.process().running());
    EXPECT_TRUE(app.Close());
}

TEST(FolderNotice, AFolderThatTakesFilesIsNotMentioned) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(WaitForTopWindow("#32770", LanguageText(folder, "81").c_str(), app.process().id(), 2000), nullptr);
    // The probe leaves nothing behind.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.file("kv*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_TRUE(app.Close());
}

}  // namespace
