#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "engine/list_file.h"
#include "program_folder.h"

namespace {

std::vector<std::string> Paths(const std::vector<WallRow>& rows) {
    std::vector<std::string> paths;
    for (const WallRow& row : rows) paths.push_back(row.path + "|" + row.placement);
    return paths;
}

TEST(ListFileParsing, EntriesBarePathsCommentsAndShortLines) {
    ParsedList parsed = ParseListText(
        "C:\\a.jpg#3\r\n"
        "# a comment\n"
        "C:\\b.jpg\n"
        "abc\n"
        "\n"
        "C:\\dir#1\\c.jpg#0\n"
        "http://host/p.png#5\n"
        "#4");
    EXPECT_EQ(Paths(parsed.rows),
              (std::vector<std::string>{"C:\\a.jpg|3", "C:\\b.jpg|0", "C:\\dir#1\\c.jpg|0", "http://host/p.png|5"}));
    EXPECT_FALSE(parsed.changed);
    EXPECT_EQ(ListFileText(parsed.rows),
              "C:\\a.jpg#3\r\nC:\\b.jpg#0\r\nC:\\dir#1\\c.jpg#0\r\nhttp://host/p.png#5\r\n#4")
        << "a bare path is saved with #0, every line with CR LF";
}

TEST(ListFileParsing, DuplicatesAndDeletionRecordsChangeTheList) {
    ParsedList duplicates = ParseListText("C:\\a.jpg#1\nc:\\A.JPG#2\nC:\\b.jpg#0\n#3");
    EXPECT_EQ(Paths(duplicates.rows), (std::vector<std::string>{"C:\\a.jpg|1", "C:\\b.jpg|0"}));
    EXPECT_TRUE(duplicates.changed);

    ParsedList deletion = ParseListText("C:\\a.jpg#0\nC:\\b.jpg#0\nC:\\a.jpg>\nC:\\c.jpg#0\n#3");
    EXPECT_EQ(Paths(deletion.rows), (std::vector<std::string>{"C:\\b.jpg|0", "C:\\c.jpg|0"}));
    EXPECT_TRUE(deletion.changed);

    ParsedList unknown = ParseListText("C:\\a.jpg#0\nC:\\zzz.jpg>\n#1");
    EXPECT_EQ(unknown.rows.size(), 1u);
    EXPECT_FALSE(unknown.changed) << "a record for a path not in the list changes nothing";

    ParsedList readded = ParseListText("C:\\a.jpg#0\nC:\\a.jpg>\nC:\\a.jpg#4\n");
    EXPECT_EQ(Paths(readded.rows), (std::vector<std::string>{"C:\\a.jpg|4"}));
}

TEST(ListFileParsing, LongLinesStayWhole) {
    std::string path = "C:\\" + std::string(3000, 'x') + ".jpg";
    ParsedList parsed = ParseListText(path + "#2\n#1");
    ASSERT_EQ(parsed.rows.size(), 1u);
    EXPECT_EQ(parsed.rows[0].path, path);
    EXPECT_EQ(parsed.rows[0].placement, '2');
}

TEST(ListFileParsing, AnyBytesAreHandled) {
    std::string junk;
    unsigned seed = 7;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk += static_cast<char>(seed >> 16);
    }
    ParsedList parsed = ParseListText(junk);
    for (const WallRow& row : parsed.rows) EXPECT_FALSE(row.path.empty());
}

class ListFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = folder_.file(name);
        WriteTextFile(path, bytes);
        return path;
    }
    std::string Read(const std::string& path) {
        std::string bytes;
        ReadTextFile(path, bytes);
        return bytes;
    }
    int Count(const std::string& path) {
        FILE* file = fopen(path.c_str(), "a+b");
        int count = GetCountFilesList(file);
        fclose(file);
        return count;
    }
    ProgramFolder folder_{false};
};

TEST_F(ListFiles, TheCountTrailerIsReadFromTheEnd) {
    EXPECT_EQ(Count(Write("a.lst", "C:\\a.jpg#0\n#300")), 300) << "every digit of the count";
    EXPECT_EQ(Count(Write("b.lst", "C:\\a.jpg#0\n#1234567")), 1234567);
    const std::string empty = Write("c.lst", "#0");
    EXPECT_EQ(Count(empty), 0);
    EXPECT_EQ(Read(empty), "#0") << "an empty list's trailer is its only line";
}

