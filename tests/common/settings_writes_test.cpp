// Settings writes: the text edited in memory the way the system's writer
// edits the file, then written beside it and moved over it. Cases marked
// "fuzzing" are inputs the fuzz target found.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "createpathfile.h"
#include "file_replace.h"
#include "ini_text.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

std::string Edited(std::string text, const char* section, const char* key, const char* value) {
    EXPECT_TRUE(EditIniText(text, section, key, value));
    return text;
}

std::string Value(const std::string& text, const std::string& section, const std::string& key) {
    std::string value;
    return ReadIniText(text, section, key, &value) ? value : "<absent>";
}

TEST(IniText, EditsTouchOnlyTheKeysLineAndKeepEverythingElse) {
    const std::string file = "; kept as it is\r\n[set]\r\n  KvA = 1 \r\nkvb=2\r\n\r\n[Other]\r\nKvA=9\r\n";
    EXPECT_EQ(Edited(file, "set", "kva", "5"), "; kept as it is\r\n[set]\r\nKvA=5\r\nkvb=2\r\n\r\n[Other]\r\nKvA=9\r\n")
        << "first key of the name, its spelling kept, case ignored";
    EXPECT_EQ(Edited(file, " SET ", "KvC", "3"), "; kept as it is\r\n[set]\r\n  KvA = 1 \r\nkvb=2\r\nKvC=3\r\n\r\n[Other]\r\nKvA=9\r\n")
        << "a new key after the section's last line, before its blank lines";
    EXPECT_EQ(Edited("[set]\nKvA=1", "set", "KvB", "2"), "[set]\nKvA=1\r\nKvB=2\r\n");
    EXPECT_EQ(Edited("", "set", "KvA", "1"), "[set]\r\nKvA=1\r\n");
    EXPECT_EQ(Edited("[set]\r\nKvA=1\r\nKvA=2\r\n", "set", "kva", nullptr), "[set]\r\n")
        << "removing takes every line of the key, so the reader cannot find a second one";
    EXPECT_EQ(Edited("[a]\r\nx=1\r\n[b]\r\ny=2\r\n[A]\r\nz=3\r\n", "a", nullptr, nullptr), "[b]\r\ny=2\r\n")
        << "removing a section takes every section of the name";
    EXPECT_EQ(Value(Edited("[set]\r\n", "set", "KvText", "one\r\n[evil]\r\nx=1"), "set", "KvText"), "one")
        << "a line break cannot start lines of its own";
    EXPECT_EQ(Edited("[set]\r\nKvA=1\r\n", "set", "KvA", "1"), "[set]\r\nKvA=1\r\n");

    // A line without "=" is a key without value to the system's reader.
    EXPECT_EQ(Edited("[set]\r\nKvFlag\r\n", "set", "KvFlag", "0"), "[set]\r\nKvFlag=0\r\n");
    // A UTF-8 mark before the first section does not hide it.
    EXPECT_EQ(Edited("\xEF\xBB\xBF[set]\r\nKvA=1\r\n", "set", "KvA", "2"), "\xEF\xBB\xBF[set]\r\nKvA=2\r\n");
}

TEST(IniText, NamesTheWriterCannotKeepReadableGoToTheSystem) {
    std::string text = "[set]\r\n";
    for (const char* section : {"", "  ", "a]b", "a\r\nb"}) EXPECT_FALSE(EditIniText(text, section, "k", "v"));
    // Fuzzing: a key line starting "[" and holding "]" reads as a section.
    for (const char* key : {"a=b", "[\x02]\x80", "[k", " "}) EXPECT_FALSE(EditIniText(text, "set", key, "v")) << key;
    EXPECT_EQ(text, "[set]\r\n");
}

TEST(IniText, FuzzingATextEndingInALoneCarriageReturnKeepsItsLastKey) {
    const std::string text = "[a]\r\nk=v\r";
    for (const char* section : {"a", "b"}) {
        const std::string edited = Edited(text, section, "x", "1");
        EXPECT_EQ(Value(edited, "a", "k"), "v") << section;
        EXPECT_EQ(Value(edited, section, "x"), "1") << section;
        EXPECT_EQ(edited.find("\r\r"), std::string::npos) << section;
    }
}

