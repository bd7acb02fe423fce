#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "saver_host.h"
#include "screensavers/saver_commands.h"
#include "system_folders.h"

namespace {

void ClickOnPage(int control) {
    CheckDlgButton(hBoth, control, IsDlgButtonChecked(hBoth, control) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hBoth, control)));
}

using SaverSelection = SaverTest;

// Started by bare name, the current folder (often a picture folder) would be
// searched before the system's.
TEST(SaverCommands, TheSystemDialogsOpenThroughTheSystemsOwnRundll32) {
    const std::string rundll32 = CommandFor((SystemFolder() + "\\rundll32.exe").c_str(), nullptr);
    EXPECT_EQ(SystemSaverSettingsCommand(nullptr, false), rundll32 + " shell32.dll,Control_RunDLL desk.cpl,,1");
    EXPECT_EQ(SystemSaverSettingsCommand("C:\\s.scr", true), rundll32 + " desk.cpl,InstallScreenSaver C:\\s.scr");
}

TEST_F(SaverSelection, FollowsTheSystemSettingInFullOrShortFormAndNamesTheSaverInTheTip) {
    const std::string quoted = savers_.Install("saver_quoted", WindowsFolder(), "Quoted stand-in saver.scr");
    const std::string longName = savers_.Install("saver_long", SystemFolder(), "tl.scr");
    FindScreenSavers();
    ASSERT_EQ(ScreenSaverCount(), 2);

    // The display dialog may name the file in full; it is still that saver,
    // and the system keeps it.
    SetRegistrySaver(quoted);
    OnTimer06();
    EXPECT_EQ(CheckedItem(), ItemOf(quoted));
    EXPECT_STREQ(Nid.szTip, "Dravonel(Stand-in)");
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(quoted));
    EXPECT_EQ(ShortPath(RegistrySaver()), ShortPath(quoted));
    EXPECT_EQ(RegistryActive(), "1");

    // A description longer than the tip is cut to its 127 characters.
    SetRegistrySaver(ShortPath(longName));
    OnTimer06();
    EXPECT_EQ(CheckedItem(), ItemOf(longName));
    EXPECT_EQ(std::string(Nid.szTip), std::string("Dravonel(") + std::string(kLongSaverName).substr(0, 118));

    // A saver file that is gone changes nothing.
    SetRegistrySaver(WindowsFolder() + "\\gone.scr");
    OnTimer06();
    EXPECT_EQ(CheckedItem(), ItemOf(longName));
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(longName));

    // No saver in the system: "<no>", and the plain tip.
    SetRegistrySaver("<absent>");
    OnTimer06();
    EXPECT_EQ(CheckedItem(), 0);
    EXPECT_STREQ(Nid.szTip, "Dravonel");
    EXPECT_FALSE(settings_.Has("SCRNSAVE"));
    EXPECT_EQ(RegistryActive(), "0");
}

TEST_F(SaverSelection, ChooserModeKeepsTheSystemOnTheChooserWhileTheMenuShowsTheStoredChoice) {
    const std::string first = savers_.Install("saver_quoted", WindowsFolder(), "ta.scr");
    const std::string second = savers_.Install("saver_plain", WindowsFolder(), "tb.scr");
    // The chooser beside the program.
    const std::string chooser = savers_.Install("saver_plain", ProgramFolderOfTest(), "KvScrSet.scr");
    FindScreenSaverChooser();
    ASSERT_NE(SCRSet, nullptr);
    ASSERT_EQ(ShortPath(chooser), SCRSet);
    FindScreenSavers();
    SetRegistrySaver(ShortPath(second));
    OnTimer06();
    ASSERT_EQ(CheckedItem(), ItemOf(second));

    // The chooser takes the saver's place in the system; the menu keeps the choice.
    ClickOnPage(10329);
    EXPECT_EQ(settings_.Get("KvScrRule"), "0");
    EXPECT_EQ(RegistrySaver(), SCRSet);
    EXPECT_EQ(RegistryActive(), "1");
    EXPECT_EQ(IniSaver(), SCRSet);
    EXPECT_EQ(CheckedItem(), ItemOf(second));
    EXPECT_STREQ(Nid.szTip, "Dravonel(tb)");
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(second));

    // Someone picks another saver in the system dialog: put back.
    SetRegistrySaver(ShortPath(first));
    OnTimer06();
    EXPECT_EQ(RegistrySaver(), SCRSet);
    EXPECT_EQ(CheckedItem(), ItemOf(second));
    // The chooser ran another saver and stored it: the menu follows.
    settings_.Set("SCRNSAVE", ShortPath(first));
    OnTimer06();
    EXPECT_EQ(CheckedItem(), ItemOf(first));
    EXPECT_STREQ(Nid.szTip, "Dravonel(Stand-in)");
    EXPECT_EQ(RegistrySaver(), SCRSet);

    // Choosing from the menu keeps the chooser in the system, too.
    SetSCR(ItemOf(second));
    EXPECT_EQ(RegistrySaver(), SCRSet);
    EXPECT_EQ(settings_.Get("SCRNSAVE"), ShortPath(second));

    // Switched off: no saver at all; on again: the chooser.
    ClickOnPage(10305);
    EXPECT_EQ(settings_.Get("KvScrAuto"), "0");
    EXPECT_EQ(RegistrySaver(), "<absent>");
    EXPECT_EQ(RegistryActive(), "0");
    EXPECT_EQ(IniSaver(), "");
    EXPECT_EQ(CheckedItem(), ItemOf(second)) << "the choice stays";
    ClickOnPage(10305);
    EXPECT_EQ(RegistrySaver(), SCRSet);
    EXPECT_EQ(RegistryActive(), "1");

    // Without chooser mode the chosen saver itself.
    ClickOnPage(10329);
    EXPECT_EQ(RegistrySaver(), ShortPath(second));
    EXPECT_EQ(IniSaver(), ShortPath(second));
    free(SCRSet);
    SCRSet = nullptr;
}

}  // namespace
