// The list operations on the lists page's real list views, in-process.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/startup.h"
#include "base/globals.h"
#include "engine/change_cycle.h"
#include "engine/list_file.h"
#include "engine/unique_order.h"
#include "engine/wall_lists.h"
#include "createpathfile.h"
#include "program_folder.h"
#include "resource.h"
#include "scopedwin.h"

namespace {

std::string Here(const std::string& relative) {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    return std::string(folder.get()) + relative;
}

std::string Read(const std::string& path) {
    std::string bytes;
    ReadTextFile(path, bytes);
    return bytes;
}

class ListsPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        ConnectWallpaperEvents();
        listPauseMilliseconds = 0;
    }
    void SetUp() override {
        RemoveFolder(Here("Lists"));
        RemoveFolder(Here("Pictures"));
        CreateDirectoryA(Here("Lists").c_str(), nullptr);
        lastlist.clear();
        lastsel.clear();
        wallList.Clear();
        RefreshWallListView();
    }
    void TearDown() override {
        RemoveFolder(Here("Lists"));
        RemoveFolder(Here("Pictures"));
    }
    std::string ListPath(const std::string& name) { return Here("Lists\\" + name + ".lst"); }
    void Open(const std::string& name, const std::string& bytes) {
        WriteTextFile(ListPath(name), bytes);
        lastlist = name;
        LoadWallList();
    }
    int ViewRows() { return ListView_GetItemCount(GetDlgItem(hFile, IDWALLLIST)); }
    std::string CurrentPathText() {
        char text[512] = "";
        GetDlgItemTextA(hFile, IDCURRENTPATH, text, sizeof text);
        return text;
    }
};

TEST_F(ListsPage, LoadingShowsTheRowsAndCompactsDuplicates) {
    Open("a", "C:\\1.jpg\nC:\\2.jpg#3\nc:\\1.JPG#0\nC:\\3.jpg#0\nC:\\3.jpg>\n#4");
    EXPECT_EQ(ViewRows(), 2);
    EXPECT_EQ(Read(ListPath("a")), "C:\\1.jpg#0\r\nC:\\2.jpg#3\r\n#2") << "rewritten at once";
    EXPECT_EQ(GetCurrentRow(), 0);
    EXPECT_EQ(lastsel, "C:\\1.jpg");
    EXPECT_EQ(GetPlaceMent(1), 3);
}

TEST_F(ListsPage, AListThatCannotBeReadLoadsEmpty) {
    WriteTextFile(ListPath("locked"), "C:\\1.jpg#0\n#1");
    ScopedHandle lock(CreateFileA(ListPath("locked").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr));
    ASSERT_TRUE(lock.valid());
    lastlist = "locked";
    LoadWallList();
    EXPECT_EQ(ViewRows(), 0);
    EXPECT_TRUE(lastsel.empty());
}

TEST_F(ListsPage, CurrentStateIsClampedAndClearedOnAnEmptyList) {
    Open("three", "C:\\1.jpg#0\nC:\\2.jpg#0\nC:\\3.jpg#0\n#3");
    SetCurrentState(5);
    EXPECT_EQ(GetCurrentRow(), 2);
    EXPECT_EQ(lastsel, "C:\\3.jpg");
    EXPECT_EQ(CurrentPathText(), "C:\\3.jpg");
    SetCurrentState(-1);
    EXPECT_EQ(GetCurrentRow(), 0);
    wallList.Clear();
    RefreshWallListView();
    SetCurrentState(0);
    EXPECT_TRUE(lastsel.empty());
    EXPECT_EQ(CurrentPathText(), "");
}

