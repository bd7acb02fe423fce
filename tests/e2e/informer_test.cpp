// The informer plug-in in the running program: its picture is fetched
// through the host's HTTP service (service 18) from a server on 127.0.0.1
// and drawn onto the wallpaper the host composes.
#include <winsock2.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "local_web.h"
#include "plugin_spy.h"
#include "program_folder.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

std::string BmpBytes(const std::string& scratch, const BmpImage& image) {
    WriteBmpFile(scratch, image);
    std::string bytes;
    ReadTextFile(scratch, bytes);
    DeleteFileA(scratch.c_str());
    return bytes;
}

TEST(InformerInTheHost, APictureFromTheWebLandsInWeatherAndOnTheWallpaper) {
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("ini", "eng.ini");
    settings.Set("KvBackGr", "0");
    const COLORREF badgeColour = RGB(250, 200, 10);
    const std::string badge = BmpBytes(folder.file("scratch.bmp"), SolidImage(40, 20, badgeColour));
    LocalWeb web;
    web.Serve("/badge.bmp", badge);
    const std::string informers = settings.path().substr(0, settings.path().rfind('.')) + ".inf";
    WriteTextFile(informers, "#Nbadge#X300#Y420#D1#U" + web.base() + "/badge.bmp\r\n");

    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    EXPECT_TRUE(HandOver(folder, "/ui"));
    std::string fetched;
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(folder.file("Weather\\badge"), fetched) && fetched == badge; },
                          10000))
        << "the picture as served";
    EXPECT_EQ(web.requested(), (std::vector<std::string>{"/badge.bmp"}));

    BmpImage wallpaper;
    EXPECT_TRUE(WaitUntil([&] {
        return ReadBmpFile(folder.file("KvBmp.bmp"), wallpaper) && wallpaper.width > 340 && wallpaper.height > 440 &&
               wallpaper.at(310, 430) == badgeColour;
    }, 10000)) << "the informer is on the composed wallpaper";
    if (wallpaper.width > 340 && wallpaper.height > 440) {
        EXPECT_EQ(wallpaper.at(300, 420), badgeColour) << "its top left corner at X, Y";
        EXPECT_EQ(wallpaper.at(339, 439), badgeColour);
        EXPECT_NE(wallpaper.at(340, 430), badgeColour) << "40 pixels wide";
        EXPECT_NE(wallpaper.at(310, 440), badgeColour) << "20 pixels high";
    }
    EXPECT_TRUE(app.Close());
}

}  // namespace
