// Wallpaper lists as a user meets them: files tidied when opened, names and
// folders handed over on the command line.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

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

    // A switch is no part of a name ("/uw" rather than "/cu", whose update
    // check would ask the maker's hosts on the internet).
    ASSERT_TRUE(HandOver(folder, "\"C:\\Photos\\pic.jpg\" /uw"));
    list = Read(folder.file("Lists\\pics.lst"));
    EXPECT_NE(list.find("C:\\Photos\\pic.jpg#0\r\n"), std::string::npos) << list;
    EXPECT_EQ(list.find("/uw"), std::string::npos);
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
    StartedProcess previous(folder.path(), "Dravonel.exe", "/pr");
    EXPECT_TRUE(previous.WaitForExit(10000)) << "no message holds the hand-over";
    EXPECT_EQ(FindTopWindow("#32770", "/pr", app.process().id()), nullptr);
    EXPECT_TRUE(app.Close());
}

// The lists page's list commands, run as its buttons do.
class ListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
        WriteTextFile(List("pics"), kPics);
        WriteTextFile(List("other"), kOther);
        SettingsFile settings(folder_.path());
        settings.Set("ini", "eng.ini");
        settings.Set("KvFileList", "pics");
    }
    std::string List(const std::string& name, const char* extension = ".lst") {
        return folder_.file("Lists\\" + name + extension);
    }
    std::string OpenList() { return SettingsFile(folder_.path()).Get("KvFileList"); }
    // Waits until the program has handled everything sent before.
    bool Settled(DravonelApp& app) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(app.main(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    }
    void Click(DravonelApp& app, int button) {
        HWND page = app.Page(button);
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, button)));
    }
    // Runs the new (10611) or rename (10612) command and answers its name.
    bool Name(DravonelApp& app, int button, const std::string& name) {
        Click(app, button);
        HWND dialog = WaitForTopWindow("#32770", "Wallpaper list", app.process().id(), 10000);
        if (!dialog) return false;
        SetDlgItemTextA(dialog, 1001, name.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return !IsWindow(dialog); }, 5000) && Settled(app);
    }
    // The message the program shows (its caption is the system's "Error"),
    // closed; false when there is none (within the time given).
    bool CloseMessage(DravonelApp& app, DWORD wait = 0) {
        HWND box = WaitForTopWindow("#32770", "Error", app.process().id(), wait);
        if (!box) return false;
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    }
    int Rows(DravonelApp& app) {
        return static_cast<int>(SendMessageA(GetDlgItem(app.Page(10626), 10626), LVM_GETITEMCOUNT, 0, 0));
    }

    const std::string kPics = "C:\\a.jpg#0\r\nC:\\b.jpg#0\r\nC:\\c.jpg#0\r\n#3";
    const std::string kOther = "C:\\x.jpg#0\r\n#1";
    ProgramFolder folder_;
};

TEST_F(ListCommands, ANewListOfAnExistingNameChoosesItAndNeverEmptiesIt) {
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    ASSERT_EQ(Rows(app), 3);

    ASSERT_TRUE(Name(app, 10611, "pics"));
    EXPECT_FALSE(CloseMessage(app)) << "no message is needed";
    EXPECT_EQ(Read(List("pics")), kPics) << "the open list keeps its rows";
    EXPECT_EQ(Rows(app), 3);

    ASSERT_TRUE(Name(app, 10611, "OTHER"));
    EXPECT_EQ(Read(List("other")), kOther);
    EXPECT_EQ(lstrcmpiA(OpenList().c_str(), "other"), 0) << "the list of that name is chosen";
    EXPECT_EQ(Rows(app), 1);

    ASSERT_TRUE(Name(app, 10611, "fresh"));
    EXPECT_EQ(Read(List("fresh")), "#0");
    EXPECT_EQ(OpenList(), "fresh");
    EXPECT_EQ(Rows(app), 0);

    ASSERT_TRUE(Name(app, 10611, "..\\outside"));
    EXPECT_TRUE(CloseMessage(app)) << "a name that leaves the folder is no list name";
    EXPECT_FALSE(FileExists(folder_.file("outside.lst")));
    EXPECT_EQ(OpenList(), "fresh");
    EXPECT_EQ(Read(List("pics")), kPics);
    EXPECT_TRUE(app.Close());
}

TEST_F(ListCommands, RenameRefusesAnExistingNameAndTakesTheOrderAlong) {
    WriteTextFile(List("pics", ".rnd"), "0\r\n2\r\n1\r\n");
    WriteTextFile(List("old", ".rnd"), "7\r\n");  // left by a list deleted by hand
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    ASSERT_TRUE(Name(app, 10612, "other"));
    EXPECT_TRUE(CloseMessage(app)) << "the name is taken";
    EXPECT_EQ(Read(List("other")), kOther);
    EXPECT_EQ(Read(List("pics")), kPics);
    EXPECT_EQ(OpenList(), "pics");

    ASSERT_TRUE(Name(app, 10612, "old"));
    EXPECT_FALSE(CloseMessage(app));
    EXPECT_FALSE(FileExists(List("pics")));
    EXPECT_EQ(Read(List("old")), kPics);
    EXPECT_EQ(Read(List("old", ".rnd")), "0\r\n2\r\n1\r\n");
    EXPECT_FALSE(FileExists(List("pics", ".rnd")));
    EXPECT_EQ(OpenList(), "old");
    EXPECT_EQ(Rows(app), 3);
    EXPECT_TRUE(app.Close());
}

TEST_F(ListCommands, DeletingTheOpenListOpensANeighbourAndTheLastLeavesNone) {
    WriteTextFile(List("pics", ".rnd"), "0\r\n1\r\n2\r\n");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());

    // A posted click is handled after messages sent later: wait for its effect.
    Click(app, 10613);
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(List("pics")); }, 5000));
    ASSERT_TRUE(Settled(app));
    EXPECT_FALSE(FileExists(List("pics", ".rnd")));
    EXPECT_EQ(OpenList(), "other");
    EXPECT_EQ(Rows(app), 1);
    EXPECT_EQ(Read(List("other")), kOther);

    Click(app, 10613);
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(List("other")); }, 5000));
    ASSERT_TRUE(Settled(app));
    EXPECT_EQ(Rows(app), 0);
    EXPECT_EQ(ControlText(app.Page(10627), 10627), "") << "no current wallpaper";

    Click(app, 10613);
    EXPECT_TRUE(CloseMessage(app, 5000)) << "no list is open";
    EXPECT_TRUE(app.Close());
}

TEST_F(ListCommands, AReadOnlyListIsAListAndAFailedDeletionKeepsIt) {
    const std::string kept = List("kept");
    WriteTextFile(kept, "C:\\k.jpg#0\r\n");  // no count trailer yet
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    SettingsFile(folder_.path()).Set("KvFileList", "kept");
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_EQ(OpenList(), "kept");
    EXPECT_EQ(Rows(app), 1) << "the read-only list is listed and open";
    EXPECT_EQ(Read(kept), "C:\\k.jpg#0\r\n") << "no trailer is written into it";

    Click(app, 10613);
    EXPECT_TRUE(CloseMessage(app, 5000)) << "the failed deletion is told";
    ASSERT_TRUE(Settled(app));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_EQ(OpenList(), "kept");
    EXPECT_EQ(Rows(app), 1) << "the list stays open";
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(app.Close());
}

}  // namespace
