// Date files and print settings read from any bytes, and where and how a
// date text is laid out on the wallpaper, with made-up text widths.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "date_ini.h"
#include "date_text.h"

namespace {

// Every character is 10 wide, a line 16 high: "W" is 10 wide.
class FakeMeasure : public DateTextMeasure {
public:
    int Width(const std::string& text) override { return 10 * static_cast<int>(text.size()); }
    int LineHeight() override { return 16; }
};

DateRect Screen(int width, int height) {
    DateRect screen;
    screen.right = width;
    screen.bottom = height;
    return screen;
}

TEST(DateIni, ReadsAsTheSystemDoes) {
    const std::string text =
        "\xEF\xBB\xBF"
        "; a comment\r\n"
        "orphan=before any section\r\n"
        "[03]\r\n"
        "  15 = Anna|Boris  \r\n"
        "15=second key of the name is ignored\r\n"
        "16=\"  quoted  \"\r\n"
        "novalue\r\n"
        "[SCRIPT]\n"
        "s=Wallpaper: >o\n"
        "[\xC4\xE5\xED\xFC]\n"  // Cyrillic section name
        "KvPrintP=0\n"
        "KvPix= -7 \n"
        "KvHeight=0x14\n"
        "KvTypPos=abc\n"
        "[03]\n"
        "17=a second section of a name is never read\n";
    const IniDocument ini = IniDocument::Parse(text);
    EXPECT_EQ(ini.Get("03", "15"), "Anna|Boris");
    EXPECT_EQ(ini.Get("03", "16"), "  quoted  ");
    EXPECT_TRUE(ini.Has("03", "novalue"));
    EXPECT_EQ(ini.Get("03", "17"), "");
    EXPECT_EQ(ini.Get("script", "S"), "Wallpaper: >o");
    EXPECT_EQ(ini.Get("", "orphan"), "");
    // Cyrillic names compare without case too ("ДЕНЬ" and "день").
    EXPECT_TRUE(ini.GetFlag("\xC4\xC5\xCD\xDC", "kvprintp"));
    EXPECT_EQ(ini.GetInt("\xE4\xE5\xED\xFC", "KvPix", 12), -7);
    EXPECT_EQ(ini.GetInt("\xE4\xE5\xED\xFC", "KvHeight", 16), 20);
    EXPECT_EQ(ini.GetInt("\xE4\xE5\xED\xFC", "KvTypPos", 3), 0) << "text that is no number reads as 0";
    EXPECT_EQ(ini.GetInt("\xE4\xE5\xED\xFC", "missing", 3), 3);
    EXPECT_EQ(ini.Keys("03"), (std::vector<std::string>{"15", "16", "novalue"}));
}

TEST(DateIni, AnyBytesParseSafely) {
    std::mt19937 random(12);
    const char alphabet[] = "[]=;\"'\r\n \t01|xs\x00\xC0\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) bytes += alphabet[random() % (sizeof alphabet - 1)];
        const IniDocument ini = IniDocument::Parse(bytes);
        ini.Get("01", "01");
        ini.GetInt("x", "s", 5);
        const DatePrintSettings settings = ReadDatePrintSettings(ini, "x");
        ASSERT_GE(settings.corner, 0);
        ASSERT_LE(settings.corner, 3);
        ASSERT_GE(settings.height, 8);
    }
    EXPECT_EQ(IniDocument::Parse(nullptr, 0).Get("a", "b"), "");
}

TEST(DateText, LinesEditTextAndVariables) {
    EXPECT_EQ(SplitDateLines("Anna|Boris"), (std::vector<std::string>{"Anna", "Boris"}));
    EXPECT_EQ(SplitDateLines("one"), (std::vector<std::string>{"one"}));
    EXPECT_EQ(DateTextToEdit("a|b"), "a\r\nb");
    EXPECT_EQ(DateTextFromEdit("a\r\nb\nc\rd"), "a|b|c|d");
    EXPECT_EQ(DateTextFromEdit(DateTextToEdit("x||y|")), "x||y|");
    EXPECT_EQ(ReplaceDateVariables("Now: >o (>o)", "C:\\a.bmp"), "Now: C:\\a.bmp (C:\\a.bmp)");
    EXPECT_EQ(ReplaceDateVariables("no variable >", "w"), "no variable >");
}

