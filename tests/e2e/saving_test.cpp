// What the program saves survives it being killed in the middle, a full
// disk and files kept read-only: every file is afterwards the old one or
// the new one, whole, and a save that failed is told, never taken as done.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const int kRows = 100000;

std::string Read(const std::string& path) {
    std::string bytes;
    ReadTextFile(path, bytes);
    return bytes;
}

// Runs a command line in the program as a second instance hands it over;
// without waiting for it to be done unless asked to.
bool RunCommand(DravonelApp& app, const std::string& line, bool wait) {
    SetDlgItemTextA(app.main(), 1013, line.c_str());
    if (!wait) return PostMessageA(app.main(), WM_COMMAND, 1014, 0) != 0;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(app.main(), WM_COMMAND, 1014, 0, SMTO_NORMAL, 60000, &result) != 0;
}

// The list after the picture went on top: one line more, the rest as it was.
bool IsListWithNewRow(const std::string& old, const std::string& now, const std::string& picture) {
    const size_t trailer = old.rfind('#');
    const size_t firstEnd = now.find("\r\n");
    if (trailer == std::string::npos || firstEnd == std::string::npos) return false;
    const std::string first = now.substr(0, firstEnd + 2);
    const int count = atoi(old.c_str() + trailer + 1);
    const std::string tail = "\\" + picture + "#0\r\n";
    return first.size() > tail.size() && first.compare(first.size() - tail.size(), tail.size(), tail) == 0 &&
           now == first + old.substr(0, trailer) + "#" + std::to_string(count + 1);
}

// A whole random order of rows rows: every row once, every line ended.
bool IsWholeOrder(const std::string& text, int rows) {
    std::set<long> seen;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos || end == at) return false;
        const std::string line = text.substr(at, end - at);
        if (line.find_first_not_of("0123456789") != std::string::npos) return false;
        const long row = atol(line.c_str());
        if (row >= rows || !seen.insert(row).second) return false;
        at = end + 2;
    }
    return static_cast<int>(seen.size()) == rows;
}

// Size and write time: whatever way a file is written, one of them changes
// at its first byte.
std::string Stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "missing";
    char text[64];
    snprintf(text, sizeof text, "%lu %lu %lu", data.nFileSizeLow, data.ftLastWriteTime.dwLowDateTime,
             data.ftLastWriteTime.dwHighDateTime);
    return text;
}

std::string WithLine(const std::string& text, const std::string& key, const std::string& value) {
    const size_t at = text.find("\r\n" + key + "=");
    const size_t end = text.find("\r\n", at + 2);
    return text.substr(0, at + 2) + key + "=" + value + text.substr(end);
}

// Killed again and again while it saves a 100,000-row list, its random order
// and the settings: each file is afterwards the old or the new one, whole.
TEST(CrashSafety, KilledWhileSavingEveryFileIsTheOldOrTheNewOneWhole) {
    ProgramFolder folder;
    CreateDirectoryA(folder.file("Lists").c_str(), nullptr);
    const std::string list = folder.file("Lists\\big.lst"), order = folder.file("Lists\\big.rnd");
    std::string text, orderText;
    char line[64];
    for (int i = 0; i < kRows; ++i) {
        snprintf(line, sizeof line, "C:\\Pictures\\p%06d.jpg#0\r\n", i);
        text += line;
        orderText += std::to_string(i) + "\r\n";
    }
    WriteTextFile(list, text + "#" + std::to_string(kRows));
    WriteTextFile(order, orderText);

    SYSTEMTIME now;
    GetLocalTime(&now);
    const SettingsFile settings(folder.path());
    // What the program would write of itself after starting is there already.
    std::string settingsText = "[set]\r\nini=eng.ini\r\nKvFileList=big\r\nKvRandom=0\r\nKvIndex=0\r\nKvPriority=3\r\n"
                               "KvPeriod=0\r\nKvLastDay=" + std::to_string(now.wDay) + "\r\nKvFolder=start\r\n";
    // Enough keys that writing them takes a while.
    for (int i = 0; i < 8000; ++i) settingsText += "Pad" + std::to_string(i) + "=a value that fills the file\r\n";
    WriteTextFile(settings.path(), settingsText);

    const std::string files[3] = {settings.path(), list, order};
    std::mt19937 random(12345);
    int interrupted = 0;
    const int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string pictures = folder.file("new" + std::to_string(round));
        const std::string picture = "n" + std::to_string(round) + ".jpg";
        CreateDirectoryA(pictures.c_str(), nullptr);
        WriteTextFile(pictures + "\\" + picture, "x");
        const std::string oldList = Read(list), oldOrder = Read(order), oldSettings = Read(settings.path());
        const int oldRows = atoi(oldList.c_str() + oldList.rfind('#') + 1);

        DravonelApp app(folder);
        ASSERT_TRUE(app.WaitReady(60000));
        // A temporary left by the last kill is no sign of this save.
        for (const std::string& file : files) DeleteFileA((file + ".new").c_str());
        const int target = round % 3;
        const std::string before = Stamp(files[target]);
        if (round == 0) {
            ASSERT_TRUE(RunCommand(app, pictures, true)) << "one save to the end";
        } else {
            RunCommand(app, pictures, false);
            // Killed as soon as one of the three files is being written: its
            // temporary is there (the program's way) or the file itself
            // changed (any other way); the list a little later at times.
            const DWORD delay = target == 1 ? random() % 20 : 0;
            const DWORD start = GetTickCount();
            bool seen = false;
            while (!(seen = FileExists(files[target] + ".new") || Stamp(files[target]) != before) &&
                   GetTickCount() - start < 20000 && app.process().running()) {
            }
            if (seen) {
                Sleep(delay);
                ++interrupted;
            }
        }
        app.process().Terminate();
        ASSERT_FALSE(app.process().running());

        const std::string nowList = Read(list), nowOrder = Read(order), nowSettings = Read(settings.path());
        EXPECT_TRUE(nowList == oldList || IsListWithNewRow(oldList, nowList, picture)) << "list: neither old nor new";
        EXPECT_TRUE(nowOrder == oldOrder || IsWholeOrder(nowOrder, oldRows + 1)) << "order: neither old nor new";
        // The folder is stored first, then the current picture's new row
        // (the addition went in above it): each write whole.
        const std::string withFolder = WithLine(oldSettings, "KvFolder", pictures);
        const int oldIndex = atoi(oldSettings.c_str() + oldSettings.find("\r\nKvIndex=") + 10);
        EXPECT_TRUE(nowSettings == oldSettings || nowSettings == withFolder ||
                    nowSettings == WithLine(withFolder, "KvIndex", std::to_string(oldIndex + 1)))
            << "settings: neither old nor new";
        if (round == 0) {
            EXPECT_NE(nowList, oldList);
            EXPECT_NE(nowOrder, oldOrder);
            EXPECT_NE(nowSettings, oldSettings);
        }
    }
    EXPECT_GE(interrupted, rounds / 2) << "too few kills landed while a file was being written";
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

