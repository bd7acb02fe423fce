// The setup program run silently into a fresh per-user folder: what it puts
// in (the x64 programs on 64-bit Windows, the 32-bit ones elsewhere), the
// shortcut, the Run value, the program started from there, and the
// uninstaller with and without the user's consent to remove their data.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kept_registry.h"
#include "module_kind.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "started_process.h"
#include "wow64.h"
#include "window_wait.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dravonel";

// Relative paths of every file below folder.
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + "\\" + name, prefix + name + "\\", files);
        else
            files.push_back(prefix + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool ReadUserString(const char* key, const char* name, std::string& value) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    char text[1024] = "";
    DWORD size = sizeof text - 1, type = 0;
    const bool found = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
                           ERROR_SUCCESS && type == REG_SZ;
    RegCloseKey(opened);
    if (found) value = text;
    return found;
}

bool UserKeyExists(const char* key) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

void SetRunValue(const std::string& value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Dravonel", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void DeleteRunValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, "Dravonel");
    RegCloseKey(key);
}

std::string StartMenuShortcut() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\Dravonel.lnk";
}

// The target of a shell shortcut, or an empty text.
std::string ShortcutTarget(const std::string& link) {
    std::string target;
    IShellLinkA* shell = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shell))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        char path[MAX_PATH] = "";
        if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(shell->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shell->Release();
    return target;
}

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetClassesValue(const std::string& key, const std::string& value) {
    SetRegString(HKEY_CLASSES_ROOT, key.c_str(), nullptr, value);
}

bool SameFile(const std::string& a, const std::string& b) {
    char longA[MAX_PATH] = "", longB[MAX_PATH] = "";
    GetLongPathNameA(a.c_str(), longA, MAX_PATH);
    GetLongPathNameA(b.c_str(), longB, MAX_PATH);
    return longA[0] && lstrcmpiA(longA, longB) == 0;
}

// Whether this Windows is 64-bit: an x64 program, or a 32-bit one under WOW64.
bool SixtyFourBitWindows() { return OwnModuleKind() == ModuleKind::X64 || RunningUnderWow64(); }

// The shipped setup is a 32-bit program. Where the test script found that
// 32-bit programs cannot run, the same script built as an x64 program
// stands in for it.
std::string SetupProgram() {
    char runs32[8] = "";
    if (GetEnvironmentVariableA("DRAVONEL_RUNS_32BIT", runs32, sizeof runs32) && std::string(runs32) == "0")
        return SETUP_EXE_X64_TEST;
    return SETUP_EXE;
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        setup = SetupProgram();
        if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no setup program: makensis was missing when the build ran";
        if (setup != SETUP_EXE)
            std::printf("32-bit programs cannot run here: the setup script runs as an x64 program (%s)\n",
                        setup.c_str());
        // The setup puts in the kind this Windows runs best.
        stage = SixtyFourBitWindows() ? SETUP_STAGE_X64 : SETUP_STAGE;
        CoInitialize(nullptr);
        classes.NotePictureTypesAndFolders();
        ListFiles(stage, "", staged);
        ASSERT_FALSE(staged.empty());
        // The user's programs folder, as the setup offers it, inside a fresh folder.
        target = root.path() + "\\Programs\\Dravonel";
        // The desktop, where the program puts its shortcut, inside it too.
        desktop = root.path() + "\\Desktop";
        CreateDirectoryA(desktop.c_str(), nullptr);
        for (const char* key : {kShellFolders, kUserShellFolders}) {
            HKEY opened;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) ==
                ERROR_SUCCESS) {
                RegSetValueExA(opened, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(desktop.c_str()),
                               static_cast<DWORD>(desktop.size() + 1));
                RegCloseKey(opened);
            }
        }
    }
    void TearDown() override {
        DeleteFileA(StartMenuShortcut().c_str());
        DeleteRunValue();
        CoUninitialize();
    }

    // Runs a program with arguments and waits for it to end; its exit code.
    static DWORD RunToEnd(const std::string& folder, const std::string& program, const std::string& arguments) {
        StartedProcess process(folder, program, arguments);
        if (!process.WaitForExit(120000)) return 0xFFFFFFFF;
        return process.exitCode();
    }

    void Install() {
        const std::string folder = setup.substr(0, setup.rfind('\\'));
        ASSERT_EQ(RunToEnd(folder, setup.substr(setup.rfind('\\') + 1), "/S /D=" + target), 0u);
    }

    // The uninstaller hands itself to a copy in the temporary folder and
    // ends at once; the copy removes the uninstall entry last of all.
    void Uninstall(const std::string& arguments) {
        ASSERT_EQ(RunToEnd(target, "uninstall.exe", arguments), 0u);
        ASSERT_TRUE(WaitUntil([] { return !UserKeyExists(kUninstallKey); }, 60000));
    }

    ClassesKeysTrace classes;
    KeptValue shellDesktop{HKEY_CURRENT_USER, kShellFolders, "Desktop"};
    KeptValue userShellDesktop{HKEY_CURRENT_USER, kUserShellFolders, "Desktop"};
    ProgramFolder root{false};
    std::string setup, stage, target, desktop;
    std::vector<std::string> staged;
};

