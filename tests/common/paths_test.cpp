#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "createpathfile.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

std::string ProgramFolderWithSlash() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string Path(const char* fold, const char* file, const char* ext) {
    HeapString path(CreatePathFile(fold, file, ext));
    return path ? path.get() : "<none>";
}

TEST(CreatePathFile, BuildsBesideTheRunningProgram) {
    const std::string folder = ProgramFolderWithSlash();
    EXPECT_EQ(Path(nullptr, nullptr, nullptr), folder);
    EXPECT_EQ(Path("Users", "anna", ".set"), folder + "Users\\anna.set");
    EXPECT_EQ(Path(nullptr, "Dravonel", ".ini"), folder + "Dravonel.ini");
    EXPECT_EQ(Path("Lists", nullptr, nullptr), folder + "Lists\\");
    EXPECT_EQ(Path("Lists", "all", nullptr), folder + "Lists\\all");
}

TEST(CreatePathFile, CutsAtTheBufferSize) {
    std::string longName(3000, 'n');
    std::string path = Path("Users", longName.c_str(), ".set");
    EXPECT_EQ(path.size(), static_cast<size_t>(KV_PATH_BUFFER - 1));
    EXPECT_EQ(path.substr(0, ProgramFolderWithSlash().size()), ProgramFolderWithSlash());
}

TEST(ChdirAccess, TrueOnlyForFoldersAndEntersThem) {
    ProgramFolder scratch(false);
    std::string sub = scratch.file("sub");
    CreateDirectoryA(sub.c_str(), nullptr);
    WriteTextFile(scratch.file("plain.txt"), "x");

    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_EQ(chdir_access(sub.c_str()), 1);
    char now[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_STRCASEEQ(now, sub.c_str());
    EXPECT_EQ(chdir_access(scratch.file("plain.txt").c_str()), 0);
    EXPECT_EQ(chdir_access(scratch.file("missing").c_str()), 0);
    EXPECT_EQ(chdir_access(""), 0);
    EXPECT_EQ(chdir_access(nullptr), 0);
    SetCurrentDirectoryA(before);
}

}  // namespace
