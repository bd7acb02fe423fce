// KvFileMon.dll driven through its entry by a fake host, on real folders
// watched by its worker.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fake_host.h"
#include "filemon_ids.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

using Paths = std::vector<std::string>;

Paths Sorted(Paths paths) {
    std::sort(paths.begin(), paths.end());
    return paths;
}

class FileMonPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"Lists", "Users", "Watched", "Away"}) RemoveFolder(Here(folder));
        for (const char* folder : {"Lists", "Users", "Watched"}) CreateDirectoryA(Here(folder).c_str(), nullptr);
        WriteTextFile(Here("Lists\\Nature.lst"), "#0");
        WriteTextFile(Here("Lists\\City.lst"), "#0");
        HeapString settings(SetUsetExtenPath(".set"));
        settings_ = settings.get();
        language_ = DistFolder() + "\\Language\\eng.ini";
        Open();
    }
    void TearDown() override {
        Close();
        for (const char* folder : {"Lists", "Users", "Watched", "Away"}) RemoveFolder(Here(folder));
    }

    // Loaded as the host does at start-up.
    void Open() {
        plugin_.reset(new PluginModule("KvFileMon"));
        ASSERT_TRUE(plugin_->loaded());
        page_ = reinterpret_cast<HWND>((*plugin_)(host_.panel(), KvCREATE, 0, language_.c_str()));
        ASSERT_NE(page_, nullptr);
        name_ = TakeHeapString((*plugin_)(host_.panel(), KvGETDESCRIPTION, 0, language_.c_str()));
        (*plugin_)(host_.main(), KvSETTINGS, 0, settings_.c_str());
    }
    // As at exit; the page goes before the module.
    void Close() {
        if (!plugin_) return;
        (*plugin_)(host_.main(), KvAPPLICATIONCLOSE);
        if (IsWindow(page_)) DestroyWindow(page_);
        plugin_.reset();
    }

    // What the user does: a folder, a list, the subfolder box, the add button.
    void Watch(const std::string& folder, const std::string& list, bool subfolders = false) {
        SetDlgItemTextA(page_, IDFMFOLDER, folder.c_str());
        SendDlgItemMessageA(page_, IDFMLISTS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(list.c_str()));
        CheckDlgButton(page_, IDFMSUBFOLDERS, subfolders ? BST_CHECKED : BST_UNCHECKED);
        Click(IDFMADD);
    }
    void Click(int control) {
        SendMessageA(page_, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page_, control)));
    }
    HWND View() const { return GetDlgItem(page_, IDFMWATCHLIST); }
    int Rows() const { return ListView_GetItemCount(View()); }
    std::string Cell(int row, int column) const {
        char text[MAX_PATH * 2] = "";
        ListView_GetItemText(View(), row, column, text, sizeof text);
        return text;
    }
    std::string Counts(int row) const { return Cell(row, 2) + " " + Cell(row, 3) + " " + Cell(row, 4); }
    std::string Stored(const std::string& key) const {
        HeapString value(GetKey(settings_.c_str(), "FileMon", key.c_str(), "<absent>"));
        return value.get();
    }
    void Touch(const std::string& relative) { ASSERT_TRUE(WriteTextFile(Here(relative), "picture")); }
    // The worker arms its handles on its own thread, just after a change of rows.
    void LetTheWorkerArm() { host_.Run(400); }

    FakeHost host_;
    std::unique_ptr<PluginModule> plugin_;
    HWND page_ = nullptr;
    std::string name_;
    std::string settings_;
    std::string language_;
};