TEST_F(ListsPage, AFolderScanAddsPicturesOnlyAndOnlyChangesTheListThen) {
    Open("scan", "C:\\old.jpg#2\n#1");
    CreateDirectoryA(Here("Pictures").c_str(), nullptr);
    CreateDirectoryA(Here("Pictures\\sub").c_str(), nullptr);
    for (const char* name : {"a.jpg", "notes.txt", "B.JPEG", "sub\\c.png", "sub\\readme.txt"})
        WriteTextFile(Here("Pictures\\") + name, "x");
    ASSERT_TRUE(chdir_access(Here("Pictures").c_str()));
    SearchF();
    ASSERT_TRUE(AddFiles());
    SaveWallList(1);
    std::vector<std::string> paths;
    for (const WallRow& row : wallList.rows()) paths.push_back(FileNamePart(row.path));
    std::sort(paths.begin(), paths.end() - 1);
    EXPECT_EQ(paths, (std::vector<std::string>{"B.JPEG", "a.jpg", "c.png", "old.jpg"}));
    EXPECT_EQ(ViewRows(), 4);
    const std::string saved = Read(ListPath("scan"));
    EXPECT_NE(saved.find("\\Pictures\\sub\\c.png#0\r\n"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.size() - 2), "#4");

    // A folder of text files: nothing added, the file is not rewritten.
    CreateDirectoryA(Here("Pictures\\texts").c_str(), nullptr);
    WriteTextFile(Here("Pictures\\texts\\a.txt"), "x");
    ASSERT_TRUE(chdir_access(Here("Pictures\\texts").c_str()));
    SearchF();
    EXPECT_FALSE(AddFiles());
    EXPECT_EQ(Read(ListPath("scan")), saved);
    SetCurrentDirectoryA(Here("").c_str());
}

TEST_F(ListsPage, TheListOfListsReadsCountsAndFixesMissingTrailers) {
    WriteTextFile(ListPath("one"), "C:\\1.jpg#0\nC:\\2.jpg#0\n#2");
    WriteTextFile(ListPath("bare"), "C:\\1.jpg#0\nC:\\2.jpg#0\nC:\\3.jpg#0\n");
    CreatListList();
    HWND lists = GetDlgItem(hFile, IDLISTLIST);
    ASSERT_EQ(ListView_GetItemCount(lists), 2);
    EXPECT_EQ(Read(ListPath("bare")), "C:\\1.jpg#0\nC:\\2.jpg#0\nC:\\3.jpg#0\n\r\n#3");
    for (int row = 0; row < 2; ++row) {
        char name[64], count[16], menu[128];
        ListView_GetItemText(lists, row, 0, name, sizeof name);
        ListView_GetItemText(lists, row, 1, count, sizeof count);
        GetMenuStringA(hFileListMenu, static_cast<UINT>(row), menu, sizeof menu, MF_BYCOMMAND);
        EXPECT_EQ(std::string(count), std::string(name) == "one" ? "2" : "3");
        EXPECT_EQ(std::string(menu), std::string(name) + "\t- " + count);
    }
}

s_filetolist* Request(const char* list, std::vector<const char*> newestFirst) {
    s_filetolist* request = static_cast<s_filetolist*>(calloc(1, sizeof(s_filetolist)));
    request->namelist = _strdup(list);
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
        s_filenode* node = static_cast<s_filenode*>(calloc(1, sizeof(s_filenode)));
        node->path = _strdup(*it);
        node->next = request->sb;
        request->sb = node;
    }
    return request;
}

void Free(s_filetolist* request) {
    free(request->namelist);
    free(request);
}

TEST_F(ListsPage, PlugInRequestsReachOpenAndClosedLists) {
    WriteTextFile(ListPath("closed"), "C:\\1.jpg#0\n#1");
    Open("open", "C:\\x.jpg#0\n#1");
    CreatListList();

    s_filetolist* toClosed = Request("closed", {"C:\\3.jpg", "C:\\2.jpg"});
    EXPECT_EQ(AddFilesToList(toClosed), nullptr) << "the request's files are used up";
    Free(toClosed);
    EXPECT_EQ(Read(ListPath("closed")), "C:\\1.jpg#0\nC:\\3.jpg#0\r\nC:\\2.jpg#0\r\n#3");

    s_filetolist* removeClosed = Request("closed", {"C:\\1.jpg"});
    EXPECT_EQ(DelFilesFromList(removeClosed), nullptr);
    Free(removeClosed);
    EXPECT_EQ(ParseListText(Read(ListPath("closed"))).rows.size(), 2u);

    s_filetolist* toOpen = Request("OPEN", {"C:\\y.jpg", "C:\\x.jpg"});
    EXPECT_EQ(AddFilesToList(toOpen), nullptr);
    Free(toOpen);
    EXPECT_EQ(ViewRows(), 2);
    EXPECT_EQ(Read(ListPath("open")), "C:\\y.jpg#0\r\nC:\\x.jpg#0\r\n#2");

    s_filetolist* missing = Request("nosuchlist", {"C:\\z.jpg"});
    EXPECT_NE(AddFilesToList(missing), nullptr) << "a list that cannot be opened leaves the request alone";
    free(missing->sb->path);
    free(missing->sb);
    Free(missing);
}

