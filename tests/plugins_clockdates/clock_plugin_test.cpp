// KvClock.dll loaded from dist\Plugins and driven through its entry (KV_PLUGIN_ENTRY) in
// the host's order (page, name, settings), with a stand-in host answering
// its services: the page, both clock windows, the dial, the popup menu and
// the clocks painted on a desktop.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "bmp_reader.h"
#include "clock_ids.h"
#include "fake_host.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

class ClockPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramFolders();
        settings = UserFile(".set");
    }
    void TearDown() override {
        if (module) {
            EXPECT_EQ(module->Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0), 0);
        }
        module.reset();
        PumpMessages();
    }

    void Set(const char* key, const char* value, const char* section = "set") {
        WriteIni(settings, section, key, value);
    }

    void Start() {
        module = std::make_unique<PluginModule>("KvClock.dll");
        ASSERT_TRUE(module->loaded()) << "KvClock.dll exports _Dravonex@16";
        const std::string language = EnglishLanguageFile();
        page = reinterpret_cast<HWND>(
            module->Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(language.c_str())));
        ASSERT_NE(page, nullptr);
        name = module->CallText(host.panel(), KvGETDESCRIPTION, 0, reinterpret_cast<INT_PTR>(language.c_str()));
        module->Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));
    }

    // The analog window is the one with a region.
    HWND Analog() const {
        for (HWND window : OwnedWindows(host.owner())) {
            ScopedGdiObj<HRGN> region(CreateRectRgn(0, 0, 0, 0));
            if (GetWindowRgn(window, region.get()) != ERROR) return window;
        }
        return nullptr;
    }
    HWND Digital() const {
        for (HWND window : OwnedWindows(host.owner())) {
            ScopedGdiObj<HRGN> region(CreateRectRgn(0, 0, 0, 0));
            if (GetWindowRgn(window, region.get()) == ERROR) return window;
        }
        return nullptr;
    }
    static RECT Rect(HWND window) {
        RECT box = {};
        GetWindowRect(window, &box);
        return box;
    }

    FakeHost host;
    std::unique_ptr<PluginModule> module;
    HWND page = nullptr;
    std::string name;
    std::string settings;
};

std::string Text(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST_F(ClockPluginTest, PageAndBothClocksFollowTheSettings) {
    Set("KvClockShow", "0");
    Set("KvClock1Show", "0");
    Set("KvRClock", "30");
    Set("KvClockX", "200");
    Set("KvClockY", "150");
    Set("KvClAlpha", "50");
    Set("KvClFormat", "%t %c");
    Set("KvClockX1", "600");
    Set("KvClockY1", "100");
    host.processorLoad = 42;
    Start();

    EXPECT_EQ(GetParent(page), host.panel());
    EXPECT_EQ(Text(page, IDC_ANALOGHEAD), "Analog clock");
    EXPECT_EQ(Text(page, IDC_DIGITALHEAD), "Digital clock");
    EXPECT_EQ(name, "Clock");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_ANALOGSHOW), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DIGITALSHOW), BST_CHECKED);

    // A stored diameter of 30 makes a 50-pixel round window where it was left.
    HWND analog = Analog();
    ASSERT_NE(analog, nullptr);
    EXPECT_TRUE(IsWindowVisible(analog));
    const RECT box = Rect(analog);
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.top, 150);
    EXPECT_EQ(box.right - box.left, 50);
    EXPECT_EQ(box.bottom - box.top, 50);
    ScopedGdiObj<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(analog, region.get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.get(), 25, 25));
    EXPECT_FALSE(PtInRegion(region.get(), 2, 2));
    bool analogLayered = false;
    for (const s_setlayeredwin& record : host.layered)
        if (record.hwnd == analog) {
            analogLayered = true;
            EXPECT_EQ(record.bAlpha, 50 * 255 / 100);
            EXPECT_EQ(record.dwFlags, 2u);
        }
    EXPECT_TRUE(analogLayered);

    // The digital window starts at 1 x 1 and takes the size of what it showed.
    HWND digital = Digital();
    ASSERT_NE(digital, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Rect(digital).right - Rect(digital).left > 20; }, 5000));
    EXPECT_EQ(Rect(digital).left, 600);
    EXPECT_EQ(Rect(digital).top, 100);
    EXPECT_GT(host.count(KvSrvProcessorLoad), 0) << "%c asks the host for the processor load";
    EXPECT_EQ(host.count(KvSrvCurrentWallpaper), 0) << "figures the format does not show are not fetched";

    // Tool tips and the page's edits write their keys once loading is over.
    bool helpTip = false;
    for (const s_addtooltip& tip : host.toolTips) helpTip = helpTip || (tip.nIDTool == IDC_FORMATINFO && tip.nIDStr == 33);
    EXPECT_TRUE(helpTip);
    SetDlgItemTextA(page, IDC_FORMAT, "%n");
    EXPECT_EQ(ReadIni(settings, "set", "KvClFormat"), "%n");
    Click(page, IDC_FORMATDEFAULT);
    EXPECT_EQ(ReadIni(settings, "set", "KvClFormat"), "%t %w %d %a%");
    SetDlgItemTextA(page, IDC_DIAMETER, "120");
    EXPECT_EQ(Rect(analog).right - Rect(analog).left, 120);
    EXPECT_EQ(ReadIni(settings, "set", "KvRClock"), "120");

    // Picking the desktop point: the host moves it in the edits, the key is written once.
    host.onPlace = [this](const s_placefunc& place) {
        SetDlgItemInt(place.hPlaceDialogType, place.IDpx, 77, TRUE);
        SetDlgItemInt(place.hPlaceDialogType, place.IDpy, 88, TRUE);
        EXPECT_EQ(ReadIni(settings, "set", "KvPosCl"), "<absent>");
    };
    Click(page, IDC_ANALOGPLACE);
    ASSERT_EQ(host.places.size(), 1u);
    EXPECT_EQ(host.places[0].PlaceDialogType, 3);
    EXPECT_EQ(host.places[0].IDpx, IDC_ANALOGX);
    EXPECT_EQ(host.places[0].IDpy, IDC_ANALOGY);
    EXPECT_EQ(host.places[0].Width, 120);
    EXPECT_EQ(ReadIni(settings, "set", "KvPosCl"), "77 88");
}

