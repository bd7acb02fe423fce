#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "desktop/tray_icon.h"

namespace {

TEST(TrayIcon, FourIconsForSaverAndPauseAndATipOfAtMost127Characters) {
    PrepareTrayIcon();
    ASSERT_TRUE(hMainIcon && hCheckOffIcon && hMainsIcon && hCheckOffsIcon);
    EXPECT_EQ(ChooseTrayIcon(false, false), hMainIcon);
    EXPECT_EQ(ChooseTrayIcon(false, true), hCheckOffIcon);
    EXPECT_EQ(ChooseTrayIcon(true, false), hMainsIcon);
    EXPECT_EQ(ChooseTrayIcon(true, true), hCheckOffsIcon);
    EXPECT_STREQ(Nid.szTip, "Dravonel");
    EXPECT_EQ(Nid.uID, 212u);
    EXPECT_EQ(Nid.uCallbackMessage, 0x207u);
    // The record's whole size for the program's kind: 504 bytes for 32-bit
    // programs, 520 for x64 ones (its handles are pointer-sized).
    EXPECT_EQ(Nid.cbSize, sizeof(void*) == 8 ? 520u : 504u);

    SetTrayTip(("Dravonel(" + std::string(300, 's') + ")").c_str());
    EXPECT_EQ(strlen(Nid.szTip), 127u);
    EXPECT_EQ(std::string(Nid.szTip, 9), "Dravonel(");
    SetTrayTip("Dravonel");
}

}  // namespace