TEST_F(ListsPage, PlacementDigitIsStoredForTheSelectedRow) {
    Open("place", "C:\\1.jpg#0\nC:\\2.jpg#0\n#2");
    SetCurrentState(1);
    SetPlaceMent(7);
    EXPECT_EQ(GetPlaceMent(1), 7);
    EXPECT_EQ(Read(ListPath("place")), "C:\\1.jpg#0\r\nC:\\2.jpg#7\r\n#2");
}

TEST_F(ListsPage, ExcludeDropsMissingFilesAndKeepsWebAddresses) {
    CreateDirectoryA(Here("Pictures").c_str(), nullptr);
    WriteTextFile(Here("Pictures\\here.jpg"), "x");
    Open("tidy", Here("Pictures\\here.jpg") + "#0\nC:\\gone\\away.jpg#0\nhttp://host/p.png#0\n#3");
    Exclude();
    EXPECT_EQ(ViewRows(), 2);
    EXPECT_EQ(Read(ListPath("tidy")), Here("Pictures\\here.jpg") + "#0\r\nhttp://host/p.png#0\r\n#2");
}

TEST_F(ListsPage, ExcludeWithNothingMissingKeepsTheFileAndTheRandomOrder) {
    CreateDirectoryA(Here("Pictures").c_str(), nullptr);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteTextFile(Here("Pictures\\") + name, "x");
    const std::string list = Here("Pictures\\a.jpg") + "#0\n" + Here("Pictures\\b.jpg") + "#0\n" +
                             Here("Pictures\\c.jpg") + "#0\nhttp://host/p.png#0\n#4";
    Open("kept", list);
    WriteTextFile(Here("Lists\\kept.rnd"), "0\n2\n3\n1\n");
    // Run at every start and list switch with "KvUpdateList" on.
    Exclude();
    EXPECT_EQ(ViewRows(), 4);
    EXPECT_EQ(Read(ListPath("kept")), list) << "nothing was missing: nothing is written";
    EXPECT_EQ(Read(Here("Lists\\kept.rnd")), "0\n2\n3\n1\n") << "the order survives for the next start";
}

TEST_F(ListsPage, RemovingAFolderRemovesTheFilesInsideIt) {
    Open("folders", "C:\\Pics\\a.jpg#0\nC:\\Pictures\\b.jpg#0\nD:\\c.jpg#0\n#3");
    EXPECT_TRUE(RemoveFolder("C:\\Pics"));
    EXPECT_EQ(ViewRows(), 2);
    EXPECT_FALSE(RemoveFolder("E:\\"));
}

TEST_F(ListsPage, DeletingTheCurrentFileRemovesItsRowAndRenumbersTheOrder) {
    // Without the wallpaper page's boxes on: no question, no recycle bin.
    HWND ask = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, hWall,
                               reinterpret_cast<HMENU>(10412), nullptr, nullptr);
    HWND recycle = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, hWall,
                                   reinterpret_cast<HMENU>(10411), nullptr, nullptr);
    CreateDirectoryA(Here("Pictures").c_str(), nullptr);
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteTextFile(Here("Pictures\\") + name, "x");
    Open("del", Here("Pictures\\a.jpg") + "#0\n" + Here("Pictures\\b.jpg") + "#0\n" + Here("Pictures\\c.jpg") +
                    "#0\n#3");
    SetCurrentState(1);
    wp = {1};
    rwp = {0, 2};
    EXPECT_TRUE(DelFile());
    EXPECT_FALSE(FileExists(Here("Pictures\\b.jpg")));
    EXPECT_EQ(ViewRows(), 2);
    EXPECT_EQ(GetCurrentRow(), 1);
    EXPECT_EQ(FileNamePart(lastsel), "c.jpg");
    EXPECT_TRUE(wp.empty());
    EXPECT_EQ(rwp, (IndexList{0, 1}));
    EXPECT_EQ(Read(Here("Lists\\del.rnd")), "1\r\n0\r\n");
    DestroyWindow(ask);
    DestroyWindow(recycle);
}

}  // namespace
