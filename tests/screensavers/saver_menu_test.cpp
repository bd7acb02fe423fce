#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/main_menu_state.h"
#include "base/menudata.h"
#include "saver_host.h"
#include "scopedwin.h"

namespace {

::testing::Environment* const host = ::testing::AddGlobalTestEnvironment(new SaverHost);

TEST(SaverDisplayName, TheQuotedPartOfTheDescriptionElseTheFileName) {
    EXPECT_EQ(SaverDisplayName("Screen saver \"Stand-in\"", "x.scr"), "Stand-in");
    EXPECT_EQ(SaverDisplayName("a \"b\" c \"d\" e", "x.scr"), "b\" c \"d") << "first to last quote";
    EXPECT_EQ(SaverDisplayName("Marquee", "x.scr"), "Marquee");
    EXPECT_EQ(SaverDisplayName("3.5\" floppy", "x.scr"), "3.5\" floppy") << "one quote is no pair";
    EXPECT_EQ(SaverDisplayName("Only 'apostrophes'", "x.scr"), "Only 'apostrophes'");
    EXPECT_EQ(SaverDisplayName("", "C:\\WINDOWS\\My Saver.v2.scr"), "My Saver.v2");
    EXPECT_EQ(SaverDisplayName("\"\"", "blank.scr"), "blank") << "an empty name is no name";
    EXPECT_EQ(SaverDisplayName(nullptr, "noext"), "noext");
}

using SaverMenu = SaverTest;

TEST_F(SaverMenu, ListsTheWindowsFolderThenTheSystemFolderWithNameIconAndShortPath) {
    const std::string quoted = savers_.Install("saver_quoted", WindowsFolder(), "ta.scr");
    const std::string plain = savers_.Install("saver_plain", WindowsFolder(), "Plain stand-in saver.scr");
    const std::string longName = savers_.Install("saver_long", SystemFolder(), "tl.scr");
    const std::string twice = savers_.Install("saver_quoted", SystemFolder(), "ta.scr");
    ASSERT_FALSE(quoted.empty() || plain.empty() || longName.empty() || twice.empty());

    FindScreenSavers();
    FindScreenSavers();  // a rebuild replaces, never adds
    ASSERT_EQ(GetMenuItemCount(hSCRMenu), 5);
    char text[32] = "";
    GetMenuStringA(hSCRMenu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "<no>");
    EXPECT_EQ(GetMenuItemID(hSCRMenu, 0), 0u);

    struct Expected {
        std::string path, name;
        bool windowsFolder;
    };
    const std::vector<Expected> expected = {{quoted, "Stand-in", true},
                                            {plain, "Plain stand-in saver", true},
                                            {longName, kLongSaverName, false},
                                            {twice, "Stand-in", false}};
    std::vector<int> windowsItems, systemItems;
    for (const Expected& saver : expected) {
        SCOPED_TRACE(saver.path);
        int id = -1;
        for (int item = 1; item <= ScreenSaverCount(); ++item)
            if (lstrcmpiA(ScreenSaverPath(item), ShortPath(saver.path).c_str()) == 0) id = item;
        ASSERT_GT(id, 0);
        EXPECT_EQ(ScreenSaverName(id), saver.name);
        EXPECT_EQ(GetMenuItemID(hSCRMenu, id), static_cast<UINT>(id)) << "ids are positions";
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoA(hSCRMenu, static_cast<UINT>(id), TRUE, &item));
        EXPECT_TRUE(item.fType & MFT_OWNERDRAW);
        const menudata* record = reinterpret_cast<const menudata*>(item.dwItemData);
        ASSERT_NE(record, nullptr);
        EXPECT_NE(record->hIcon, nullptr) << "the shell's small icon";
        (saver.windowsFolder ? windowsItems : systemItems).push_back(id);
    }
    EXPECT_LT(*std::max_element(windowsItems.begin(), windowsItems.end()),
              *std::min_element(systemItems.begin(), systemItems.end()))
        << "the Windows folder first";
}

// A 32-bit program on 64-bit Windows sees the real System32 only through
// another name of it ("Sysnative"): what it alone holds is added under the
// System32 name the system's setting uses, and nothing comes twice.
TEST_F(SaverMenu, AnotherNameOfTheSystemFolderAddsWhatOnlyItHoldsUnderTheSystemName) {
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    const std::string alias = std::string(temporary) + "saver-alias-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(alias.c_str(), nullptr));
    ASSERT_FALSE(savers_.Install("saver_quoted", SystemFolder(), "ta.scr").empty());
    ASSERT_FALSE(savers_.Install("saver_quoted", alias, "ta.scr").empty());
    ASSERT_FALSE(savers_.Install("saver_plain", alias, "Only here.scr").empty());

    FindScreenSavers();
    ASSERT_EQ(ScreenSaverCount(), 1);
    EXPECT_EQ(FindFile(alias.c_str(), "*.scr", ScreenSaverCount(), SystemFolder().c_str()), 2);
    ASSERT_EQ(ScreenSaverCount(), 2) << "the saver both hold comes once";
    const std::string path = ScreenSaverPath(2);
    EXPECT_EQ(path.rfind(ShortPath(SystemFolder()) + "\\", 0), 0u) << path;
    EXPECT_EQ(ScreenSaverName(2), std::string("Only here"));

    savers_.RemoveAll();
    RemoveDirectoryA(alias.c_str());
}

TEST_F(SaverMenu, WithoutSaversOnlyNoRemainsAndTheSaverSettingsItemIsGreyed) {
    SetRegistrySaver(WindowsFolder() + "\\gone.scr");
    FindScreenSavers();
    OnTimer06();
    EXPECT_EQ(GetMenuItemCount(hSCRMenu), 1);
    EXPECT_EQ(ScreenSaverCount(), 0);
    // A system saver whose file is gone selects nothing; no saver at all, "<no>".
    SetRegistrySaver("<absent>");
    OnTimer06();
    EXPECT_EQ(CheckedItem(), 0);
    const int configure = MainMenuPosition(IDPSETSCR);
    ASSERT_GE(configure, 0);
    EXPECT_TRUE(GetMenuState(hMainMenu, static_cast<UINT>(configure), MF_BYPOSITION) & MF_GRAYED);

    // A saver arrives and is searched for: item 9 comes alive, also in a
    // rebuilt main menu.
    const std::string saver = savers_.Install("saver_plain", WindowsFolder(), "ta.scr");
    SetRegistrySaver(ShortPath(saver));
    FindScreenSavers();
    OnTimer06();
    EXPECT_EQ(CheckedItem(), 1);
    EXPECT_FALSE(GetMenuState(hMainMenu, static_cast<UINT>(MainMenuPosition(IDPSETSCR)), MF_BYPOSITION) & MF_GRAYED);
    CreateMainMenu();
    EXPECT_FALSE(GetMenuState(hMainMenu, static_cast<UINT>(MainMenuPosition(IDPSETSCR)), MF_BYPOSITION) & MF_GRAYED);
    // Its removal is noticed at the next search; with the file gone the
    // selection is not applied, and there is nothing to configure.
    savers_.RemoveAll();
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(10306, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hBoth, 10306)));
    EXPECT_EQ(GetMenuItemCount(hSCRMenu), 1);
    EXPECT_TRUE(GetMenuState(hMainMenu, static_cast<UINT>(MainMenuPosition(IDPSETSCR)), MF_BYPOSITION) & MF_GRAYED);
}

}  // namespace