TEST(DateText, TextColoursKeepClearOfTheTransparencyKeys) {
    EXPECT_EQ(CorrectDateColour(0xFFFFFF), 0xFFFFFEu);  // RGB(254, 255, 255)
    EXPECT_EQ(CorrectDateColour(0), 0x000001u);         // RGB(1, 0, 0)
    EXPECT_EQ(CorrectDateColour(0x123456), 0x123456u);
}

TEST(DateText, MonthGrid) {
    // February 2021 starts on a Monday: four full weeks.
    std::vector<DateCell> cells = MonthCells(2021, 2);
    ASSERT_EQ(cells.size(), 28u);
    EXPECT_EQ(cells.front().column, 0);
    EXPECT_EQ(cells.back().row, 3);
    // August 2021 starts on a Sunday and needs six rows.
    cells = MonthCells(2021, 8);
    EXPECT_EQ(cells.front().column, 6);
    EXPECT_EQ(cells.back().row, 5);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
}

TEST(DateText, PrintSettingsDefaultsAndLimits) {
    DatePrintSettings s = ReadDatePrintSettings(IniDocument(), "Birthdays");
    EXPECT_FALSE(s.print);
    EXPECT_EQ(s.anchorX, 1);
    EXPECT_EQ(s.anchorY, 1);
    EXPECT_EQ(s.gap, 12);
    EXPECT_EQ(s.face, "MS Sans Serif");
    EXPECT_EQ(s.charset, 204);
    EXPECT_EQ(s.height, 16);
    EXPECT_EQ(s.colour, 0x00FFFFu);
    EXPECT_EQ(s.dayColour, 0x59ACFFu);  // RGB(255, 172, 89)

    const IniDocument ini = IniDocument::Parse(
        "[Birthdays]\nKvPrintP=0\nKvHeight=3\nKvTypPos=7\nKvTypShift=-1\nKvAlphaPText=15\nKvPosP=300 -20\n"
        "KvRevPCol=2\nKvColPWCh=0\n");
    s = ReadDatePrintSettings(ini, "birthdays");
    EXPECT_TRUE(s.print);
    EXPECT_EQ(s.height, 8) << "heights below 8 print at 8";
    EXPECT_EQ(s.corner, 0);
    EXPECT_EQ(s.shift, 0);
    EXPECT_EQ(s.alpha, 9);
    EXPECT_EQ(s.anchorX, 300);
    EXPECT_EQ(s.anchorY, -20);
    EXPECT_EQ(s.colourMode, 2);
    EXPECT_TRUE(s.dayColourOn);
}

DatePrintSettings At(int x, int y, int corner) {
    DatePrintSettings s;
    s.anchorX = x;
    s.anchorY = y;
    s.corner = corner;
    return s;
}

TEST(DateLayout, CornersAndShiftsPlaceTheBlockBesideThePreviousOne) {
    FakeMeasure measure;
    const DateRect screen = Screen(1024, 768);
    // Two lines, the wider 50: a block 50 x 32.
    DateBlock first = LayoutDateBlock({"Anna", "Boris"}, At(100, 100, 0), nullptr, screen, measure);
    EXPECT_EQ(first.rect.left, 100);
    EXPECT_EQ(first.rect.top, 100);
    EXPECT_EQ(first.rect.right, 150);
    EXPECT_EQ(first.rect.bottom, 132);

    // Shift 2 puts the next block KvPix below, whatever its own corner.
    for (int corner = 0; corner < 4; ++corner) {
        DatePrintSettings s = At(900, 700, corner);
        s.shift = 2;
        s.gap = 12;
        const DateBlock second = LayoutDateBlock({"Carl"}, s, &first.rect, screen, measure);
        EXPECT_EQ(second.rect.top, first.rect.bottom + 12) << corner;
        EXPECT_EQ(second.rect.bottom - second.rect.top, 16) << corner;
        // The point handed to the host is the corner's point of that rectangle.
        EXPECT_EQ(second.anchorY, corner & 2 ? second.rect.bottom : second.rect.top) << corner;
        EXPECT_EQ(second.anchorX, 900) << corner;
    }
    DatePrintSettings above = At(0, 0, 3);
    above.shift = 1;
    above.gap = 5;
    EXPECT_EQ(LayoutDateBlock({"x"}, above, &first.rect, screen, measure).rect.bottom, first.rect.top - 5);
    DatePrintSettings left = At(0, 0, 0);
    left.shift = 3;
    left.gap = 5;
    EXPECT_EQ(LayoutDateBlock({"xy"}, left, &first.rect, screen, measure).rect.right, first.rect.left - 5);
    DatePrintSettings right = At(0, 0, 1);
    right.shift = 4;
    right.gap = 5;
    EXPECT_EQ(LayoutDateBlock({"xy"}, right, &first.rect, screen, measure).rect.left, first.rect.right + 5);
    // Without a block before it a shift changes nothing.
    EXPECT_EQ(LayoutDateBlock({"xy"}, right, nullptr, screen, measure).rect.right, 0);
}