TEST_F(FileMonPlugin, PageNameToolTipsAndLists) {
    EXPECT_EQ(GetParent(page_), host_.panel());
    EXPECT_EQ(name_, "Folder monitor");
    HWND header = ListView_GetHeader(View());
    ASSERT_EQ(Header_GetItemCount(header), 5);
    char title[32] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    Header_GetItem(header, 4, &item);
    EXPECT_STREQ(title, "Removed");
    std::vector<std::pair<int, int>> tips;
    for (const ServiceCall& call : host_.Calls(KvSrvAddToolTip)) tips.emplace_back(call.number, call.number2);
    EXPECT_EQ(tips, (std::vector<std::pair<int, int>>{{IDFMADD, 25}, {IDFMREMOVE, 28}, {IDFMBROWSE, 2}}));

    HWND lists = GetDlgItem(page_, IDFMLISTS);
    EXPECT_EQ(static_cast<int>(SendMessageA(lists, CB_GETCOUNT, 0, 0)), 2);
    SendMessageA(lists, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("Nature"));
    WriteTextFile(Here("Lists\\Autumn.lst"), "#0");
    WriteTextFile(Here("Lists\\notes.lst.txt"), "");
    (*plugin_)(host_.main(), KvLISTSCHANGED);
    EXPECT_EQ(static_cast<int>(SendMessageA(lists, CB_GETCOUNT, 0, 0)), 3) << "a new list appears on command 21";
    char chosen[32] = "";
    GetWindowTextA(lists, chosen, sizeof chosen);
    EXPECT_STREQ(chosen, "Nature") << "the chosen list stays chosen";

    // The folder button asks the host, starting from the folder typed so far.
    SetDlgItemTextA(page_, IDFMFOLDER, "C:\\typed");
    host_.chosenFolder = "C:\\chosen";
    Click(IDFMBROWSE);
    ASSERT_EQ(host_.Count(KvSrvChooseFolder), 1);
    EXPECT_EQ(host_.Calls(KvSrvChooseFolder)[0].text, "Choose a folder");
    EXPECT_EQ(host_.Calls(KvSrvChooseFolder)[0].text2, "C:\\typed");
    char folder[MAX_PATH] = "";
    GetDlgItemTextA(page_, IDFMFOLDER, folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\chosen");
    EXPECT_EQ(Rows(), 0) << "choosing a folder adds nothing yet";
}

TEST_F(FileMonPlugin, TenPicturesCopiedGiveOneRescanTwoSecondsAfterTheLast) {
    Watch(Here("Watched"), "Nature");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Counts(0), "0 0 0");
    EXPECT_EQ(host_.Count(KvSrvAddToList), 0) << "an empty folder adds nothing";
    LetTheWorkerArm();

    DWORD lastCopy = 0;
    Paths copied;
    for (int i = 0; i < 10; ++i) {
        copied.push_back(Here("Watched\\picture" + std::to_string(i) + ".jpg"));
        ASSERT_TRUE(WriteTextFile(copied.back(), "jpeg"));
        lastCopy = GetTickCount();
        host_.Run(150);
    }
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvAddToList) > 0; }, 6000));
    host_.Run(2500);
    std::vector<ServiceCall> adds = host_.Calls(KvSrvAddToList);
    ASSERT_EQ(adds.size(), 1u) << "the copies are coalesced into one rescan";
    EXPECT_GE(adds[0].tick - lastCopy, 1900u);
    EXPECT_LT(adds[0].tick - lastCopy, 3500u);
    EXPECT_EQ(adds[0].text, "Nature");
    EXPECT_EQ(Sorted(adds[0].files), Sorted(copied));
    EXPECT_EQ(Counts(0), "10 10 0");
    EXPECT_EQ(host_.Count(KvSrvRemoveFromList), 0);
    EXPECT_EQ(host_.posted(), 0) << "requests are sent, never posted";
    for (const ServiceCall& call : adds) EXPECT_FALSE(call.fromOtherThread) << "only the host's thread calls it";

    host_.Forget();
    Touch("Watched\\readme.txt");
    host_.Run(2800);
    EXPECT_EQ(host_.Count(KvSrvAddToList) + host_.Count(KvSrvRemoveFromList), 0) << "a text file changes nothing";
    EXPECT_EQ(Cell(0, 2), "10");

    DeleteFileA(copied[3].c_str());
    DeleteFileA(copied[7].c_str());
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvRemoveFromList) > 0; }, 6000));
    EXPECT_EQ(Sorted(host_.Calls(KvSrvRemoveFromList)[0].files), Sorted({copied[3], copied[7]}));
    EXPECT_EQ(Counts(0), "8 0 2");
}

TEST_F(FileMonPlugin, AFolderAddedToAListSendsOnlyWhatTheListLacksOrHasTooMuch) {
    const std::string folder = Here("Watched");
    for (const char* name : {"a.jpg", "b.jpg", "c.png"}) Touch(std::string("Watched\\") + name);
    WriteTextFile(Here("Lists\\Nature.lst"), folder + "\\a.jpg#0\n" + folder + "\\gone.jpg#3\n" + folder +
                                                 "\\b.jpg#0\n" + folder + "\\b.jpg>\n#2");
    Watch(folder, "Nature");
    ASSERT_EQ(host_.Count(KvSrvAddToList), 1) << "the new row is scanned at once";
    EXPECT_EQ(Sorted(host_.Calls(KvSrvAddToList)[0].files), Paths({folder + "\\b.jpg", folder + "\\c.png"}));
    ASSERT_EQ(host_.Count(KvSrvRemoveFromList), 1);
    EXPECT_EQ(host_.Calls(KvSrvRemoveFromList)[0].files, Paths({folder + "\\gone.jpg"}));
    EXPECT_EQ(Counts(0), "3 2 1");
}

