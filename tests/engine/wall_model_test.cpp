#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/file_dialogs.h"
#include "engine/wall_lists.h"
#include "engine/wall_model.h"

namespace {

std::vector<std::string> Paths(const WallList& list) {
    std::vector<std::string> paths;
    for (const WallRow& row : list.rows()) paths.push_back(row.path);
    return paths;
}

TEST(WallList, AddedFilesGoToTheTopInTheOrderFound) {
    WallList list;
    list.Append("C:\\old.jpg", '2');
    // Pending files are newest first: found in the order a, b, c.
    EXPECT_EQ(list.AddAtTop({"C:\\c.jpg", "C:\\b.jpg", "c:\\OLD.jpg", "C:\\a.jpg", "C:\\b.jpg"}), 3u);
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"C:\\a.jpg", "C:\\b.jpg", "C:\\c.jpg", "C:\\old.jpg"}));
    EXPECT_EQ(list.row(0).placement, '0');
    EXPECT_EQ(list.row(3).placement, '2');
    EXPECT_TRUE(list.Contains("c:\\A.JPG"));
    EXPECT_EQ(list.Find("C:\\C.JPG"), 2);
}

TEST(WallList, RemovingByPathAndByFolder) {
    WallList list;
    for (const char* path : {"C:\\Pics\\a.jpg", "C:\\Pictures\\b.jpg", "C:\\Other\\c.jpg", "C:\\pics\\sub\\d.jpg",
                             "C:\\Pics2\\e.jpg"})
        list.Append(path, '0');
    EXPECT_EQ(list.Remove({"c:\\other\\C.JPG", "C:\\nothere.jpg"}), 1u);
    EXPECT_FALSE(list.Contains("C:\\Other\\c.jpg"));
    EXPECT_EQ(list.RemoveFolder("C:\\Pics"), 2u) << "the folder and its subfolders, whatever the case";
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"C:\\Pictures\\b.jpg", "C:\\Pics2\\e.jpg"}))
        << "folders that only start with the same letters stay";
    EXPECT_EQ(list.RemoveFolder("C:\\"), 2u);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.RemoveFolder(""), 0u);

    list.Append("C:\\x.jpg", '0');
    list.EraseAt(0);
    EXPECT_FALSE(list.Contains("C:\\x.jpg"));
    EXPECT_TRUE(list.Append("C:\\x.jpg", '0')) << "the index forgets erased rows";
}

TEST(WallList, FileNamePart) {
    EXPECT_EQ(FileNamePart("C:\\a\\b.jpg"), "b.jpg");
    EXPECT_EQ(FileNamePart("http://host/dir/p.png"), "p.png");
    EXPECT_EQ(FileNamePart("plain.jpg"), "plain.jpg");
}

TEST(FolderScan, TakesPicturesByExtensionAndEveryWebAddress) {
    EXPECT_TRUE(IsWallpaperCandidate("C:\\a.jpg"));
    EXPECT_TRUE(IsWallpaperCandidate("C:\\A.JPEG"));
    EXPECT_TRUE(IsWallpaperCandidate("D:\\x.Png"));
    EXPECT_FALSE(IsWallpaperCandidate("C:\\notes.jpg.txt"));
    EXPECT_FALSE(IsWallpaperCandidate("C:\\noextension"));
    EXPECT_FALSE(IsWallpaperCandidate("C:\\a.jpgx"));
    EXPECT_TRUE(IsWallpaperCandidate("http://host/page"));
    EXPECT_TRUE(IsWallpaperCandidate("ftp://host/file.dat"));
}

TEST(FileDialog, ChosenNamesBecomePathsLastFirst) {
    pendingFiles.clear();
    CollectChosenFiles("C:\\Pics", "\"one.jpg\" \"two.png\" \"x.b\"");
    EXPECT_EQ(pendingFiles, (std::vector<std::string>{"C:\\Pics\\two.png", "C:\\Pics\\one.jpg"}))
        << "names of 4 characters or fewer are skipped";
    pendingFiles.clear();
    CollectChosenFiles("C:\\", "single.gif");
    EXPECT_EQ(pendingFiles, (std::vector<std::string>{"C:\\single.gif"}));
    pendingFiles.clear();
}

}  // namespace