TEST(DateLayout, OutlineAndItalicWidenTheBlock) {
    FakeMeasure measure;
    DatePrintSettings s = At(10, 10, 1);
    s.outline = true;
    s.style = 3;
    const DateBlock block = LayoutDateBlock({"abc", "a"}, s, nullptr, Screen(800, 600), measure);
    EXPECT_EQ(block.width, 30 + 2 + 2 * 5);
    EXPECT_EQ(block.height, 2 * 16 + 2);
    EXPECT_EQ(block.rect.right, 10) << "corner 1 anchors the right edge";
}

TEST(DateLayout, WrapsOnlyWhenTheRoomIsBetweenTwoWsAndTheBlock) {
    FakeMeasure measure;
    const DateRect screen = Screen(1000, 768);
    DatePrintSettings s = At(900, 10, 0);
    s.autoWrap = true;
    // Room 100: a 60-wide text fits and stays whole.
    DateBlock block = LayoutDateBlock({"one two"}, s, nullptr, screen, measure);
    EXPECT_FALSE(block.wrapped);
    // Room 100, text 150: wrapped at spaces to fit.
    block = LayoutDateBlock({"alpha beta gamma"}, s, nullptr, screen, measure);
    EXPECT_TRUE(block.wrapped);
    EXPECT_EQ(block.lines, (std::vector<std::string>{"alpha beta", "gamma"}));
    EXPECT_LE(block.width, 100);
    EXPECT_EQ(block.height, 2 * 16);
    // Room 20 (two "W" widths): never wrapped.
    s.anchorX = 980;
    EXPECT_FALSE(LayoutDateBlock({"alpha beta gamma"}, s, nullptr, screen, measure).wrapped);
    s.anchorX = 979;
    EXPECT_TRUE(LayoutDateBlock({"alpha beta gamma"}, s, nullptr, screen, measure).wrapped);
    // A right corner measures the room from the screen's left edge.
    DatePrintSettings leftward = At(45, 10, 1);
    leftward.autoWrap = true;
    block = LayoutDateBlock({"alpha beta"}, leftward, nullptr, screen, measure);
    EXPECT_TRUE(block.wrapped);
    EXPECT_GE(block.rect.left, 0);
}

TEST(DateLayout, WrappedBlockBesideThePreviousOneIsPlacedForItsNewSize) {
    FakeMeasure measure;
    const DateRect screen = Screen(1000, 768);
    DateRect previous;
    previous.left = 880;
    previous.top = 100;
    previous.right = 990;
    previous.bottom = 116;
    DatePrintSettings s = At(880, 0, 0);
    s.shift = 1;
    s.gap = 4;
    s.autoWrap = true;
    const DateBlock block = LayoutDateBlock({"alpha beta gamma"}, s, &previous, screen, measure);
    EXPECT_TRUE(block.wrapped);
    EXPECT_EQ(block.rect.bottom, previous.top - 4) << "the shift is recomputed for the wrapped height";
}

TEST(DateLayout, LinesBreakAtTheLastSpaceThatFitsOrWithinAWord) {
    FakeMeasure measure;
    EXPECT_EQ(WrapDateLine("aa bb cc", 50, measure), (std::vector<std::string>{"aa bb", "cc"}));
    EXPECT_EQ(WrapDateLine("abcdefgh", 30, measure), (std::vector<std::string>{"abc", "def", "gh"}));
    EXPECT_EQ(WrapDateLine("ab    cd", 30, measure), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_EQ(WrapDateLine("", 30, measure), (std::vector<std::string>{""}));
    EXPECT_EQ(WrapDateLine("abc", 0, measure), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