TEST_F(ClockPluginTest, RightAnchoredDigitalClockKeepsItsRightEdgeAsTheTextGrows) {
    Set("KvClock1Show", "0");
    Set("KvRightDigit", "0");
    Set("KvClockX1", "700");
    Set("KvClockY1", "50");
    Set("KvClFormat", "%o");
    host.wallpaper = "a.bmp";
    Start();
    HWND digital = Digital();
    ASSERT_NE(digital, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Rect(digital).right - Rect(digital).left > 5; }, 5000));
    const int narrow = Rect(digital).right - Rect(digital).left;
    EXPECT_EQ(Rect(digital).right, 700);

    host.wallpaper = "C:\\Pictures\\a much longer name of a wallpaper.bmp";
    ASSERT_TRUE(WaitUntil([&] { return Rect(digital).right - Rect(digital).left > narrow * 3; }, 5000));
    EXPECT_EQ(Rect(digital).right, 700);
    EXPECT_EQ(Rect(digital).top, 50);
}

TEST_F(ClockPluginTest, DialComesFromTheSkinAndIsReleasedWhenBothAnalogSwitchesAreOff) {
    ASSERT_TRUE(WriteBmpFile(ProgramFile("Clock\\face.bmp"), SolidImage(64, 64, RGB(30, 120, 200))));
    WriteTextFile(ProgramFile("Clock\\notes.txt"), "not a picture");
    Set("ClockSkin", "face.bmp");
    Set("KvClockShow", "0");
    Start();

    HWND skins = GetDlgItem(page, IDC_SKIN);
    EXPECT_EQ(SendMessageA(skins, CB_GETCOUNT, 0, 0), 2) << "\"<no>\" and the one picture";
    char chosen[64] = "";
    SendMessageA(skins, CB_GETLBTEXT, SendMessageA(skins, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(chosen));
    EXPECT_STREQ(chosen, "face.bmp");

    ASSERT_TRUE(WaitUntil([&] { return host.count(KvSrvReleasePicture) == 1; }, 5000));
    ASSERT_EQ(host.loadedPictures.size(), 1u);
    EXPECT_EQ(host.loadedPictures[0], ProgramFile("Clock\\face.bmp"));
    // Loaded, turned into a bitmap, scaled, released: in that order.
    std::vector<int> skinCalls;
    for (int code : host.calls)
        if (code >= KvSrvLoadPicture && code <= KvSrvScaleBitmap) skinCalls.push_back(code);
    EXPECT_EQ(skinCalls, (std::vector<int>{KvSrvLoadPicture, KvSrvImageToBitmap, KvSrvScaleBitmap,
                                           KvSrvReleasePicture}));
    // The dial is kept from tick to tick.
    const DWORD start = GetTickCount();
    WaitUntil([&] { return GetTickCount() - start > 2200; }, 3000);
    EXPECT_EQ(host.count(KvSrvLoadPicture), 1);

    Click(page, IDC_ANALOGSHOW);
    EXPECT_EQ(Analog(), nullptr);
    EXPECT_FALSE(IniHas(settings, "set", "KvClockShow"));
    // Back on: a new dial on the next tick, so the old one was let go.
    Click(page, IDC_ANALOGSHOW);
    EXPECT_NE(Analog(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return host.count(KvSrvLoadPicture) == 2; }, 5000));
    EXPECT_EQ(ReadIni(settings, "set", "KvClockShow"), "0");
}

