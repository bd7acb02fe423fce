// KvDates.dll loaded from dist\Plugins and driven through its entry (KV_PLUGIN_ENTRY)
// with a stand-in host: texts printed on a wallpaper bitmap (blended by the
// host's own routine), day colours for the host's calendar, and the page
// that manages date files.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "dates_ids.h"
#include "engine/calendar_drawing.h"
#include "fake_host.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

const DWORD kBackground = 0x00142850;  // RGB(20, 40, 80) as a DIB word
const DWORD kPrintedWhite = 0x00FEFFFF;  // RGB(254, 255, 255)

// A screen-sized 32-bit wallpaper being composed.
class Wallpaper {
public:
    Wallpaper(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        ScopedGetDC screen(nullptr);
        dc_ = CreateCompatibleDC(screen);
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<DWORD*>(bits);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) bits_[i] = kBackground;
    }
    ~Wallpaper() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    DWORD at(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }
    int Count(const RECT& box, DWORD word) const {
        int count = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (x >= 0 && y >= 0 && x < width_ && y < height_ && at(x, y) == word) ++count;
        return count;
    }
    RECT All() const { return {0, 0, width_, height_}; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
};

// The rectangle a drawn block covers, after the host applies the anchor.
RECT Covered(const s_drawbit& draw) {
    RECT box = {draw.xbit, draw.ybit, draw.xbit + draw.wbit, draw.ybit + draw.hbit};
    if (draw.otnpos & 1) OffsetRect(&box, -draw.wbit, 0);
    if (draw.otnpos & 2) OffsetRect(&box, 0, -draw.hbit);
    return box;
}

std::string Today(bool month) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[8];
    snprintf(text, sizeof text, "%02d", month ? now.wMonth : now.wDay);
    return text;
}

class DatesPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramFolders();
        settings = UserFile(".set");
        dst = UserFile(".dst");
    }
    void TearDown() override {
        if (module) {
            EXPECT_EQ(module->Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0), 0);
        }
        module.reset();
        PumpMessages();
    }

    void Start() {
        module = std::make_unique<PluginModule>("KvDates.dll");
        ASSERT_TRUE(module->loaded()) << "KvDates.dll exports _Dravonex@16";
        const std::string language = EnglishLanguageFile();
        page = reinterpret_cast<HWND>(
            module->Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(language.c_str())));
        ASSERT_NE(page, nullptr);
        name = module->CallText(host.panel(), KvGETDESCRIPTION, 0, reinterpret_cast<INT_PTR>(language.c_str()));
        module->Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));
    }

    static void WriteDateFile(const std::string& file, const std::string& text) {
        ASSERT_TRUE(WriteTextFile(ProgramFile("Dates\\" + file + ".dte"), text));
    }
    void Print(const std::string& file, const char* key, const char* value) { WriteIni(dst, file.c_str(), key, value); }

    COLORREF DayColour(int command, const char* month, const char* day) const {
        return static_cast<COLORREF>(module->Call(host.panel(), command, reinterpret_cast<INT_PTR>(month),
                                                  reinterpret_cast<INT_PTR>(day)));
    }

    FakeHost host;
    std::unique_ptr<PluginModule> module;
    HWND page = nullptr;
    std::string name;
    std::string settings;
    std::string dst;
};

