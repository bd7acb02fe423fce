// The menu-items page in-process: hiding items takes them out of the main
// menu at once, with the menu's separators kept sound, and the choice
// between own and shared settings files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "hotkeys/menu_items.h"
#include "hotkeys_support.h"
#include "kept_registry.h"
#include "kvinifunction.h"
#include "resource.h"
#include "settings_file.h"

namespace {

// The menu as ids in order, -1 for a separator.
std::vector<int> MenuLayout() {
    std::vector<int> layout;
    const int count = GetMenuItemCount(hMainMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE;
        GetMenuItemInfoA(hMainMenu, static_cast<UINT>(i), TRUE, &item);
        layout.push_back((item.fType & MFT_SEPARATOR) ? -1 : static_cast<int>(item.wID));
    }
    return layout;
}

bool SeparatorsSound(const std::vector<int>& layout) {
    if (layout.empty()) return true;
    if (layout.front() == -1 || layout.back() == -1) return false;
    for (size_t i = 1; i < layout.size(); ++i)
        if (layout[i] == -1 && layout[i - 1] == -1) return false;
    return true;
}

bool Shows(int id) {
    for (int shown : MenuLayout())
        if (shown == id) return true;
    return false;
}

void Click(int row) { SendDlgItemMessageA(hRasshItem, row, BM_CLICK, 0, 0); }

TEST(MenuItems, HidingARowTakesItsItemOutOfTheMainMenuAndStoresTheFlag) {
    SettingsFile settings(TestFolder());
    ASSERT_EQ(countRasshItem, 18);
    ASSERT_TRUE(Shows(IDPNEXT));
    Click(IDPNEXT);
    EXPECT_FALSE(Shows(IDPNEXT)) << "the menu is rebuilt at once";
    EXPECT_EQ(settings.Get("KvHide5", "HideMenu"), "0");
    EXPECT_TRUE(SeparatorsSound(MenuLayout()));
    Click(IDPNEXT);
    EXPECT_TRUE(Shows(IDPNEXT));
    EXPECT_FALSE(settings.Has("KvHide5", "HideMenu"));
}

TEST(MenuItems, WholeGroupsHiddenLeaveNoDoubledLeadingOrTrailingSeparator) {
    const std::vector<std::vector<int>> groups = {{8, 9, 10, 11}, {15, 16, 17}, {0, 1}, {12, 13, 14}};
    for (const std::vector<int>& group : groups) {
        for (int id : group) Click(id);
        const std::vector<int> layout = MenuLayout();
        for (int id : group) EXPECT_FALSE(Shows(id)) << id;
        EXPECT_TRUE(SeparatorsSound(layout)) << "group from " << group.front();
    }
    // Everything but the lists' and period submenus' group hidden.
    for (int id : {4, 5, 6, 7}) Click(id);
    EXPECT_EQ(MenuLayout(), (std::vector<int>{2, 3}));
    for (int id = 0; id < 18; ++id)
        if (id != 2 && id != 3) Click(id);
    EXPECT_EQ(MenuLayout().size(), 18u + 5u) << "all items and the five separators back";
    EXPECT_TRUE(SeparatorsSound(MenuLayout()));
}

TEST(MenuItems, CheckMarksGoToTheMainMenusOwnItemsNotToASubmenusItemOfTheSameNumber) {
    HMENU period = GetSubMenu(hMainMenu, MainMenuPosition(IDPPERIOD));
    ASSERT_NE(period, nullptr) << "the period menu numbers its items 0 to 14 as well";
    const UINT periodItem14 = GetMenuState(period, 14, MF_BYPOSITION) & MF_CHECKED;
    CheckMainMenuItem(IDPCHECKOFF, 1);
    EXPECT_TRUE(GetMenuState(hMainMenu, MainMenuPosition(IDPCHECKOFF), MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(GetMenuState(period, 14, MF_BYPOSITION) & MF_CHECKED, periodItem14);
    CheckMainMenuItem(IDPCHECKOFF, 0);
    EXPECT_FALSE(GetMenuState(hMainMenu, MainMenuPosition(IDPCHECKOFF), MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(IsMenu(period)) << "submenus survive the rebuilds";
}

char userName[64];
BOOL WINAPI FakeUserName(LPSTR buffer, LPDWORD size) {
    lstrcpynA(buffer, userName, static_cast<int>(*size));
    return TRUE;
}

TEST(UserMode, SharedSettingsChosenByOneUserAreWhatAnotherUserReads) {
    const std::string machine = ProgramFolderFile("Dravonel.ini");
    auto defuser = [&] {
        char value[64] = "";
        GetPrivateProfileStringA("set", "defuser", "<absent>", value, sizeof value, machine.c_str());
        return std::string(value);
    };
    auto settingsFile = [] {
        std::string path = SettingsPath();
        return path.substr(path.rfind('\\') + 1);
    };
    GetUserNameFunction previous = SetGetUserNameFunction(FakeUserName);
    lstrcpyA(userName, "anna");
    LoadUserMode();
    EXPECT_EQ(IsDlgButtonChecked(hRassh, IDSAVETYPE0), BST_CHECKED);

    SendDlgItemMessageA(hRassh, IDSAVETYPE1, BM_CLICK, 0, 0);
    EXPECT_EQ(defuser(), "anna");
    lstrcpyA(userName, "boris");
    EXPECT_EQ(settingsFile(), "anna.set") << "another Windows user reads and writes anna's file";
    LoadUserMode();
    EXPECT_EQ(IsDlgButtonChecked(hRassh, IDSAVETYPE1), BST_CHECKED);
    SendDlgItemMessageA(hRassh, IDSAVETYPE1, BM_CLICK, 0, 0);
    EXPECT_EQ(defuser(), "anna") << "choosing the chosen option again hands nothing over";

    SendDlgItemMessageA(hRassh, IDSAVETYPE0, BM_CLICK, 0, 0);
    EXPECT_EQ(defuser(), "<absent>");
    EXPECT_EQ(settingsFile(), "boris.set");
    SetGetUserNameFunction(previous);
    LoadUserMode();
}

const char* const kPictureExtensions[] = {".gif", ".bmp", ".ico", ".jpg", ".jpeg", ".emf", ".wmf", ".png"};

// What a verb test writes to the prefix's classes root goes again; ".wmf" is
// left without a type for the test's length.
struct VerbTestRegistry {
    VerbTestRegistry() {
        trace.NotePictureTypesAndFolders();
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ".wmf", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, nullptr);
            RegCloseKey(key);
        }
    }
    ClassesKeysTrace trace;
    KeptValue wmfType{HKEY_CLASSES_ROOT, ".wmf", nullptr};
};

std::string Program() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

void SetVerbBox(int box, int exitBox, const char* text, int edit, bool exit) {
    SetDlgItemTextA(hRassh, edit, text);
    CheckDlgButton(hRassh, exitBox, exit ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(hRassh, box, BM_CLICK, 0, 0);
}

TEST(ContextMenuVerbs, AnEmptyVerbTextWritesNothing) {
    VerbTestRegistry registry;
    const std::string gifType = ClassesValue(".gif");
    SetVerbBox(IDFTOWALL, IDFTOWALLEX, "", IDEDFTOWALL, true);
    EXPECT_EQ(IsDlgButtonChecked(hRassh, IDFTOWALL), BST_UNCHECKED) << "the box claims no verb";
    EXPECT_FALSE(ClassesKeyExists((gifType == "<absent>" ? "giffile" : gifType) + "\\shell\\DravonelTW"));
    EXPECT_EQ(ClassesValue(".gif"), gifType) << "not even a type is registered";
    SetVerbBox(IDDTOLIST, IDDTOLISTEX, "", IDEDDTOLIST, false);
    EXPECT_FALSE(ClassesKeyExists("Directory\\shell\\Dravonel"));
}

TEST(ContextMenuVerbs, VerbsAreWrittenForEveryPictureTypeAndForFoldersAndRemovedWhole) {
    VerbTestRegistry registry;
    const std::string program = "\"" + Program() + "\" %1";
    SetVerbBox(IDFTOWALL, IDFTOWALLEX, "Make it my wallpaper", IDEDFTOWALL, true);
    SetVerbBox(IDFTOLIST, IDFTOLISTEX, "Add this picture to the list of the day", IDEDFTOLIST, false);
    SetVerbBox(IDDTOLIST, IDDTOLISTEX, "Add the folder", IDEDDTOLIST, true);
    EXPECT_EQ(ClassesValue(".wmf"), "wmffile") << "the extension got the default type";
    for (const char* extension : kPictureExtensions) {
        SCOPED_TRACE(extension);
        const std::string type = ClassesValue(extension);
        ASSERT_NE(type, "<absent>");
        EXPECT_EQ(ClassesValue(type + "\\shell\\DravonelTW"), "Make it my wallpaper");
        EXPECT_EQ(ClassesValue(type + "\\shell\\DravonelTW\\command"), program + "/tw/ex");
        EXPECT_EQ(ClassesValue(type + "\\shell\\Dravonel"), std::string("Add this picture to the list of the day", 29));
        EXPECT_EQ(ClassesValue(type + "\\shell\\Dravonel\\command"), program);
    }
    EXPECT_EQ(ClassesValue("Directory\\shell\\Dravonel"), "Add the folder");
    EXPECT_EQ(ClassesValue("Directory\\shell\\Dravonel\\command"), program + "/ex");

    // "/ex" counts as it stands when the box is checked, not later.
    CheckDlgButton(hRassh, IDFTOLISTEX, BST_CHECKED);
    EXPECT_EQ(ClassesValue(ClassesValue(".png") + "\\shell\\Dravonel\\command"), program);

    for (int box : {IDFTOWALL, IDFTOLIST, IDDTOLIST}) SendDlgItemMessageA(hRassh, box, BM_CLICK, 0, 0);
    for (const char* extension : kPictureExtensions) {
        const std::string type = ClassesValue(extension);
        for (const char* verb : {"\\shell\\DravonelTW", "\\shell\\Dravonel"}) {
            EXPECT_FALSE(ClassesKeyExists(type + verb + "\\command")) << type << verb;
            EXPECT_FALSE(ClassesKeyExists(type + verb)) << type << verb;
        }
    }
    EXPECT_FALSE(ClassesKeyExists("Directory\\shell\\Dravonel"));
}

}  // namespace
