// Wallpaper lists as a user meets them: files tidied when opened, names and
// folders handed over on the command line.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "settings_file.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

std::string Read(const std::string& path) {
    std::string bytes;
    ReadTextFile(path, bytes);
    return bytes;
}

// Runs a second instance with a command line and waits until it is done.
bool HandOver(const ProgramFolder& folder, const std::string& line) {
    StartedProcess second(folder.path(), "Dravonel.exe", line);
    return second.WaitForExit(20000) && second.exitCode() == 0;
}

TEST(Lists, TheOpenListIsTidiedWhenItLoads) {
    ProgramFolder folder;
    CreateDirectoryA(folder.file("Lists").c_str(), nullptr);
    WriteTextFile(folder.file("Lists\\pics.lst"), "C:\\a.jpg\nC:\\b.jpg#2\nc:\\A.JPG#0\nC:\\gone.jpg>\n");
    WriteTextFile(folder.file("Lists\\other.lst"), "C:\\x.jpg#0\nC:\\y.jpg#0\n");
    SettingsFile(folder.path()).Set("KvFileList", "pics");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(Read(folder.file("Lists\\pics.lst")), "C:\\a.jpg#0\r\nC:\\b.jpg#2\r\n#2")
        << "a bare path gets #0, the duplicate goes, the trailer comes";
    EXPECT_EQ(Read(folder.file("Lists\\other.lst")), "C:\\x.jpg#0\nC:\\y.jpg#0\n\r\n#2")
        << "a list that is not open only gets its count";
    HWND page = app.Page(10626);
    EXPECT_EQ(ControlText(page, 10627), "C:\\a.jpg");
    EXPECT_TRUE(app.Close());
}

TEST(Lists, NamesOnTheCommandLineGoIntoTheOpenList) {
    ProgramFolder folder;
    CreateDirectoryA(folder.file("Lists").c_str(), nullptr);
    WriteTextFile(folder.file("Lists\\pics.lst"), "C:\\old.jpg#0\n#1");
    const std::string pictures = folder.file("Pictures");
    CreateDirectoryA(pictures.c_str(), nullptr);
    for (const char* name : {"a.jpg", "b.txt", "C.JPEG"}) WriteTextFile(pictures + "\\" + name, "x");
    CreateDirectoryA(folder.file("Texts").c_str(), nullptr);
    WriteTextFile(folder.file("Texts\\readme.txt"), "x");

    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_TRUE(HandOver(folder, "\"" + pictures + "\""));
    std::string list = Read(folder.file("Lists\\pics.lst"));
    EXPECT_NE(list.find(pictures + "\\a.jpg#0\r\n"), std::string::npos);
    EXPECT_NE(list.find(pictures + "\\C.JPEG#0\r\n"), std::string::npos);
    EXPECT_EQ(list.find("b.txt"), std::string::npos);
    EXPECT_EQ(list.substr(list.size() - 4), "\r\n#3");
    EXPECT_EQ(SettingsFile(folder.path()).Get("KvFolder"), pictures);

    ASSERT_TRUE(HandOver(folder, folder.file("Texts")));
    EXPECT_EQ(Read(folder.file("Lists\\pics.lst")), list) << "a folder without pictures changes nothing";

    ASSERT_TRUE(HandOver(folder, "http://pictures.org/today.png"));
    EXPECT_NE(Read(folder.file("Lists\\pics.lst")).find("http://pictures.org/today.png#0\r\n"), std::string::npos);

    // The update-check switch is no part of a name.
    ASSERT_TRUE(HandOver(folder, "\"C:\\Photos\\pic.jpg\" /cu"));
    list = Read(folder.file("Lists\\pics.lst"));
    EXPECT_NE(list.find("C:\\Photos\\pic.jpg#0\r\n"), std::string::npos) << list;
    EXPECT_EQ(list.find("/cu"), std::string::npos);
    EXPECT_TRUE(app.Close());
}

TEST(Lists, ANameWithoutAnOpenListIsExplained) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    StartedProcess second(folder.path(), "Dravonel.exe", "C:\\pic.jpg");
    HWND box = WaitForTopWindow("#32770", "C:\\pic.jpg", app.process().id(), 10000);
    ASSERT_NE(box, nullptr) << "a message titled with the name";
    EXPECT_FALSE(FileExists(folder.file("Lists\\pic.lst")));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(second.WaitForExit(10000));

    // A switch alone is no name: nothing to explain.
    StartedProcess update(folder.path(), "Dravonel.exe", "/cu");
    EXPECT_TRUE(update.WaitForExit(10000)) << "no message holds the hand-over";
    EXPECT_EQ(FindTopWindow("#32770", "/cu", app.process().id()), nullptr);
    EXPECT_TRUE(app.Close());
}

}  // namespace
