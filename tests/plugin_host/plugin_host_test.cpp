// Loading and dispatch in-process: which modules of the folder become
// plug-ins and in what order, their pages in the tree, the commands whose
// answer ends a round, the plug-ins' hot-key and menu rows and their main-menu
// items, and the command line they may rewrite.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_menu.h"
#include "base/globals.h"
#include "base/main_menu_state.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "plugin_host_support.h"
#include "plugins/plugin_commands.h"
#include "plugins/plugin_services.h"
#include "kvinifunction.h"
#include "resource.h"

namespace {

std::string ModuleName(HMODULE module) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    std::string file = strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path;
    return file.substr(0, file.rfind('.'));
}

struct TreeItem {
    std::string text;
    HWND page;
    std::vector<TreeItem> children;
};

std::vector<TreeItem> Items(HWND tree, HTREEITEM first) {
    std::vector<TreeItem> items;
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        char text[128] = "";
        TVITEMA data = {};
        data.mask = TVIF_TEXT | TVIF_PARAM;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof text;
        TreeView_GetItem(tree, &data);
        items.push_back({text, reinterpret_cast<HWND>(data.lParam), Items(tree, TreeView_GetChild(tree, item))});
    }
    return items;
}

// The menu as ids in order, -1 for a separator.
std::vector<int> MenuLayout() {
    std::vector<int> layout;
    for (int i = 0; i < GetMenuItemCount(hMainMenu); ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE;
        GetMenuItemInfoA(hMainMenu, static_cast<UINT>(i), TRUE, &item);
        layout.push_back((item.fType & MFT_SEPARATOR) ? -1 : static_cast<int>(item.wID));
    }
    return layout;
}

// The plug-ins' menu ids, as their rows were handed out.
int MenuRow(const std::string& name, int index) {
    int row = BUILTIN_MENU_ITEMS;
    for (const std::string& plugin : listOrder) {
        const int count = plugin == "a" ? 1 : plugin == "b" ? 2 : 0;
        if (plugin == name) return row + index;
        row += count;
    }
    return -1;
}

TEST(PluginLoading, ModulesWithTheEntryLoadInFolderOrderAndOnlyPagesGetTreeItems) {
    ASSERT_EQ(listOrder.size(), 3u);
    std::vector<std::string> loaded;
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p) loaded.push_back(ModuleName(plugin->hPlaginDll));
    EXPECT_EQ(loaded, listOrder) << "the list keeps the folder's order";

    // The module without the entry was loaded, found wanting and unloaded;
    // the file that is no module never loaded.
    EXPECT_EQ(GetModuleHandleA((PluginsFolder() + "noentry.dll").c_str()), nullptr);
    EXPECT_EQ(GetModuleHandleA((PluginsFolder() + "junk.dll").c_str()), nullptr);
    EXPECT_EQ(CallsOf(startupCalls, "no_entry", 0).size(), 0u);
    EXPECT_NE(std::find(startupCalls.begin(), startupCalls.end(), "no_entry loaded"), startupCalls.end());
    EXPECT_NE(std::find(startupCalls.begin(), startupCalls.end(), "no_entry unloaded"), startupCalls.end());

    // c answered no page: it is asked nothing about one, but gets the rest.
    EXPECT_EQ(CallsOf(startupCalls, "c", KvCREATE).size(), 1u);
    EXPECT_TRUE(CallsOf(startupCalls, "c", KvGETDESCRIPTION).empty());
    EXPECT_EQ(CallsOf(startupCalls, "c", KvSETTINGS).size(), 1u);
    EXPECT_EQ(Plugin("c")->H, nullptr);
    for (const char* name : {"a", "b"}) {
        const std::vector<std::string> asked = CallsOf(startupCalls, name, KvGETDESCRIPTION);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], std::string(name) + " 23 0 " + ini) << "with the language file";
    }

    // Every later command reaches them in list order.
    std::vector<std::string> settingsOrder;
    for (const std::string& line : startupCalls) {
        const std::string name = line.substr(0, line.find(' '));
        if (!CallsOf({line}, name, KvSETTINGS).empty()) settingsOrder.push_back(name);
    }
    EXPECT_EQ(settingsOrder, listOrder);

    // The tree: the plug-ins' root last, its text from the language file, and
    // the pages in the reverse of the list's order.
    const std::vector<TreeItem> top = Items(GetDlgItem(hMain, IDTREEVIEW), TreeView_GetRoot(GetDlgItem(hMain, IDTREEVIEW)));
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[1].text, "Plug-ins");
    EXPECT_EQ(top[1].page, hPlugins);
    std::vector<std::string> shown;
    for (const TreeItem& item : top[1].children) {
        shown.push_back(item.text);
        EXPECT_TRUE(IsWindow(item.page));
        EXPECT_EQ(GetParent(item.page), hContent);
        EXPECT_FALSE(GetWindowLongA(item.page, GWL_STYLE) & WS_VISIBLE) << "shown only while selected";
    }
    std::vector<std::string> expected;
    for (const std::string& name : listOrder)
        if (name != "c") expected.insert(expected.begin(), "Sample " + std::string(1, static_cast<char>(toupper(name[0]))));
    EXPECT_EQ(shown, expected);
}

