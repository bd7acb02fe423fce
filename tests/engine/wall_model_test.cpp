#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "dialogs/file_dialogs.h"
#include "engine/list_file.h"
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

// The index holds row numbers only; whatever happens to the rows, finding a
// path must give what a scan of the rows gives. Paths differ in case and
// share hashes' neighbourhoods; rows are added, removed and erased in every
// way the program does, over many growths and rebuilds of the index.
TEST(WallList, TheIndexFindsWhatAScanFinds) {
    std::mt19937 random(2024);
    auto pathOf = [&](int n) {
        std::string path = "C:\\Shoot " + std::to_string(n % 7) + "\\img" + std::to_string(n) + ".JPG";
        if (random() % 2) path = PathKey(path);
        return path;
    };
    std::vector<std::string> reference;  // the rows, by a plain scan
    auto scan = [&](const std::string& path) {
        for (size_t i = 0; i < reference.size(); ++i)
            if (PathKey(reference[i]) == PathKey(path)) return static_cast<int>(i);
        return -1;
    };
    WallList list;
    for (int round = 0; round < 400; ++round) {
        switch (random() % 5) {
            case 0: {
                const std::string path = pathOf(random() % 600);
                const bool added = list.Append(path, '0');
                EXPECT_EQ(added, scan(path) < 0);
                if (added) reference.push_back(path);
                break;
            }
            case 1: {
                std::vector<std::string> newestFirst;
                for (int i = random() % 40; i > 0; --i) newestFirst.push_back(pathOf(random() % 600));
                std::vector<std::string> added;
                for (const std::string& path : newestFirst)
                    if (scan(path) < 0 && std::none_of(added.begin(), added.end(), [&](const std::string& a) {
                            return PathKey(a) == PathKey(path);
                        }))
                        added.push_back(path);
                std::reverse(added.begin(), added.end());
                reference.insert(reference.begin(), added.begin(), added.end());
                EXPECT_EQ(list.AddAtTop(newestFirst), added.size());
                break;
            }
            case 2: {
                std::vector<std::string> gone = {pathOf(random() % 600), pathOf(random() % 600)};
                reference.erase(std::remove_if(reference.begin(), reference.end(),
                                               [&](const std::string& row) {
                                                   return PathKey(row) == PathKey(gone[0]) ||
                                                          PathKey(row) == PathKey(gone[1]);
                                               }),
                                reference.end());
                list.Remove(gone);
                break;
            }
            case 3:
                if (!reference.empty()) {
                    const size_t at = random() % reference.size();
                    reference.erase(reference.begin() + static_cast<std::ptrdiff_t>(at));
                    list.EraseAt(at);
                }
                break;
            default: {
                const std::string folder = "c:\\shoot " + std::to_string(random() % 7);
                reference.erase(std::remove_if(reference.begin(), reference.end(),
                                               [&](const std::string& row) {
                                                   return PathKey(row).compare(0, folder.size() + 1, folder + "\\") == 0;
                                               }),
                                reference.end());
                list.RemoveFolder(folder);
                break;
            }
        }
        ASSERT_EQ(Paths(list), reference) << "round " << round;
        for (int probe = 0; probe < 20; ++probe) {
            const std::string path = pathOf(random() % 600);
            ASSERT_EQ(list.Find(path), scan(path)) << path << ", round " << round;
        }
    }
}

// A list file read with duplicates and deletion records hands the open list
// rows whose index is already made: it must find every row, and only those.
TEST(WallList, ARowsIndexMadeWhileReadingTheFileIsTheOpenLists) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "D:\\p" + std::to_string(i) + ".jpg#1\r\n";
    for (int i = 0; i < 3000; i += 3) text += "d:\\P" + std::to_string(i) + ".JPG>\r\n";   // deleted
    for (int i = 1; i < 3000; i += 3) text += "D:\\p" + std::to_string(i) + ".jpg#5\r\n";  // duplicates
    text += "D:\\p0.jpg#2\r\n#9999";                                                     // added again
    ParsedList parsed = ParseListText(text);
    ASSERT_TRUE(parsed.changed);
    WallList list;
    list.Adopt(std::move(parsed.rows), std::move(parsed.hashes), std::move(parsed.index));
    ASSERT_EQ(list.size(), 2001u);
    for (int i = 0; i < 3000; ++i) {
        const int row = list.Find("D:\\P" + std::to_string(i) + ".jpg");
        if (i % 3 == 0 && i != 0) {
            EXPECT_EQ(row, -1) << i;
        } else {
            ASSERT_GE(row, 0) << i;
            EXPECT_EQ(PathKey(list.row(row).path), "d:\\p" + std::to_string(i) + ".jpg");
        }
    }
    EXPECT_EQ(list.row(list.size() - 1).path, "D:\\p0.jpg");
    EXPECT_FALSE(list.Append("d:\\P2.JPG", '0'));
    EXPECT_TRUE(list.Append("d:\\P3.JPG", '0'));
}

// Long list work pauses once it has held the processor for a while, never
// sooner, and not at all when pausing is off. Driven by a clock of its own:
// every look at the clock finds 10 ms more of work done.
unsigned long fakeNow = 0;
std::vector<unsigned long> pausedAt;
unsigned long FakeClock() { return fakeNow += 10; }
void FakeSleep(unsigned long milliseconds) {
    pausedAt.push_back(fakeNow);
    fakeNow += milliseconds;
}

TEST(ListPacing, PausesOnlyWhenTheWorkHasHeldTheProcessorForAWhile) {
    const unsigned pause = listPauseMilliseconds, hold = listHoldMilliseconds;
    auto clock = listClock;
    auto sleep = listSleep;
    listClock = FakeClock;
    listSleep = FakeSleep;
    listPauseMilliseconds = 40;
    listHoldMilliseconds = 100;
    auto work = [](int looks) {
        for (int i = 0; i < looks * 256; ++i) PaceListWork();
    };
    fakeNow += 1000;  // after a rest
    pausedAt.clear();
    work(8);
    EXPECT_TRUE(pausedAt.empty()) << "80 ms of work end without a pause";
    fakeNow += 1000;
    work(60);
    ASSERT_GE(pausedAt.size(), 4u);
    for (size_t i = 1; i < pausedAt.size(); ++i) {
        const unsigned long worked = pausedAt[i] - pausedAt[i - 1] - 40;
        EXPECT_GE(worked, 100u);
        EXPECT_LE(worked, 120u);
    }
    pausedAt.clear();
    listPauseMilliseconds = 0;
    work(60);
    EXPECT_TRUE(pausedAt.empty());
    listClock = clock;
    listSleep = sleep;
    listPauseMilliseconds = pause;
    listHoldMilliseconds = hold;
}

}  // namespace
