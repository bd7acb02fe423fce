// The program's marks on the system, made and removed through its own
// windows: the context-menu verbs of the menu-items page, the desktop
// shortcut of the about box, and the about box's full clean-up, which a
// plug-in (the sample, told to refuse) may stop. The desktop folder is
// pointed into the test's program folder and every system value the test
// touches in the prefix is put back.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "kept_registry.h"
#include "plugin_spy.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// The shell writes "Shell Folders" anew from here whenever it looks a folder up.
const char kUserShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kDesktop[] = "Control Panel\\Desktop";
const char kLogonDesktop[] = ".DEFAULT\\Control Panel\\Desktop";

std::string JpegVerb(const char* verb) {
    std::string type = RegString(HKEY_CLASSES_ROOT, ".jpg", nullptr);
    return (type == "<absent>" ? "jpegfile" : type) + "\\shell\\" + verb;
}

struct Shortcut {
    bool read = false;
    std::string target, description;
};

Shortcut ReadShortcut(const std::string& path) {
    Shortcut shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            shortcut.read = SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
            shortcut.target = text;
            text[0] = '\0';
            link->GetDescription(text, sizeof text);
            shortcut.description = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

void Click(HWND dialog, int control, bool post = false) {
    HWND button = GetDlgItem(dialog, control);
    if (post) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    else SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// A check box ticked as the user ticks it.
void Tick(HWND dialog, int control, bool on) {
    SendDlgItemMessageA(dialog, control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(dialog, control);
}

class ShellIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        classes_.NotePictureTypesAndFolders();
        ASSERT_TRUE(InstallSample(folder_, "zz_spy"));
        settings_.Set("ini", "eng.ini");
        settings_.Set("KvAutoSt", "0");  // the start-with-Windows box ticked
        CreateDirectoryA(folder_.file("Lists").c_str(), nullptr);
        const std::string picture = folder_.file("p.bmp");
        WriteBmpFile(picture, SolidImage(16, 12, RGB(40, 80, 120)));
        WriteTextFile(folder_.file("Lists\\one.lst"), picture + "#0\n#1");
        settings_.Set("KvFileList", "one");
        WriteTextFile(UserFile(".rem"), "a reminder file");
        CreateDirectoryA(desktopFolder_.c_str(), nullptr);
        SetRegString(HKEY_CURRENT_USER, kShellFolders, "Desktop", desktopFolder_);
        SetRegString(HKEY_CURRENT_USER, kUserShellFolders, "Desktop", desktopFolder_);
        // The logon screen shows the composed wallpaper: the clean-up puts
        // the system's own back.
        SetRegString(HKEY_USERS, kLogonDesktop, "Wallpaper", folder_.file("KvBmp.bmp"));
    }
    void TearDown() override {
        for (const char* verb : {"DravonelTW", "Dravonel"}) {
            for (const char* extension : {".gif", ".bmp", ".ico", ".jpg", ".jpeg", ".emf", ".wmf", ".png"}) {
                std::string type = RegString(HKEY_CLASSES_ROOT, extension, nullptr);
                if (type == "<absent>") continue;
                RegDeleteKeyA(HKEY_CLASSES_ROOT, (type + "\\shell\\" + verb + "\\command").c_str());
                RegDeleteKeyA(HKEY_CLASSES_ROOT, (type + "\\shell\\" + verb).c_str());
            }
        }
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Directory\\shell\\Dravonel\\command");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "Directory\\shell\\Dravonel");
        CoUninitialize();
    }
    std::string UserFile(const char* extension) const {
        std::string path = settings_.path();
        return path.substr(0, path.rfind('.')) + extension;
    }
    std::string Link() const { return desktopFolder_ + "\\Dravonel.lnk"; }

    // Everything the program can leave: the wallpaper composed, the three
    // verbs, the shortcut. Returns the open about box.
    HWND LeaveTraces(DravonelApp& app) {
        EXPECT_TRUE(HandOver(folder_, "/uw"));
        EXPECT_TRUE(WaitUntil([&] { return FileExists(folder_.file("KvBmp.bmp")); }, 5000));
        HWND page = FindChildDialogWithControl(app.main(), 11003);
        EXPECT_NE(page, nullptr);
        for (int box : {11003, 11004, 11006}) Tick(page, box, true);
        EXPECT_TRUE(ClassesKeyExists(JpegVerb("DravonelTW") + "\\command"));
        EXPECT_TRUE(ClassesKeyExists(JpegVerb("Dravonel") + "\\command"));
        EXPECT_TRUE(ClassesKeyExists("Directory\\shell\\Dravonel\\command"));

        MenuDump menu;
        EXPECT_TRUE(DumpMainMenu(folder_, "zz_spy", menu));
        const MenuEntry* about = menu.Find("About...");
        EXPECT_NE(about, nullptr);
        if (!about) return nullptr;
        ChooseMenuItem(menu, about->id);
        HWND box = WaitForTopWindow("#32770", "About Dravonel", app.process().id(), 5000);
        EXPECT_NE(box, nullptr) << "the about box opens from the main menu";
        if (!box) return nullptr;
        Click(box, 10202);
        return box;
    }

    ClassesKeysTrace classes_;
    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
    const std::string desktopFolder_ = folder_.file("Desktop");
    KeptValue desktop_{HKEY_CURRENT_USER, kShellFolders, "Desktop"};
    KeptValue userDesktop_{HKEY_CURRENT_USER, kUserShellFolders, "Desktop"};
    KeptValue wallpaper_{HKEY_CURRENT_USER, kDesktop, "Wallpaper"};
    KeptValue logon_{HKEY_USERS, kLogonDesktop, "Wallpaper"};
    KeptValue run_{HKEY_CURRENT_USER, kRun, "Dravonel"};
};

TEST_F(ShellIntegration, ARefusingPlugInKeepsEveryTrace) {
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    HWND box = LeaveTraces(app);
    ASSERT_NE(box, nullptr);
    const Shortcut shortcut = ReadShortcut(Link());
    ASSERT_TRUE(shortcut.read) << "the shortcut is on the desktop";
    EXPECT_EQ(lstrcmpiA(shortcut.target.c_str(), folder_.file("Dravonel.exe").c_str()), 0) << shortcut.target;
    EXPECT_EQ(shortcut.description, "MalvorenSoft");
    EXPECT_NE(RegString(HKEY_CURRENT_USER, kRun, "Dravonel"), "<absent>");

    ConfigureSample(folder_, "zz_spy", "answer", "12", "1");
    Click(box, 10204, true);
    EXPECT_TRUE(WaitUntil([&] { return CountLines(CallLines(folder_), "zz_spy 12 0 0") > 0; }, 5000))
        << "the plug-in was asked first";
    WaitUntil([] { return false; }, 500);
    EXPECT_TRUE(app.process().running());
    EXPECT_TRUE(FileExists(Link()));
    EXPECT_TRUE(FileExists(settings_.path()));
    EXPECT_TRUE(FileExists(UserFile(".rem")));
    EXPECT_TRUE(FileExists(folder_.file("Lists\\one.lst")));
    EXPECT_TRUE(FileExists(folder_.file("KvBmp.bmp")));
    EXPECT_TRUE(ClassesKeyExists(JpegVerb("DravonelTW")));
    EXPECT_TRUE(ClassesKeyExists("Directory\\shell\\Dravonel"));
    EXPECT_NE(RegString(HKEY_CURRENT_USER, kRun, "Dravonel"), "<absent>");
    EXPECT_EQ(RegString(HKEY_USERS, kLogonDesktop, "Wallpaper"), folder_.file("KvBmp.bmp"));
    EXPECT_TRUE(app.Close());
}

TEST_F(ShellIntegration, TheCleanUpRemovesWhatTheProgramLeftAndEndsIt) {
    DravonelApp app(folder_);
    ASSERT_TRUE(app.WaitReady());
    HWND box = LeaveTraces(app);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(FileExists(Link()));

    Click(box, 10204, true);
    ASSERT_TRUE(app.process().WaitForExit(20000)) << "the program ends";
    EXPECT_EQ(app.process().exitCode(), 0u);
    EXPECT_FALSE(FileExists(Link()));
    EXPECT_FALSE(FileExists(settings_.path())) << "not even written again on the way out";
    EXPECT_FALSE(FileExists(UserFile(".rem")));
    EXPECT_EQ(GetFileAttributesA(folder_.file("Lists").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(FileExists(folder_.file("KvBmp.bmp")));
    EXPECT_FALSE(FileExists(folder_.file("Prelog.bmp")));
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kRun, "Dravonel"), "<absent>");
    EXPECT_EQ(RegString(HKEY_CURRENT_USER, kDesktop, "Wallpaper"), "");
    EXPECT_EQ(RegString(HKEY_USERS, kLogonDesktop, "Wallpaper"), "") << "the logon screen's own wallpaper";
    for (const char* verb : {"DravonelTW", "Dravonel"}) {
        EXPECT_FALSE(ClassesKeyExists(JpegVerb(verb) + "\\command")) << verb;
        EXPECT_FALSE(ClassesKeyExists(JpegVerb(verb))) << verb;
    }
    EXPECT_FALSE(ClassesKeyExists("Directory\\shell\\Dravonel"));
    EXPECT_TRUE(FileExists(folder_.file("p.bmp"))) << "the user's pictures stay";
}

}  // namespace
