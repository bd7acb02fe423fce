// The folder monitor's plain logic: pictures, listings, snapshot changes and
// the texts it reads from list files and the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "fake_host.h"
#include "folder_scan.h"
#include "program_folder.h"

namespace {

using Paths = std::vector<std::string>;

std::string RandomBytes(std::mt19937& random, size_t length) {
    // Mostly the characters that mean something to the parsers.
    static const char kAlphabet[] = {'\0', '\n', '\r', '#', '>', ':', '\\', '/', '.', 'C', 'j', 'p', 'g', '\xff', '\xc0'};
    std::string bytes;
    for (size_t i = 0; i < length; ++i)
        bytes += random() % 3 ? kAlphabet[random() % sizeof kAlphabet] : static_cast<char>(random() % 256);
    return bytes;
}

}  // namespace

TEST(FolderScan, SettingsValuesKeepTheDriveLetterWithTheFolder) {
    std::string folder, list;
    ASSERT_TRUE(SplitWatchValue(WatchValue("D:\\pics", "Nature"), folder, list));
    EXPECT_EQ(folder, "D:\\pics");
    EXPECT_EQ(list, "Nature");
    ASSERT_TRUE(SplitWatchValue("C:\\:Root", folder, list));
    EXPECT_EQ(folder, "C:\\");
    EXPECT_EQ(list, "Root");
    EXPECT_FALSE(SplitWatchValue("Nature", folder, list));
    EXPECT_FALSE(SplitWatchValue(":Nature", folder, list));
    EXPECT_FALSE(SplitWatchValue("D:", folder, list));

    std::mt19937 random(21);
    for (int round = 0; round < 2000; ++round) {
        std::string value = RandomBytes(random, random() % 40);
        if (SplitWatchValue(value, folder, list)) {
            EXPECT_EQ(folder + ":" + list, value);
        }
    }
}

TEST(FolderScan, ANewListingIsComparedWithTheOldSnapshot) {
    Paths old = {"C:\\p\\a.jpg", "C:\\p\\B\xc0.jpg", "C:\\p\\gone.png", "C:\\p\\also gone.gif"};
    Paths current = {"C:\\p\\A.JPG", "C:\\p\\b\xe0.jpg", "C:\\p\\new.bmp", "C:\\p\\new.bmp", "C:\\p\\NEW.BMP"};
    SnapshotChange change = CompareSnapshot(old, current);
    EXPECT_EQ(change.added, Paths({"C:\\p\\new.bmp"})) << "a case change is the same file; duplicates count once";
    EXPECT_EQ(change.removed, Paths({"C:\\p\\gone.png", "C:\\p\\also gone.gif"}));
    EXPECT_EQ(current, Paths({"C:\\p\\A.JPG", "C:\\p\\b\xe0.jpg", "C:\\p\\new.bmp"}));

    Paths first = {"C:\\p\\1.jpg", "C:\\p\\2.jpg"};
    change = CompareSnapshot({}, first);
    EXPECT_EQ(change.added.size(), 2u) << "without a snapshot every file is new";
    EXPECT_TRUE(change.removed.empty());
}

TEST(FolderScan, AListFileGivesTheSnapshotOfOneFolder) {
    const std::string list =
        "# a comment C:\\Pics\\comment.jpg\r\n"
        "C:\\Pics\\a.jpg#0\r\n"
        "c:\\pics\\B.JPG#7\n"
        "C:\\Pics\\sub\\deeper.jpg#0\n"   // a subfolder has its own row
        "C:\\Pictures\\other.jpg#0\n"     // another folder with the same start
        "C:\\Pics\\notes.txt#0\n"         // not a picture: never touched
        "C:\\Pics\\no digit.png\n"
        "C:\\Pics\\a.jpg#1\n"             // a duplicate
        "C:\\Pics\\deleted.gif#0\n"
        "C:\\Pics\\deleted.gif>\n"
        "C:\\Pics\\x#y.bmp#0\n"
        "http://example.com/C:\\Pics\\web.jpg#0\n"
        "#7";
    EXPECT_EQ(SnapshotFromList(list, "C:\\Pics"),
              Paths({"C:\\Pics\\a.jpg", "c:\\pics\\B.JPG", "C:\\Pics\\no digit.png", "C:\\Pics\\x#y.bmp"}));
    EXPECT_EQ(SnapshotFromList(list, "C:\\Pics\\"), SnapshotFromList(list, "C:\\Pics"));
    EXPECT_TRUE(SnapshotFromList("", "C:\\Pics").empty());

    std::mt19937 random(13);
    for (int round = 0; round < 500; ++round) {
        std::string text = RandomBytes(random, random() % 300);
        for (const std::string& path : SnapshotFromList(text, "C:\\p")) {
            EXPECT_EQ(path.compare(0, 5, "C:\\p\\"), 0);
            EXPECT_TRUE(IsImageName(path));
        }
    }
}

class FolderListing_ : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = Here("ScanTest");
        RemoveFolder(root_);
        CreateDirectoryA(root_.c_str(), nullptr);
    }
    void TearDown() override { RemoveFolder(root_); }
    std::string Make(const std::string& relative) {
        std::string path = root_ + "\\" + relative;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
    void Touch(const std::string& relative) { WriteTextFile(root_ + "\\" + relative, "x"); }

    std::string root_;
};

TEST_F(FolderListing_, ListsOnlyThePicturesDirectlyInside) {
    Touch("one.jpg");
    Touch("TWO.PNG");
    Touch("notes.txt");
    Touch("jpg");
    Touch("photo.jpg.txt");
    Make("folder.jpg");
    Make("sub");
    Touch("sub\\inner.jpg");
    Paths pictures;
    ASSERT_EQ(ListFolderPictures(root_, pictures), FolderListing::Listed);
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(pictures, Paths({root_ + "\\TWO.PNG", root_ + "\\one.jpg"}));

    ASSERT_EQ(ListFolderPictures(Make("empty"), pictures), FolderListing::Listed);
    EXPECT_TRUE(pictures.empty());
    EXPECT_EQ(ListFolderPictures(root_ + "\\not there", pictures), FolderListing::Missing);
    EXPECT_EQ(ListFolderPictures(root_ + "\\one.jpg", pictures), FolderListing::Missing) << "a file is no folder";
}