TEST_F(DatesPluginTest, TwoFilesShiftedBelowPrintOneUnderTheOtherKeepingClearOfWhite) {
    const std::string today = "[" + Today(true) + "]\r\n" + Today(false) + "=";
    WriteDateFile("first", today + "Anna|Boris\r\n");
    WriteDateFile("second", today + "Carl\r\n");
    WriteDateFile("silent", today + "not printed\r\n");
    for (const char* file : {"first", "second"}) {
        Print(file, "KvPrintP", "0");
        Print(file, "KvTypShift", "2");
        Print(file, "KvPix", "12");
        Print(file, "KvColPBoth", "16777215");
    }
    Print("first", "KvPosP", "100 100");
    Print("second", "KvPosP", "900 700");
    Print("second", "KvTypPos", "3");
    Start();

    Wallpaper wallpaper(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(module->Call(host.panel(), KvCREATEWALLPAPER, 0, reinterpret_cast<INT_PTR>(wallpaper.dc())), 0);
    ASSERT_EQ(host.draws.size(), 2u);
    for (const s_drawbit& draw : host.draws) {
        EXPECT_EQ(draw.hDC, wallpaper.dc());
        EXPECT_EQ(draw.trans, 1);
        EXPECT_EQ(draw.alpha, 0.0f);
        EXPECT_EQ(draw.RevCol, 0);
    }
    // The list's order is the folder's: whichever printed second sits KvPix below the first.
    const RECT upper = Covered(host.draws[0]), lower = Covered(host.draws[1]);
    EXPECT_EQ(lower.top, upper.bottom + 12);

    const s_drawbit& twoLines = host.draws[0].hbit > host.draws[1].hbit ? host.draws[0] : host.draws[1];
    const s_drawbit& oneLine = host.draws[0].hbit > host.draws[1].hbit ? host.draws[1] : host.draws[0];
    EXPECT_EQ(twoLines.hbit, 2 * oneLine.hbit) << "\"|\" starts a second line";
    const RECT block = Covered(twoLines);
    const RECT top = {block.left, block.top, block.right, block.top + twoLines.hbit / 2};
    const RECT bottom = {block.left, top.bottom, block.right, block.bottom};
    EXPECT_GT(wallpaper.Count(top, kPrintedWhite), 0);
    EXPECT_GT(wallpaper.Count(bottom, kPrintedWhite), 0);
    // Pure white would be taken for the host's colour-mode key: it prints as RGB(254, 255, 255).
    EXPECT_EQ(wallpaper.Count(wallpaper.All(), 0xFFFFFF), 0);
    // Around the letters the wallpaper shows.
    EXPECT_EQ(wallpaper.Count(block, 0), 0);
    EXPECT_GT(wallpaper.Count(block, kBackground), 0);
    EXPECT_EQ(wallpaper.Count(wallpaper.All(), kPrintedWhite),
              wallpaper.Count(upper, kPrintedWhite) + wallpaper.Count(lower, kPrintedWhite));
}

TEST_F(DatesPluginTest, FixedTextTakesTheWallpaperName) {
    WriteDateFile("script", "[SCRIPT]\r\ns=>o\r\n");
    Print("script", "KvPrintP", "0");
    Print("script", "KvTypDate", "1");
    Print("script", "KvFontBoxP", "Arial");
    Print("script", "KvHeight", "20");
    host.wallpaper = "C:\\Pictures\\sea.bmp";
    Start();
    Wallpaper wallpaper(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    module->Call(host.panel(), KvCREATEWALLPAPER, 0, reinterpret_cast<INT_PTR>(wallpaper.dc()));
    ASSERT_EQ(host.draws.size(), 1u);
    EXPECT_EQ(host.count(KvSrvCurrentWallpaper), 1);

    LOGFONTA logfont = {};
    logfont.lfHeight = 20;
    logfont.lfCharSet = 204;
    logfont.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpyA(logfont.lfFaceName, "Arial");
    ScopedGdiObj<HFONT> font(CreateFontIndirectA(&logfont));
    ScopedMemoryDC dc(nullptr);
    ScopedSelectObject selected(dc, font.get());
    SIZE size = {};
    GetTextExtentPoint32A(dc, host.wallpaper.c_str(), static_cast<int>(host.wallpaper.size()), &size);
    EXPECT_EQ(host.draws[0].wbit, size.cx);
}

TEST_F(DatesPluginTest, DaysWithAnEntryTakeTheFilesColoursInTheHostsCalendar) {
    WriteDateFile("holidays", "[03]\r\n15=Ides\r\n16=\r\n");
    WriteDateFile("notes", "[03]\r\n15=also\r\n17=other\r\n");
    Print("holidays", "KvColPWCh", "0");
    Print("holidays", "KvColPW", "255");
    Print("notes", "KvColKaimPWCh", "0");
    Print("notes", "KvColKaimPW", "16777215");
    Start();

    EXPECT_EQ(DayColour(KvDAYTEXTCOLOUR, "03", "15"), 255u);
    EXPECT_EQ(DayColour(KvDAYTEXTCOLOUR, "03", "16"), 0u) << "an empty entry is no entry";
    EXPECT_EQ(DayColour(KvDAYTEXTCOLOUR, "03", "17"), 0u) << "that file's day colour is off";
    EXPECT_EQ(DayColour(KvDAYTEXTCOLOUR, "04", "15"), 0u);
    EXPECT_EQ(DayColour(KvDAYOUTLINECOLOUR, "03", "17"), 0xFFFFFEu) << "white is answered as RGB(254, 255, 255)";
    EXPECT_EQ(DayColour(KvDAYOUTLINECOLOUR, "03", "16"), 0u);

    // The host's calendar asks for every day and draws the 15th in the file's colour.
    static const PluginModule* plugin;
    static HWND panel;
    plugin = module.get();
    panel = host.panel();
    DayColourFunction previous = SetDayColourFunction([](int command, const char* month, const char* day) {
        return static_cast<COLORREF>(plugin->Call(panel, command, reinterpret_cast<INT_PTR>(month),
                                                  reinterpret_cast<INT_PTR>(day)));
    });
    CalendarContext context;
    context.style = DefaultCalendarStyle();
    context.area = {0, 0, 1024, 768};
    context.desktop = context.area;
    context.today.wYear = 2024;
    context.today.wMonth = 7;
    context.today.wDay = 1;
    s_month march = {10, 10, 2, 3, 2024};
    Wallpaper coloured(1024, 768);
    ASSERT_EQ(PrintCalendar(coloured.dc(), &march, context), 1);
    SetDayColourFunction(nullptr);
    Wallpaper plain(1024, 768);
    ASSERT_EQ(PrintCalendar(plain.dc(), &march, context), 1);
    SetDayColourFunction(previous);
    const DWORD red = 0x00FF0000;  // COLORREF 255 as a DIB word
    EXPECT_GT(coloured.Count(coloured.All(), red), 0);
    EXPECT_EQ(plain.Count(plain.All(), red), 0);
}

std::string SelectedFile(HWND page) {
    HWND list = GetDlgItem(page, IDC_FILES);
    char text[256] = "";
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return "<none>";
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

void Choose(HWND page, int control, int index, int notification) {
    SendDlgItemMessageA(page, control, control == IDC_FILES ? LB_SETCURSEL : CB_SETCURSEL, index, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(control, notification),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, control)));
}

// Paints a day's cell the way the page does and looks for the corner mark.
bool CellMarked(HWND page, int day) {
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC dc(screen);
    ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 30, 20));
    ScopedSelectObject selected(dc, bitmap.get());
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = IDC_DAY0 + day;
    draw.hwndItem = GetDlgItem(page, IDC_DAY0 + day);
    draw.hDC = dc;
    draw.rcItem = {0, 0, 30, 20};
    SendMessageA(page, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    return GetPixel(dc, 28, 1) == RGB(0xC0, 0, 0);
}