class SettingsWrites : public ::testing::Test {
protected:
    void SetUp() override {
        HeapString folder(CreatePathFile("Users", nullptr, nullptr));
        CreateDirectoryA(folder.get(), nullptr);
        HeapString path(CreatePathFile("Users", "writes", ".set"));
        file_ = path.get();
        SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file_.c_str());
    }
    void TearDown() override {
        SetSettingsWriteObserver(nullptr);
        SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file_.c_str());
    }
    std::string Read() {
        std::string bytes;
        ReadFileBytes(file_.c_str(), bytes);
        return bytes;
    }
    std::string Get(const char* key, const char* section = "set") {
        HeapString value(GetKey(file_.c_str(), section, key, "<absent>"));
        return value.get();
    }
    std::string file_;
};

int writesSeen, failuresSeen;
void CountWrites(const char*, bool saved) {
    ++writesSeen;
    if (!saved) ++failuresSeen;
}

TEST_F(SettingsWrites, TheSystemReadsWhatWasWrittenAndAReadOnlyFileIsKeptReportedAndWrittenLater) {
    WriteTextFile(file_, "[set]\r\nKvA=1\r\n[HotKey]\r\nWin0=5\r\n");
    EXPECT_EQ(Get("KvA"), "1");  // the system may keep the file in memory now
    writesSeen = failuresSeen = 0;
    SetSettingsWriteObserver(CountWrites);
    EXPECT_TRUE(SetKey(file_.c_str(), "set", "KvA", "2"));
    EXPECT_TRUE(SetKey(file_.c_str(), "HotKey", "Win1", "7"));
    EXPECT_EQ(Get("KvA"), "2") << "the system's reader sees the replaced file";
    EXPECT_EQ(Get("Win1", "HotKey"), "7");
    EXPECT_EQ(Read(), "[set]\r\nKvA=2\r\n[HotKey]\r\nWin0=5\r\nWin1=7\r\n");
    EXPECT_FALSE(FileExists(file_ + ".new"));

    SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string kept = Read();
    EXPECT_FALSE(SetKey(file_.c_str(), "set", "KvA", "3"));
    EXPECT_EQ(Read(), kept);
    EXPECT_EQ(writesSeen, 3);
    EXPECT_EQ(failuresSeen, 1);

    // Kept, and written once the file may be written again.
    EXPECT_FALSE(RetrySettingsWrites());
    SetFileAttributesA(file_.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(RetrySettingsWrites());
    EXPECT_EQ(Get("KvA"), "3");
    EXPECT_EQ(failuresSeen, 2);
    EXPECT_EQ(writesSeen, 5);
    EXPECT_TRUE(RetrySettingsWrites()) << "nothing left to write";
    EXPECT_EQ(writesSeen, 5);
}

TEST_F(SettingsWrites, AWholeSectionIsReplacedInOneWrite) {
    WriteTextFile(file_, "[set]\r\nKvA=1\r\n[FileMon]\r\n0=C:\\Old:old\r\n1=C:\\Gone:gone\r\n");
    EXPECT_TRUE(SetSection(file_.c_str(), "FileMon", std::string("0=C:\\New:new\0", 14).c_str()));
    EXPECT_EQ(Read(), "[set]\r\nKvA=1\r\n[FileMon]\r\n0=C:\\New:new\r\n");
    EXPECT_EQ(Get("1", "FileMon"), "<absent>");
    EXPECT_TRUE(SetSection(file_.c_str(), "FileMon", ""));
    EXPECT_EQ(Read(), "[set]\r\nKvA=1\r\n");
}

TEST_F(SettingsWrites, WritersOfOneFileNeverLoseEachOthersKeys) {
    // Each write reads the whole file and replaces it: two writers at once
    // must take turns, or one would put back the file without the other's key.
    auto writer = [this](char side) {
        for (int i = 0; i < 60; ++i) {
            std::string key = std::string("Kv") + side + std::to_string(i);
            SetKey(file_.c_str(), "set", key.c_str(), "1");
        }
    };
    std::thread first(writer, 'A'), second(writer, 'B');
    first.join();
    second.join();
    for (char side : {'A', 'B'})
        for (int i = 0; i < 60; ++i) EXPECT_EQ(Get((std::string("Kv") + side + std::to_string(i)).c_str()), "1");
}

TEST_F(SettingsWrites, AUnicodeFileIsLeftToTheSystemsWriter) {
    const std::string wide("\xFF\xFE[\0s\0e\0t\0]\0\r\0\n\0K\0v\0A\0=\0\x31\0\r\0\n\0", 28);
    WriteTextFile(file_, wide);
    EXPECT_TRUE(SetKey(file_.c_str(), "set", "KvA", "2"));
    const std::string after = Read();
    ASSERT_GE(after.size(), 2u);
    EXPECT_EQ(after.substr(0, 2), "\xFF\xFE") << "still Unicode";
    EXPECT_EQ(Get("KvA"), "2");
}

}  // namespace