TEST_F(ListFiles, AFileWithoutTrailerGetsOne) {
    std::string path = Write("old.lst", "C:\\a.jpg#0\n# note\nC:\\b.jpg\n");
    EXPECT_EQ(Count(path), 2);
    EXPECT_EQ(Read(path), "C:\\a.jpg#0\n# note\nC:\\b.jpg\n\r\n#2");
    EXPECT_EQ(Count(path), 2) << "read from the trailer the second time";
    EXPECT_EQ(Read(path), "C:\\a.jpg#0\n# note\nC:\\b.jpg\n\r\n#2");
    EXPECT_EQ(ParseListText(Read(path)).rows.size(), 2u);

    // As Notepad saves one: CR LF lines, blank ones among them.
    std::string notepad = Write("notepad.lst", "C:\\a.jpg#0\r\n\r\nC:\\b.jpg#0\r\n");
    EXPECT_EQ(Count(notepad), 2) << "a blank line is no entry";
    EXPECT_EQ(Read(notepad), "C:\\a.jpg#0\r\n\r\nC:\\b.jpg#0\r\n\r\n#2");
    EXPECT_EQ(Count(notepad), 2);
}

TEST_F(ListFiles, AppendingKeepsTheTrailerLast) {
    std::string path = Write("other.lst", "C:\\a.jpg#0\nC:\\b.jpg#0\n#2");
    EXPECT_EQ(AppendToListFile(path, {"C:\\c.jpg", "C:\\d.jpg"}, "#0", true), 4);
    EXPECT_EQ(Read(path), "C:\\a.jpg#0\nC:\\b.jpg#0\nC:\\c.jpg#0\r\nC:\\d.jpg#0\r\n#4");

    std::string tens = Write("tens.lst", "C:\\a.jpg#0\n#10");
    EXPECT_EQ(AppendToListFile(tens, {"C:\\a.jpg"}, ">", false), 9);
    EXPECT_EQ(Read(tens), "C:\\a.jpg#0\nC:\\a.jpg>\r\n#9") << "no digit of the old count is left behind";
    EXPECT_EQ(ParseListText(Read(tens)).rows.size(), 0u);

    std::string crlf = Write("crlf.lst", "C:\\a.jpg#0\r\n#1");
    EXPECT_EQ(AppendToListFile(crlf, {"C:\\b.jpg"}, "#0", true), 2);
    EXPECT_EQ(Read(crlf), "C:\\a.jpg#0\r\nC:\\b.jpg#0\r\n#2");

    std::string empty = Write("empty.lst", "#0");
    EXPECT_EQ(AppendToListFile(empty, {"C:\\x.jpg"}, ">", false), 0) << "the count never goes below 0";
    EXPECT_EQ(AppendToListFile(folder_.file("missing.lst"), {"C:\\x.jpg"}, "#0", true), -1);
}

// Inputs the fuzz target found.
TEST_F(ListFiles, FuzzingAZeroByteNearTheEndNeitherHidesTheTrailerNorLosesARow) {
    // The trailer was searched as a C string: a zero byte in the last bytes
    // hid it, and every look at the list of lists appended another one.
    const std::string path = Write("zero.lst", std::string("\x03\0!\x03", 4));
    EXPECT_EQ(Count(path), 1);
    const std::string once = Read(path);
    EXPECT_EQ(once, std::string("\x03\0!\x03\r\n#1", 8));
    EXPECT_EQ(Count(path), 1);
    EXPECT_EQ(Read(path), once) << "no second trailer";

    // A zero byte as the placement: the row was dropped by the next save.
    const std::string row("\0e\0\x02#\0", 6);
    ParsedList parsed = ParseListText(row);
    ASSERT_EQ(parsed.rows.size(), 1u);
    EXPECT_EQ(ParseListText(ListFileText(parsed.rows)).rows.size(), 1u);
    EXPECT_EQ(parsed.rows[0].placement, '0') << "the page's placement";
}

TEST_F(ListFiles, AnInterruptedSaveLeavesThePreviousFile) {
    std::string path = Write("keep.lst", "C:\\a.jpg#0\n#1");
    // The temporary file cannot be made: the save fails before touching the list.
    CreateDirectoryA((path + ".new").c_str(), nullptr);
    EXPECT_FALSE(ReplaceFileText(path, "C:\\b.jpg#0\n#1"));
    EXPECT_EQ(Read(path), "C:\\a.jpg#0\n#1");
    RemoveDirectoryA((path + ".new").c_str());

    EXPECT_TRUE(ReplaceFileText(path, "C:\\b.jpg#0\n#1"));
    EXPECT_EQ(Read(path), "C:\\b.jpg#0\n#1");
    EXPECT_FALSE(FileExists(path + ".new"));
}

}  // namespace