// A list and a settings file kept read-only (as files copied from a CD are):
// the old files stay, each kind of failure is told once in the user's
// language in a box titled with the file's name, and saving works again when the
// files may be written.
TEST(SavingFails, ReadOnlyFilesAreKeptAndTheUserIsToldOnce) {
    ProgramFolder folder;
    CreateDirectoryA(folder.file("Lists").c_str(), nullptr);
    const std::string list = folder.file("Lists\\pics.lst");
    const std::string oldList = "C:\\old.jpg#0\r\n#1";
    WriteTextFile(list, oldList);
    SettingsFile settings(folder.path());
    settings.Set("ini", "eng.ini");
    settings.Set("KvFileList", "pics");
    const std::string first = folder.file("First"), second = folder.file("Second");
    for (const std::string& pictures : {first, second}) {
        CreateDirectoryA(pictures.c_str(), nullptr);
        WriteTextFile(pictures + "\\a.jpg", "x");
    }
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    const DWORD program = app.process().id();

    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
    RunCommand(app, first, false);
    HWND box = WaitForTopWindow("#32770", NameOf(list).c_str(), program, 10000);
    ASSERT_NE(box, nullptr) << "no box titled with the list";
    EXPECT_EQ(BoxText(box), folder.EnglishText(61) + "\r\n\r\n" + list);
    EXPECT_EQ(BoxText(box).substr(0, 15), "List not saved:");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    ASSERT_TRUE(RunCommand(app, "", true));  // the command is done, its last writes too
    EXPECT_EQ(Read(list), oldList);
    EXPECT_FALSE(FileExists(list + ".new"));
    EXPECT_EQ(settings.Get("KvFolder"), first) << "the settings were writable";

    SetFileAttributesA(settings.path().c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string oldSettings = Read(settings.path());
    ASSERT_TRUE(RunCommand(app, second, false));
    box = WaitForTopWindow("#32770", NameOf(settings.path()).c_str(), program, 10000);
    ASSERT_NE(box, nullptr) << "no box titled with the settings file";
    EXPECT_EQ(BoxText(box), folder.EnglishText(62) + "\r\n\r\n" + settings.path());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    ASSERT_TRUE(RunCommand(app, "", true));  // everything before is done
    EXPECT_EQ(FindTopWindow("#32770", NameOf(list).c_str(), program), nullptr) << "the list's failure was told already";
    EXPECT_EQ(Read(settings.path()), oldSettings);
    EXPECT_EQ(Read(list), oldList);

    // Writable again: what was not saved is, within a few seconds.
    SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(settings.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(WaitUntil([&] { return Read(list).find(second + "\\a.jpg#0\r\n") != std::string::npos; }, 10000));
    EXPECT_NE(Read(list).find(first + "\\a.jpg#0\r\n"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return settings.Get("KvFolder") == second; }, 10000));
    for (const std::string& file : {list, settings.path()})
        EXPECT_EQ(FindTopWindow("#32770", file.c_str(), program), nullptr) << "no box when saving works";
    EXPECT_TRUE(app.Close());
}

}  // namespace
