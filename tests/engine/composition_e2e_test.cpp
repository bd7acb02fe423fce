// The program end to end: a calendar placed with the mouse on the calendar
// page is saved and the wallpaper is composed, written and applied at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

const int kPlaceButton = 10735, kMonthX = 10762, kMonthY = 10763;

struct TopmostQuery {
    DWORD process;
    HWND found;
};

BOOL CALLBACK MatchTopmost(HWND window, LPARAM parameter) {
    TopmostQuery* query = reinterpret_cast<TopmostQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == query->process && IsWindowVisible(window) && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopmostWindow(DWORD process) {
    TopmostQuery query = {process, nullptr};
    EnumWindows(MatchTopmost, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The user's wallpaper setting as another program sees it (Wine keeps the
// system parameters of each process in a cache of its own, so the registry is
// where a change made by another process shows).
std::string SystemWallpaper() {
    char path[MAX_PATH] = "";
    DWORD size = sizeof path - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    RegQueryValueExA(key, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    return path;
}

// The system wallpaper put back after the test.
class KeepWallpaper {
public:
    KeepWallpaper() : path_(SystemWallpaper()) {}
    ~KeepWallpaper() {
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path_.c_str()),
                              SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    }

private:
    std::string path_;
};

TEST(CalendarOnTheWallpaper, PlacedWithTheMouseAndAppliedAtOnce) {
    KeepWallpaper keep;
    // No list and no wallpaper of the user's own: the background and the
    // calendar are all there is to compose.
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("ini", "eng.ini");
    settings.Set("KvDrMon", "0");
    settings.Set("KvBackGr", "8421376");  // teal, 0x808000
    settings.Set("KvMonth", "10 10 4");
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND page = app.Page(kPlaceButton);
    ASSERT_NE(page, nullptr);

    // The current month's calendar, 349 x 262 on a 1024 x 768 work area.
    SetCursorPos(500, 400);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(kPlaceButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, kPlaceButton)));
    HWND placement = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (placement = FindTopmostWindow(app.process().id())) != nullptr; }, 5000));
    RECT box;
    GetWindowRect(placement, &box);
    const int width = box.right - box.left, height = box.bottom - box.top;
    EXPECT_EQ(width, 349);
    const std::string x = std::to_string(500 - width / 2), y = std::to_string(400 - height / 2);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(page, kMonthX) == x && ControlText(page, kMonthY) == y; }, 3000));
    PostMessageA(placement, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width / 2, height / 2));

    const std::string composed = folder.file("KvBmp.bmp");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(composed) && lstrcmpiA(SystemWallpaper().c_str(), composed.c_str()) == 0; }, 10000))
        << SystemWallpaper() << " is not " << composed;
    EXPECT_EQ(settings.Get("KvMonth"), x + " " + y + " 4");
    BmpImage image;
    ASSERT_TRUE(ReadBmpFile(composed, image));
    EXPECT_EQ(image.width, GetSystemMetrics(SM_CXSCREEN));
    const COLORREF teal = RGB(0, 128, 128);
    EXPECT_EQ(image.at(0, 0), teal);
    EXPECT_EQ(image.at(image.width - 1, image.height - 1), teal);
    int drawn = 0, outside = 0;
    for (int py = 0; py < image.height; ++py)
        for (int px = 0; px < image.width; ++px) {
            const bool inBox = px >= box.left && px < box.right && py >= box.top && py < box.bottom;
            if (image.at(px, py) == teal) continue;
            (inBox ? drawn : outside) += 1;
        }
    EXPECT_GT(drawn, 1000) << "the month where it was placed";
    EXPECT_EQ(outside, 0);
    EXPECT_TRUE(app.Close());
}

}  // namespace