TEST_F(FileMonPlugin, FoldersAreStoredWithTheirDriveLetterAndReadBack) {
    const std::string folder = Here("Watched");
    Watch(folder, "Nature");
    Watch(folder + "\\", "City");
    EXPECT_EQ(Rows(), 1) << "a folder is watched once";
    ASSERT_EQ(Stored("0"), folder + ":Nature");
    ASSERT_EQ(folder[1], ':');
    EXPECT_EQ(Stored("1"), "<absent>");

    ASSERT_EQ(GetFileAttributesA("D:\\pics"), INVALID_FILE_ATTRIBUTES);
    WritePrivateProfileStringA("FileMon", "1", "D:\\pics:City", settings_.c_str());
    WritePrivateProfileStringA("FileMon", "3", "C:\\after a gap:City", settings_.c_str());
    Close();
    Open();
    ASSERT_EQ(Rows(), 2) << "keys are read up to the first one missing";
    EXPECT_EQ(Cell(0, 0), folder);
    EXPECT_EQ(Cell(0, 1), "Nature");
    EXPECT_EQ(Cell(1, 0), "D:\\pics");
    EXPECT_EQ(Cell(1, 1), "City");

    // The rows are rescanned after loading; a folder that is not there keeps
    // its row and sends nothing.
    host_.Run(2800);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(host_.Count(KvSrvRemoveFromList), 0);

    ListView_SetItemState(View(), 0, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDFMREMOVE);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Stored("0"), "D:\\pics:City") << "the section is written whole";
    EXPECT_EQ(Stored("1"), "<absent>");
    EXPECT_EQ(Stored("3"), "<absent>");
    Click(IDFMCLEAR);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Stored("0"), "<absent>");
}

TEST_F(FileMonPlugin, SubfoldersBecomeRowsAndEveryOneIsWatched) {
    // More folders than one wait can hold (63 beside the stop signal).
    for (int i = 0; i < 70; ++i) CreateDirectoryA(Here("Watched\\s" + std::to_string(100 + i)).c_str(), nullptr);
    CreateDirectoryA(Here("Watched\\s100\\inner").c_str(), nullptr);
    // How the shell marks a customised folder: still searched.
    SetFileAttributesA(Here("Watched\\s169").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(Here("Watched\\hidden").c_str(), nullptr);
    SetFileAttributesA(Here("Watched\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Watch(Here("Watched"), "City", true);
    EXPECT_EQ(Rows(), 72);
    EXPECT_EQ(Stored("71").substr(Stored("71").size() - 5), ":City");
    LetTheWorkerArm();

    Touch("Watched\\s169\\late.jpg");
    Touch("Watched\\s100\\inner\\deep.jpg");
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvAddToList) >= 2; }, 8000));
    Paths added;
    for (const ServiceCall& call : host_.Calls(KvSrvAddToList)) added.insert(added.end(), call.files.begin(), call.files.end());
    EXPECT_EQ(Sorted(added), Paths({Here("Watched\\s100\\inner\\deep.jpg"), Here("Watched\\s169\\late.jpg")}));
    SetFileAttributesA(Here("Watched\\hidden").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(Here("Watched\\s169").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileMonPlugin, AFolderThatGoesMissingKeepsItsPicturesUntilItIsBack) {
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg"}) Touch(std::string("Watched\\") + name);
    Watch(Here("Watched"), "Nature");
    ASSERT_EQ(host_.Count(KvSrvAddToList), 1);
    host_.Forget();
    LetTheWorkerArm();

    // A picture is deleted, then the whole folder goes away (a drive is
    // unplugged) before the rescan.
    DeleteFileA(Here("Watched\\3.jpg").c_str());
    host_.Run(100);
    if (!MoveFileA(Here("Watched").c_str(), Here("Away").c_str()))
        GTEST_SKIP() << "the watched folder cannot be moved away here (error " << GetLastError() << ")";
    host_.Run(3000);
    EXPECT_EQ(host_.Count(KvSrvRemoveFromList), 0) << "a missing folder removes nothing";
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Cell(0, 2), "3");

    ASSERT_TRUE(MoveFileA(Here("Away").c_str(), Here("Watched").c_str()));
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvRemoveFromList) > 0; }, 10000))
        << "the folder is rescanned once it is back";
    EXPECT_EQ(host_.Calls(KvSrvRemoveFromList)[0].files, Paths({Here("Watched\\3.jpg")}));
    EXPECT_EQ(Counts(0), "2 0 1");

    host_.Forget();
    Touch("Watched\\4.jpg");
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvAddToList) > 0; }, 6000)) << "and watched again";
}

TEST_F(FileMonPlugin, WatchingGoesOnWhenTheExitIsRefused) {
    Watch(Here("Watched"), "Nature");
    (*plugin_)(host_.main(), KvAPPLICATIONCLOSE);
    // Another plug-in refused; the host carries on and sends its usual commands.
    (*plugin_)(host_.main(), KvSTOPICONRULE);
    LetTheWorkerArm();
    Touch("Watched\\after.jpg");
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvAddToList) > 0; }, 6000));
}

}  // namespace