std::string EntryText(HWND page) {
    char text[512] = "";
    GetDlgItemTextA(page, IDC_ENTRY, text, sizeof text);
    return text;
}

TEST_F(DatesPluginTest, PageCreatesRenamesAndDeletesDateFilesAndSavesEntries) {
    Start();
    EXPECT_EQ(name, "Dates");
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_FILES, LB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_SAVE)));
    // Tool tips with the host's texts.
    ASSERT_EQ(host.toolTips.size(), 9u);
    for (const s_addtooltip& tip : host.toolTips) {
        EXPECT_EQ(tip.hWnd, page);
        const int expected = tip.nIDTool == IDC_RENAMEFILE ? 30
                             : tip.nIDTool == IDC_NEWFILE  ? 25
                             : tip.nIDTool == IDC_INFO     ? 33
                             : tip.nIDTool == IDC_DELETEFILE ? 28
                                                             : 14;
        EXPECT_EQ(tip.nIDStr, expected) << tip.nIDTool;
    }

    host.inputAnswers = {"Birthdays"};
    Click(page, IDC_NEWFILE);
    EXPECT_TRUE(FileExists(ProgramFile("Dates\\Birthdays.dte")));
    EXPECT_EQ(SelectedFile(page), "Birthdays");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_SAVE)));

    Click(page, IDC_PRINT);
    EXPECT_EQ(ReadIni(dst, "Birthdays", "KvPrintP"), "0");
    EXPECT_EQ(host.count(KvSrvUpdateWallpaper), 1) << "the wallpaper is redrawn with the text";

    // March 15th: two lines in the box are one "|" text in the file.
    Choose(page, IDC_MONTH, 2, CBN_SELCHANGE);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DAY0 + 15, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_DAY0 + 15)));
    SetDlgItemTextA(page, IDC_ENTRY, "Anna\r\nBoris");
    Click(page, IDC_SAVE);
    const std::string file = ProgramFile("Dates\\Birthdays.dte");
    EXPECT_EQ(ReadIni(file, "03", "15"), "Anna|Boris");
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DAY0 + 16, BN_CLICKED), 0);
    EXPECT_EQ(EntryText(page), "");
    Click(page, IDC_NEXTMONTH);
    Click(page, IDC_PREVMONTH);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DAY0 + 15, BN_CLICKED), 0);
    EXPECT_EQ(EntryText(page), "Anna\r\nBoris");

    // Placing writes the point where the user clicked, once.
    host.onPlace = [this](const s_placefunc& place) {
        SetDlgItemInt(place.hPlaceDialogType, place.IDpx, 321, TRUE);
        SetDlgItemInt(place.hPlaceDialogType, place.IDpy, 123, TRUE);
    };
    Click(page, IDC_PLACE);
    ASSERT_EQ(host.places.size(), 1u);
    EXPECT_EQ(host.places[0].PlaceDialogType, 2);
    EXPECT_EQ(host.places[0].IDpx, IDC_X);
    EXPECT_EQ(host.places[0].IDpy, IDC_Y);
    EXPECT_EQ(host.places[0].IDTypePos, IDC_CORNER);
    EXPECT_GT(host.places[0].Width, 0);
    EXPECT_EQ(ReadIni(dst, "Birthdays", "KvPosP"), "321 123");

    // A name that cannot be a file name makes nothing.
    host.inputAnswers = {"a/b"};
    Click(page, IDC_NEWFILE);
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_FILES, LB_GETCOUNT, 0, 0), 1);

    // Renaming takes the print settings along.
    host.inputAnswers = {"Family"};
    Click(page, IDC_RENAMEFILE);
    EXPECT_EQ(host.inputInitial.back(), "Birthdays");
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(ReadIni(ProgramFile("Dates\\Family.dte"), "03", "15"), "Anna|Boris");
    EXPECT_EQ(ReadIni(dst, "Family", "KvPrintP"), "0");
    EXPECT_EQ(ReadIni(dst, "Family", "KvPosP"), "321 123");
    EXPECT_FALSE(IniHas(dst, "Birthdays", "KvPrintP"));
    EXPECT_EQ(SelectedFile(page), "Family");

    Click(page, IDC_DELETEFILE);
    EXPECT_FALSE(FileExists(ProgramFile("Dates\\Family.dte")));
    EXPECT_FALSE(IniHas(dst, "Family", "KvPrintP"));
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_FILES, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(DatesPluginTest, PageShowsTheChosenFilesSettingsAndMarksItsDays) {
    WriteDateFile("one", "[05]\r\n01=May Day\r\n");
    Print("one", "KvPrintP", "0");
    Print("one", "KvPosP", "640 -5");
    Print("one", "KvTypPos", "3");
    Print("one", "KvRevPCol", "1");
    Print("one", "KvAlphaPText", "4");
    Start();
    EXPECT_EQ(SelectedFile(page), "one");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_PRINT), BST_CHECKED);
    EXPECT_EQ(GetDlgItemInt(page, IDC_X, nullptr, TRUE), 640u);
    EXPECT_EQ(static_cast<int>(GetDlgItemInt(page, IDC_Y, nullptr, TRUE)), -5);
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_CORNER, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_COLOURMODE, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageA(page, IDC_ALPHA, TBM_GETPOS, 0, 0), 4);
    char text[64] = "";
    SendDlgItemMessageA(page, IDC_COLOURMODE, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Inverse of the picture") << "colour modes are the calendar's texts";
    SendDlgItemMessageA(page, IDC_MONTH, CB_GETLBTEXT, 4, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "May");

    // May 1st has an entry: it shows in the box and its cell carries the mark.
    Choose(page, IDC_MONTH, 4, CBN_SELCHANGE);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DAY0 + 1, BN_CLICKED), 0);
    EXPECT_EQ(EntryText(page), "May Day");
    EXPECT_TRUE(CellMarked(page, 1));
    EXPECT_FALSE(CellMarked(page, 2));
    EXPECT_NE(GetWindowLongA(GetDlgItem(page, IDC_DAY0 + 31), GWL_STYLE) & WS_VISIBLE, 0);
    Choose(page, IDC_MONTH, 5, CBN_SELCHANGE);  // June has 30 days
    EXPECT_EQ(GetWindowLongA(GetDlgItem(page, IDC_DAY0 + 31), GWL_STYLE) & WS_VISIBLE, 0);
}

}  // namespace

namespace {

TEST(DatesHelp, HelpIsWindows1251TextWithCrLf) {
    const std::string help = PluginResource("KvDates.dll", "INDATEFILE");
    ASSERT_FALSE(help.empty());
    EXPECT_NE(help.find("\xF4\xE0\xE9\xEB\xFB"), std::string::npos) << "the Russian part in Windows-1251";
    EXPECT_NE(help.find(">o"), std::string::npos);
    EXPECT_EQ(help.find("\r\r"), std::string::npos);
    EXPECT_NE(help.find("\r\n"), std::string::npos);
}

}  // namespace
