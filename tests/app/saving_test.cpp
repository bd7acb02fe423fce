// Saving when the disk is full or a file is kept read-only: the old file
// stays whole, the user is told once in the language's words, and nothing
// that was not saved is counted or taken as saved. The full disk is the
// writer's seam failing half-way with ERROR_DISK_FULL, as a real one does.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/globals.h"
#include "base/save_failures.h"
#include "dravonel_plugin.h"
#include "engine/list_file.h"
#include "engine/open_list.h"
#include "engine/wall_lists.h"
#include "createpathfile.h"
#include "file_replace.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

struct Notice {
    std::string text, file;
};
std::vector<Notice> notices;

void RecordNotice(const char* text, const char* file) { notices.push_back({text, file}); }

BOOL WINAPI HalfThenDiskFull(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED) {
    DWORD half = size / 2;
    if (half) WriteFile(file, bytes, half, written, nullptr);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

std::string Read(const std::string& path) {
    std::string bytes;
    ReadTextFile(path, bytes);
    return bytes;
}

class Saving : public ::testing::Test {
protected:
    void SetUp() override {
        HeapString lists(CreatePathFile("Lists", nullptr, nullptr));
        CreateDirectoryA(lists.get(), nullptr);
        HeapString users(CreatePathFile("Users", nullptr, nullptr));
        CreateDirectoryA(users.get(), nullptr);
        notices.clear();
        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        previousNotice_ = SetSaveFailureNotice(RecordNotice);
        WatchSettingsWrites();
        // Whatever an earlier test told, this one starts afresh.
        ReportSaveSuccess(SAVE_FAILED_LIST);
        ReportSaveSuccess(SAVE_FAILED_SETTINGS);
    }
    void TearDown() override {
        SetWriteFileFunction(nullptr);
        SetSaveFailureNotice(previousNotice_);
        SetSettingsWriteObserver(nullptr);
        lastlist.clear();
        wallList.Clear();
        ini[0] = '\0';
    }
    SaveFailureNotice previousNotice_ = nullptr;
};

TEST_F(Saving, AFullDiskKeepsTheOldListAndSettingsAndTellsOnceUntilASaveWorks) {
    lastlist = "full";
    const std::string list = CreatePathList();
    const std::string old = "C:\\a.jpg#0\r\nC:\\b.jpg#0\r\n#2";
    WriteTextFile(list, old);
    wallList.Assign({{"C:\\new.jpg", '0'}, {"C:\\a.jpg", '0'}, {"C:\\b.jpg", '0'}});
    HeapString settings(SetUsetExtenPath(".set"));
    SetValueKeySet("KvFolder", "C:\\Before");
    const std::string before = Read(settings.get());

    SetWriteFileFunction(HalfThenDiskFull);
    SaveWallList(0);
    SaveWallList(0);
    EXPECT_EQ(Read(list), old);
    EXPECT_FALSE(FileExists(list + ".new")) << "the half-written temporary is removed";
    ASSERT_EQ(notices.size(), 1u) << "told once, not at every attempt";
    EXPECT_EQ(notices[0].file, list);
    EXPECT_EQ(notices[0].text.substr(0, 15), "List not saved:");

    notices.clear();
    SetValueKeySet("KvFolder", "C:\\After");
    EXPECT_EQ(Read(settings.get()), before);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].file, settings.get());
    EXPECT_EQ(notices[0].text.substr(0, 19), "Settings not saved:");

    // The disk has room again: what was not saved is, and a later failure
    // is told anew.
    SetWriteFileFunction(nullptr);
    notices.clear();
    SavePendingWallList();
    EXPECT_TRUE(RetrySettingsWrites());
    EXPECT_EQ(Read(list), "C:\\new.jpg#0\r\nC:\\a.jpg#0\r\nC:\\b.jpg#0\r\n#3");
    HeapString folder(GetKey(settings.get(), "set", "KvFolder", nullptr));
    EXPECT_STREQ(folder.get(), "C:\\After");
    EXPECT_TRUE(notices.empty());
    SetWriteFileFunction(HalfThenDiskFull);
    SaveWallList(0);
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(Saving, AReadOnlyListThatIsNotOpenKeepsARequestsFilesForThePlugIn) {
    HeapString path(CreatePathFile("Lists", "kept", ".lst"));
    const std::string old = "C:\\a.jpg#0\r\n#1";
    WriteTextFile(path.get(), old);
    SetFileAttributesA(path.get(), FILE_ATTRIBUTE_READONLY);

    s_filenode* node = static_cast<s_filenode*>(malloc(sizeof(s_filenode)));
    node->path = _strdup("C:\\b.jpg");
    node->next = nullptr;
    s_filetolist request = {node, const_cast<char*>("kept")};
    EXPECT_EQ(AddFilesToList(&request), node) << "not saved, so not taken";
    EXPECT_EQ(Read(path.get()), old);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].file, path.get());

    SetFileAttributesA(path.get(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(AddFilesToList(&request), nullptr) << "saved and taken";
    EXPECT_EQ(Read(path.get()), "C:\\a.jpg#0\r\nC:\\b.jpg#0\r\n#2");
}

}  // namespace