TEST_F(ClockPluginTest, SkinThatIsGoneGivesThePlainDial) {
    Set("ClockSkin", "gone.bmp");
    Set("KvClockShow", "0");
    Start();
    char chosen[64] = "";
    HWND skins = GetDlgItem(page, IDC_SKIN);
    SendMessageA(skins, CB_GETLBTEXT, SendMessageA(skins, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(chosen));
    EXPECT_STREQ(chosen, "<no>");
    const DWORD start = GetTickCount();
    WaitUntil([&] { return GetTickCount() - start > 1300; }, 2000);
    EXPECT_EQ(host.count(KvSrvLoadPicture), 0);
    EXPECT_NE(Analog(), nullptr);
}

TEST_F(ClockPluginTest, PopupMenuCarriesTheHostMenuAndItsCommandsComeBackThroughTheHost) {
    Set("KvClockShow", "0");
    Start();
    HWND analog = Analog();
    ASSERT_NE(analog, nullptr);

    SendMessageA(analog, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    HMENU menu = host.trackedMenu;
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_CLOCKSETTINGS));
    EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_CLOCKCLOSE));
    char text[64] = "";
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Clock settings...");
    GetMenuStringA(menu, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Menu");
    EXPECT_EQ(GetSubMenu(menu, 3), host.mainMenu());

    // Commands of menus that are not the clock's are not its business.
    HMENU other = CreatePopupMenu();
    module->Call(reinterpret_cast<HWND>(other), KvPOPMENU, IDM_CLOCKCLOSE, 0);
    DestroyMenu(other);
    EXPECT_NE(Analog(), nullptr);

    module->Call(reinterpret_cast<HWND>(menu), KvPOPMENU, IDM_CLOCKSETTINGS, 0);
    EXPECT_EQ(host.shownPage, page);

    // Closing from the menu clears the box but keeps the key: back at the next start.
    module->Call(reinterpret_cast<HWND>(menu), KvPOPMENU, IDM_CLOCKCLOSE, 0);
    EXPECT_EQ(Analog(), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_ANALOGSHOW), BST_UNCHECKED);
    EXPECT_EQ(ReadIni(settings, "set", "KvClockShow"), "0");

    // Unloading leaves the host's main menu alone.
    module->Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0);
    module.reset();
    EXPECT_TRUE(IsMenu(host.mainMenu()));
    EXPECT_FALSE(IsWindow(page)) << "the page goes with the module";
}

TEST(ClockHelp, FormatHelpIsWindows1251TextWithCrLf) {
    const std::string help = PluginResource("KvClock.dll", "INFOCLOCKFILE");
    ASSERT_FALSE(help.empty());
    EXPECT_NE(help.find("\xF4\xEE\xF0\xEC\xE0\xF2"), std::string::npos) << "the Russian part in Windows-1251";
    EXPECT_NE(help.find("%t %w %d %a%\r\n"), std::string::npos) << "the English part names the default";
    for (size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
        ASSERT_EQ(help[at - 1], '\r') << "line " << at;
}

// A window of class "Desktop" is the first place the clocks look for the desktop.
class PaintedDesktop {
public:
    PaintedDesktop() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Desktop";
        windowClass.hbrBackground = CreateSolidBrush(RGB(90, 90, 90));
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "Desktop", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
        UpdateWindow(window_);
    }
    ~PaintedDesktop() {
        DestroyWindow(window_);
        UnregisterClassA("Desktop", GetModuleHandleA(nullptr));
    }
    COLORREF Pixel(int x, int y) const {
        ScopedGetDC dc(window_);
        return GetPixel(dc, x, y);
    }

private:
    HWND window_;
};

TEST_F(ClockPluginTest, ClocksPaintedOnTheDesktopLetItShowAroundThem) {
    PaintedDesktop desktop;
    if (desktop.Pixel(5, 5) != RGB(90, 90, 90)) GTEST_SKIP() << "this display does not read back window pixels";
    Set("KvPrintAnal", "0");
    Set("KvPosCl", "40 60");
    Set("KvRClock", "100");
    Set("KvClColBottom", std::to_string(RGB(10, 200, 30)).c_str());
    for (const char* key : {"KvClDelShow", "KvClObdShow", "KvClHourShow", "KvClMinShow", "KvClSecShow"})
        Set(key, "0");
    Set("KvPrintDigt", "0");
    Set("KvPosCl1", "400 300");
    Set("KvClFormat", "WWWW");
    Set("KvDBottom", std::to_string(RGB(0, 0, 200)).c_str(), "digitalclock");
    Start();

    ASSERT_TRUE(WaitUntil([&] { return desktop.Pixel(90, 110) == RGB(10, 200, 30); }, 5000));
    EXPECT_EQ(desktop.Pixel(42, 62), RGB(90, 90, 90)) << "the desktop shows outside the circle";
    ASSERT_TRUE(WaitUntil([&] { return desktop.Pixel(401, 301) == RGB(0, 0, 200); }, 5000));

    // Switched off, the desktop is repainted without the clock.
    Click(page, IDC_ANALOGPRINT);
    EXPECT_TRUE(WaitUntil([&] { return desktop.Pixel(90, 110) == RGB(90, 90, 90); }, 2000));
    EXPECT_FALSE(IniHas(settings, "set", "KvPrintAnal"));
}

}  // namespace
