#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "bitmapfromico.h"
#include "fake_shell.h"
#include "kvfunction.h"
#include "scopedwin.h"

namespace {

TEST(GetCurrentDesktop, FollowsTheShellsOrderOfPreference) {
    {
        FakeShellOptions options;
        options.desktopWindow = true;
        options.activeDesktop = true;
        FakeShell shell(options);
        ASSERT_TRUE(shell.ready());
        EXPECT_EQ(GetCurrentDesktop(), shell.desktop()) << "a top-level Desktop window comes first";
    }
    {
        FakeShellOptions options;
        options.activeDesktop = true;
        FakeShell shell(options);
        EXPECT_EQ(GetCurrentDesktop(), shell.browser()) << "Active Desktop: the browser window, not the icons";
    }
    {
        FakeShell shell;
        EXPECT_EQ(GetCurrentDesktop(), shell.iconView());
        EXPECT_EQ(GetDesktopIconView(), shell.iconView());
        ShowWindow(shell.iconView(), SW_HIDE);
        EXPECT_EQ(GetCurrentDesktop(), shell.defView()) << "hidden icons: the view's parent";
    }
    {
        FakeShellOptions options;
        options.iconView = false;
        FakeShell shell(options);
        EXPECT_EQ(GetCurrentDesktop(), shell.defView());
    }
}

class Dialog {
public:
    Dialog() {
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, window_, reinterpret_cast<HMENU>(kEdit), nullptr,
                        nullptr);
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 30, 100, 20, window_, reinterpret_cast<HMENU>(kFontBox), nullptr,
                        nullptr);
        CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 60, 60, 30, window_,
                        reinterpret_cast<HMENU>(kColour), nullptr, nullptr);
    }
    ~Dialog() { DestroyWindow(window_); }
    HWND get() const { return window_; }
    static const int kEdit = 10, kFontBox = 11, kColour = 12;

private:
    HWND window_;
};

TEST(GetItemChar, EmptyControlGivesNone) {
    Dialog dialog;
    EXPECT_EQ(GetItemChar(dialog.get(), Dialog::kEdit), nullptr);
    std::string text(3000, 'z');
    SetDlgItemTextA(dialog.get(), Dialog::kEdit, text.c_str());
    HeapString read(GetItemChar(dialog.get(), Dialog::kEdit));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::string(read.get()), text);
    EXPECT_EQ(GetItemChar(dialog.get(), 999), nullptr) << "a control that does not exist";
}

TEST(CreateFontBox, StyleCodesGiveWeightAndSlant) {
    Dialog dialog;
    struct Case {
        int style;
        LONG weight;
        BYTE italic;
    } cases[] = {{0, FW_NORMAL, 0}, {1, FW_NORMAL, 1}, {2, 700, 0}, {3, 700, 1}};
    for (const Case& c : cases) {
        CreateFontBox(dialog.get(), Dialog::kFontBox, "Arial", c.style, RUSSIAN_CHARSET);
        HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog.get(), Dialog::kFontBox, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA described = {};
        GetObjectA(font, sizeof described, &described);
        EXPECT_EQ(described.lfWeight, c.weight) << c.style;
        EXPECT_EQ(described.lfItalic, c.italic) << c.style;
        EXPECT_EQ(described.lfCharSet, RUSSIAN_CHARSET);
        EXPECT_EQ(described.lfHeight, 0) << "default height";
        EXPECT_STREQ(described.lfFaceName, "Arial");
        char text[64];
        GetDlgItemTextA(dialog.get(), Dialog::kFontBox, text, sizeof text);
        EXPECT_STREQ(text, "Arial");
        DeleteObject(font);
    }
}

TEST(PainColorButton, PaintsTheColourOfItsTextWithAFrame) {
    Dialog dialog;
    SetDlgItemTextA(dialog.get(), Dialog::kColour, "255");
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC memory(screen);
    ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 60, 30));
    ScopedSelectObject select(memory, bitmap.get());
    RECT face = {0, 0, 60, 30};
    PainColorButton(memory, &face, dialog.get(), Dialog::kColour);

    EXPECT_EQ(GetPixel(memory, 30, 15), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(memory, 5, 3), RGB(255, 0, 0));
    for (POINT corner : {POINT{0, 0}, POINT{0, 29}, POINT{59, 29}, POINT{59, 0}, POINT{30, 0}, POINT{0, 15}})
        EXPECT_EQ(GetPixel(memory, corner.x, corner.y), RGB(0, 0, 0)) << corner.x << "," << corner.y;

    SetDlgItemTextA(dialog.get(), Dialog::kColour, "16711680");
    PainColorButton(memory, &face, dialog.get(), Dialog::kColour);
    EXPECT_EQ(GetPixel(memory, 30, 15), RGB(0, 0, 255));
}

TEST(MenuData, ReadByIdOrByPosition) {
    HMENU menu = CreatePopupMenu();
    static char record[] = "record";
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_DATA | MIIM_STRING;
    item.wID = 700;
    item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    item.dwTypeData = const_cast<char*>("item");
    InsertMenuItemA(menu, 0, TRUE, &item);
    AppendMenuA(menu, MF_STRING, 701, "plain");

    EXPECT_EQ(getMenuData(700, menu, FALSE), record);
    EXPECT_EQ(getMenuData(0, menu, TRUE), record);
    EXPECT_EQ(getMenuData(701, menu, FALSE), nullptr);
    EXPECT_EQ(getMenuData(5, menu, TRUE), nullptr);
    DestroyMenu(menu);
}

TEST(BitMapFromIco, TakesTheIconSize) {
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    ASSERT_NE(icon, nullptr);
    ScopedGdiObj<HBITMAP> bitmap(BitMapFromIco(icon));
    ASSERT_TRUE(bitmap);
    BITMAP info = {};
    GetObjectA(bitmap.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(info.bmHeight, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(BitMapFromIco(nullptr), nullptr);
}

}  // namespace