TEST_F(Setup, InstallsForTheUserStartsFromThereAndUninstallsKeepingTheUsersData) {
    Install();
    for (const std::string& file : staged) EXPECT_TRUE(FileExists(target + "\\" + file)) << file;
    EXPECT_TRUE(FileExists(target + "\\uninstall.exe"));
    // The programs of the kind this Windows runs best, the same as staged.
    for (const char* file : {"Dravonel.exe", "Plugins\\KvClock.dll", "Tool\\PixOle.dll"})
        EXPECT_EQ(ModuleKindOfFile((target + "\\" + file).c_str()), ModuleKindOfFile((stage + "\\" + file).c_str()))
            << file;
    EXPECT_EQ(ModuleKindOfFile((target + "\\Dravonel.exe").c_str()),
              SixtyFourBitWindows() ? ModuleKind::X64 : ModuleKind::X86);

    EXPECT_TRUE(SameFile(ShortcutTarget(StartMenuShortcut()), target + "\\Dravonel.exe"));
    std::string value;
    ASSERT_TRUE(ReadUserString(kUninstallKey, "InstallLocation", value));
    EXPECT_TRUE(SameFile(value, target));
    ASSERT_TRUE(ReadUserString(kUninstallKey, "UninstallString", value));
    EXPECT_NE(value.find("uninstall.exe"), std::string::npos);
    // Start with Windows is on by default: the value the program itself writes.
    ASSERT_TRUE(ReadUserString(kRunKey, "Dravonel", value));
    EXPECT_EQ(value, "\"" + target + "\\Dravonel.exe\"") << "quoted, as the program writes it";

    {
        StartedProcess dravonel(target, "Dravonel.exe", "");
        HWND main = WaitForTopWindow("#32770", "Dravonel", dravonel.id(), 60000);
        ASSERT_NE(main, nullptr);
        // The program keeps the Run value from its own option, which the setup set.
        HWND general = FindChildDialogWithControl(main, 10300);
        ASSERT_NE(general, nullptr);
        EXPECT_TRUE(ControlChecked(general, 10300));
        ASSERT_TRUE(ReadUserString(kRunKey, "Dravonel", value));
        EXPECT_EQ(value, "\"" + target + "\\Dravonel.exe\"");
        // The program speaks the setup's language, the user's own.
        const bool russian = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_RUSSIAN;
        char root[100] = "";
        GetPrivateProfileStringA("MAIN", "0", "", root, sizeof root,
                                 (target + (russian ? "\\Language\\rus.ini" : "\\Language\\eng.ini")).c_str());
        const std::vector<std::string> pages = TreeItemTexts(GetDlgItem(main, 1012));
        ASSERT_FALSE(pages.empty());
        EXPECT_EQ(pages[0], root);

        CreateDirectoryA((target + "\\Lists").c_str(), nullptr);
        ASSERT_TRUE(WriteTextFile(target + "\\Lists\\Holidays.lst", "C:\\pictures\\sea.jpg|0\r\n"));
        // The unquoted value of older versions is ours too.
        SetRunValue(target + "\\Dravonel.exe");
        // The uninstaller ends the running program itself.
        Uninstall("/S");
        EXPECT_TRUE(dravonel.WaitForExit(10000));
    }

    for (const std::string& file : staged) EXPECT_FALSE(FileExists(target + "\\" + file)) << file;
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(ReadUserString(kRunKey, "Dravonel", value));
    EXPECT_FALSE(UserKeyExists(kUninstallKey));
    // Nothing of the user's goes unless they say so.
    EXPECT_TRUE(FileExists(target + "\\Lists\\Holidays.lst"));
    std::vector<std::string> users;
    ListFiles(target + "\\Users", "", users);
    EXPECT_FALSE(users.empty());
}

TEST_F(Setup, UninstallingWithTheUsersConsentLeavesNothingAndSparesAnotherCopysRunValue) {
    Install();
    CreateDirectoryA((target + "\\Lists").c_str(), nullptr);
    ASSERT_TRUE(WriteTextFile(target + "\\Lists\\Holidays.lst", "C:\\pictures\\sea.jpg|0\r\n"));
    ASSERT_TRUE(WriteTextFile(target + "\\Lists\\Holidays.rnd", "0\r\n"));
    ASSERT_TRUE(WriteTextFile(target + "\\KvBmp.bmp", "BM"));
    // Start with Windows now belongs to a portable copy elsewhere.
    const std::string other = "C:\\Tools\\Dravonel\\Dravonel.exe";
    SetRunValue(other);
    // The program's marks on the shell, as it writes them; the folders'
    // verb is the other copy's.
    ASSERT_TRUE(WriteTextFile(desktop + "\\Dravonel.lnk", "a shortcut"));
    const std::string ours = "\"" + target + "\\Dravonel.exe\" %1";
    std::string gif = ClassesValue(".gif");
    if (gif == "<absent>" || gif.empty()) gif = "giffile";
    for (const std::string verb : {"Dravonel", "DravonelTW"}) {
        SetClassesValue(gif + "\\shell\\" + verb, "Dravonel");
        SetClassesValue(gif + "\\shell\\" + verb + "\\command", ours + (verb == "DravonelTW" ? "/tw" : ""));
    }
    SetClassesValue("Directory\\shell\\Dravonel\\command", "\"" + other + "\" %1");

    Uninstall("/S /REMOVEDATA");
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES) << "the program folder is left";
    std::string value;
    ASSERT_TRUE(ReadUserString(kRunKey, "Dravonel", value));
    EXPECT_EQ(value, other);
    EXPECT_FALSE(FileExists(desktop + "\\Dravonel.lnk"));
    EXPECT_FALSE(ClassesKeyExists(gif + "\\shell\\Dravonel"));
    EXPECT_FALSE(ClassesKeyExists(gif + "\\shell\\DravonelTW"));
    EXPECT_TRUE(ClassesKeyExists("Directory\\shell\\Dravonel\\command")) << "another copy's verb stays";
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Directory\\shell\\Dravonel\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "Directory\\shell\\Dravonel");
}

}  // namespace