TEST(PluginDispatch, TheFirstPluginThatDecidesEndsTheRound) {
    NewCalls();
    for (const std::string& name : listOrder) Configure(name, "answer", "5", "1");
    EXPECT_TRUE(PluginsRefuseNextWall());
    std::vector<std::string> calls = NewCalls();
    EXPECT_EQ(CallsOf(calls, listOrder[0], KvSTOPNEXTWALL).size(), 1u);
    EXPECT_TRUE(CallsOf(calls, listOrder[1], KvSTOPNEXTWALL).empty()) << "the second is not asked";
    for (const std::string& name : listOrder) Configure(name, "answer", "5", nullptr);
    EXPECT_FALSE(PluginsRefuseNextWall());
    EXPECT_EQ(NewCalls().size(), 3u) << "all three asked when none decides";

    // Calendar colours: black and white are no answer, the next one is asked.
    Configure(listOrder[0], "answer", "20", "0");
    Configure(listOrder[1], "answer", "20", "16777215");
    Configure(listOrder[2], "answer", "20", "1193046");  // 0x123456
    EXPECT_EQ(PluginDayColour(KvDAYTEXTCOLOUR, "03", "15"), 0x123456u);
    calls = NewCalls();
    for (const std::string& name : listOrder) {
        ASSERT_EQ(CallsOf(calls, name, KvDAYTEXTCOLOUR).size(), 1u) << name;
        EXPECT_EQ(CallsOf(calls, name, KvDAYTEXTCOLOUR)[0], name + " 20 03 15");
    }
    Configure(listOrder[0], "answer", "22", "65280");
    EXPECT_EQ(PluginDayColour(KvDAYOUTLINECOLOUR, "12", "31"), 0xFF00u);
    EXPECT_EQ(NewCalls().size(), 1u);
    for (const std::string& name : listOrder) {
        Configure(name, "answer", "20", nullptr);
        Configure(name, "answer", "22", nullptr);
    }
}

TEST(PluginRows, HotKeysTakeConsecutiveRowsAfterTheHostsAndRunInTheirOwner) {
    EXPECT_EQ(countHotKey, BUILTIN_HOTKEYS + 2) << "three offered, the second answered none";
    const std::vector<std::string> asked = CallsOf(startupCalls, "b", KvGETHOTKEY);
    EXPECT_EQ(asked, (std::vector<std::string>{"b 3 0 12", "b 3 1 13", "b 3 2 13"}));
    char label[64] = "";
    GetDlgItemTextA(hHotKey, IDSTA1 + 12, label, sizeof label);
    EXPECT_STREQ(label, "b key 0");
    GetDlgItemTextA(hHotKey, IDSTA1 + 13, label, sizeof label);
    EXPECT_STREQ(label, "b key 2");
    const keyset* row = KeySetOf(GetDlgItem(hHotKey, IDHOTKEY1 + 13));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->pDravonex, Plugin("b")->pDravonex);
    EXPECT_STREQ(row->keyname, "bKey2");

    NewCalls();
    HotKeyRun(IDHOTKEY1 + 13);
    const std::vector<std::string> calls = NewCalls();
    EXPECT_EQ(calls, (std::vector<std::string>{"b 4 0 13"})) << "only the owner, with the row";

    // Service 32 reads a row's combination for its plug-in.
    SendDlgItemMessageA(hHotKey, IDHOTKEY1 + 13, HKM_SETHOTKEY, MAKEWORD('J', HOTKEYF_CONTROL), 0);
    EXPECT_EQ(RunFuncFromPlagin(KvSrvReadHotKey, 13), MAKEWORD('J', HOTKEYF_CONTROL));
    EXPECT_EQ(RunFuncFromPlagin(KvSrvReadHotKey, countHotKey), 0);
}

TEST(PluginRows, MenuItemsStandBetweenTheHostsGroupsOnePluginApartAndReachTheirOwner) {
    const int a0 = MenuRow("a", 0), b0 = MenuRow("b", 0), b1 = MenuRow("b", 1);
    ASSERT_EQ(countRasshItem, BUILTIN_MENU_ITEMS + 3);
    std::vector<int> plugins;
    for (const std::string& name : listOrder) {
        if (name == "c") continue;
        if (!plugins.empty()) plugins.push_back(-1);
        plugins.push_back(MenuRow(name, 0));
        if (name == "b") plugins.push_back(b1);
    }
    std::vector<int> expected = {0, 1, -1, 2, 3, -1, 4, 5, 6, 7, -1, 8, 9, 10, 11, -1, 12, 13, 14, -1};
    expected.insert(expected.end(), plugins.begin(), plugins.end());
    expected.insert(expected.end(), {-1, 15, 16, 17});
    EXPECT_EQ(MenuLayout(), expected);
    HMENU sub = GetSubMenu(hMainMenu, MainMenuPosition(b1));
    EXPECT_NE(sub, nullptr) << "b attached its submenu when the menu was complete";

    NewCalls();
    CreateMainMenu();
    std::vector<std::string> calls = NewCalls();
    char menu[32];
    snprintf(menu, sizeof menu, "menu=%p", static_cast<void*>(hMainMenu));
    EXPECT_EQ(CallsOf(calls, "a", KvCREATEMENUITEM),
              (std::vector<std::string>{"a 8 0 " + std::to_string(a0) + " " + menu}));
    EXPECT_EQ(CallsOf(calls, "b", KvCREATEMENUITEMPOPUP),
              (std::vector<std::string>{
                  "b 9 " + std::to_string(MainMenuPosition(b0)) + " " + std::to_string(b0) + " " + menu,
                  "b 9 " + std::to_string(MainMenuPosition(b1)) + " " + std::to_string(b1) + " " + menu}));

    // Chosen: the owner alone hears of it.
    ProcMainMenu(a0);
    calls = NewCalls();
    EXPECT_EQ(calls, (std::vector<std::string>{"a 10 0 " + std::to_string(a0) + " " + menu}));

    // A command from b's submenu goes round every plug-in as KvPOPMENU.
    sub = GetSubMenu(hMainMenu, MainMenuPosition(b1));
    ASSERT_NE(sub, nullptr);
    SendMessageA(hHide, WM_MENUSELECT, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(sub));
    SendMessageA(hHide, WM_COMMAND, MAKEWPARAM(1, 0), 0);
    calls = NewCalls();
    ASSERT_EQ(calls.size(), 3u);
    char popup[48];
    snprintf(popup, sizeof popup, "18 1 0 menu=%p", static_cast<void*>(sub));
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(calls[i], listOrder[i] + " " + popup);

    // Hidden on the menu-items page: out of the menu, and not told it is shown.
    SendDlgItemMessageA(hRasshItem, a0, BM_CLICK, 0, 0);
    calls = NewCalls();
    EXPECT_TRUE(CallsOf(calls, "a", KvCREATEMENUITEM).empty());
    EXPECT_EQ(MainMenuPosition(a0), -1);
    const std::vector<int> layout = MenuLayout();
    for (size_t i = 1; i < layout.size(); ++i) EXPECT_FALSE(layout[i] == -1 && layout[i - 1] == -1);
    SendDlgItemMessageA(hRasshItem, a0, BM_CLICK, 0, 0);
    EXPECT_GE(MainMenuPosition(a0), 0);
}

TEST(PluginDispatch, EachPluginSeesTheCommandLineAsThoseBeforeItLeftIt) {
    Configure(listOrder[0], "cmdrun", "take", "/first");
    Configure(listOrder[1], "cmdrun", "take", "/second");
    NewCalls();
    char* line = PluginsCmdRun(_strdup("name /second /first"));
    ASSERT_NE(line, nullptr);
    EXPECT_STREQ(line, "name  ");
    free(line);
    const std::vector<std::string> calls = NewCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], listOrder[0] + " 17 name /second /first");
    EXPECT_EQ(calls[1], listOrder[1] + " 17 name /second ");
    EXPECT_EQ(calls[2], listOrder[2] + " 17 name  ");
    Configure(listOrder[0], "cmdrun", "take", nullptr);
    Configure(listOrder[1], "cmdrun", "take", nullptr);
}

}  // namespace
