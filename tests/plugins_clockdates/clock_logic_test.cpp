// The digital clock's format engine with made-up text widths, and the
// analog face's geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "clock_face.h"
#include "clock_format.h"

namespace {

// Every character is 10 wide, a line 20 high.
class FakeCanvas : public ClockCanvas {
public:
    struct Item {
        int x, y;
        std::string text;
        uint32_t colour;
    };
    struct FillRect {
        int left, top, right, bottom;
        uint32_t colour;
    };

    int LineHeight() override { return 20; }
    int TextWidth(const char*, size_t length) override { return 10 * static_cast<int>(length); }
    void Text(int x, int y, const char* text, size_t length, uint32_t colour) override {
        items.push_back({x, y, std::string(text, length), colour});
    }
    void Fill(int left, int top, int right, int bottom, uint32_t colour) override {
        fills.push_back({left, top, right, bottom, colour});
    }

    std::vector<Item> items;
    std::vector<FillRect> fills;
};

struct Colours {
    uint32_t values[KV_CLOCK_COLOURS];
    Colours() {
        for (int i = 0; i < KV_CLOCK_COLOURS; ++i) values[i] = kClockColours[i].colour;
    }
};

ClockFigures SampleFigures() {
    ClockFigures figures;
    figures.time = "12:34:56";
    figures.weekday = "Monday";
    figures.date = "01 May 2023";
    figures.memoryLoad = 50;
    figures.processor = 30;
    return figures;
}

// Renders twice, as two ticks do: the first measures, the second draws.
ClockSize RenderTicks(const std::string& format, const ClockFigures& figures, FakeCanvas& canvas, int ticks = 2) {
    Colours colours;
    ClockSize size = {1, 1};
    for (int tick = 0; tick < ticks; ++tick) {
        canvas.items.clear();
        canvas.fills.clear();
        size = RenderClockFormat(format, figures, colours.values, canvas, size.width, 0, 0);
    }
    return size;
}

TEST(ClockFormat, DefaultFormatShowsTimeWeekdayDateAndMemoryBarThenASpace) {
    FakeCanvas canvas;
    const ClockSize size = RenderTicks(kDefaultClockFormat, SampleFigures(), canvas);

    ASSERT_EQ(canvas.items.size(), 7u);
    const char* texts[] = {"12:34:56", " ", "Monday", " ", "01 May 2023", " ", " "};
    const uint32_t colours[] = {kClockColours[CLOCK_TIME].colour,  kClockColours[CLOCK_OTHER].colour,
                                kClockColours[CLOCK_WEEKDAY].colour, kClockColours[CLOCK_OTHER].colour,
                                kClockColours[CLOCK_DATE].colour,  kClockColours[CLOCK_OTHER].colour,
                                kClockColours[CLOCK_OTHER].colour};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(canvas.items[i].text, texts[i]) << i;
        EXPECT_EQ(canvas.items[i].colour, colours[i]) << i;
    }
    // The bar (2 line heights) sits between the last literal space and the trailing one.
    const int barLeft = (8 + 1 + 6 + 1 + 11 + 1) * 10;
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_EQ(canvas.fills[0].left, barLeft);
    EXPECT_EQ(canvas.fills[0].right, barLeft + 40);
    EXPECT_EQ(canvas.fills[0].colour, kClockColours[CLOCK_OTHER].colour);
    EXPECT_EQ(canvas.fills[1].colour, kClockColours[CLOCK_MEMORY_BAR].colour);
    EXPECT_EQ(canvas.fills[1].right, barLeft + 1 + 39 * 50 / 100);
    EXPECT_EQ(canvas.items[6].x, barLeft + 40);
    EXPECT_EQ(size.width, barLeft + 40 + 10);
    EXPECT_EQ(size.height, 20);
}

TEST(ClockFormat, FirstTickOnlyMeasuresWhatDoesNotFit) {
    FakeCanvas canvas;
    Colours colours;
    const ClockSize first = RenderClockFormat("%t", SampleFigures(), colours.values, canvas, 1, 5, 7);
    EXPECT_TRUE(canvas.items.empty());
    EXPECT_EQ(first.width, 80);
    RenderClockFormat("%t", SampleFigures(), colours.values, canvas, first.width, 5, 7);
    ASSERT_EQ(canvas.items.size(), 1u);
    EXPECT_EQ(canvas.items[0].x, 5);
    EXPECT_EQ(canvas.items[0].y, 7);
}

TEST(ClockFormat, RightToLeftLinesKeepToTheRightEdgeAndWidenTheWindowForTheNextTick) {
    FakeCanvas canvas;
    Colours colours;
    // "abc" (30 wide) then a right-to-left line of 12 characters (120 wide).
    const std::string format = "abc%/0123456789AB";
    ClockSize size = RenderClockFormat(format, SampleFigures(), colours.values, canvas, 30, 0, 0);
    ASSERT_EQ(canvas.items.size(), 1u) << "the wide line is not drawn while it does not fit";
    EXPECT_EQ(size.width, 120);
    EXPECT_EQ(size.height, 40);

    canvas.items.clear();
    size = RenderClockFormat(format, SampleFigures(), colours.values, canvas, size.width, 0, 0);
    ASSERT_EQ(canvas.items.size(), 2u);
    EXPECT_EQ(canvas.items[1].x, 0);
    EXPECT_EQ(canvas.items[1].y, 20);

    // A short right-to-left line ends at the right edge.
    canvas.items.clear();
    RenderClockFormat("abcdef%/xy", SampleFigures(), colours.values, canvas, 60, 0, 0);
    ASSERT_EQ(canvas.items.size(), 2u);
    EXPECT_EQ(canvas.items[1].x, 40);
    EXPECT_EQ(canvas.items[1].text, "xy");
}

TEST(ClockFormat, LineBreaksEmptyFormatAndUnknownCodes) {
    FakeCanvas canvas;
    ClockSize size = RenderTicks("", SampleFigures(), canvas);
    EXPECT_TRUE(canvas.items.empty());
    EXPECT_EQ(size.height, 20) << "an empty clock keeps one line";

    size = RenderTicks("%\\ab", SampleFigures(), canvas);
    ASSERT_EQ(canvas.items.size(), 1u);
    EXPECT_EQ(canvas.items[0].y, 0) << "a leading line break makes no empty line";
    EXPECT_EQ(size.height, 20);

    size = RenderTicks("ab%\\%\\cd", SampleFigures(), canvas);
    ASSERT_EQ(canvas.items.size(), 2u);
    EXPECT_EQ(canvas.items[1].y, 40) << "one empty line between";
    EXPECT_EQ(canvas.items[1].x, 0);
    EXPECT_EQ(size.height, 60);

    // "% " is two spaces, "%%t" a space and the time, a trailing "%" one space.
    RenderTicks("a% b%%t%", SampleFigures(), canvas);
    std::string shown;
    for (const auto& item : canvas.items) shown += item.text;
    EXPECT_EQ(shown, "a  b 12:34:56 ");
}

TEST(ClockFormat, FiguresAreFormattedAndClamped) {
    ClockFigures figures;
    figures.processor = -5;
    EXPECT_EQ(ClockCodeText('c', figures), "00");
    figures.processor = 100;
    EXPECT_EQ(ClockCodeText('c', figures), "99");
    figures.processor = 7;
    EXPECT_EQ(ClockCodeText('c', figures), "07");
    figures.memoryLoad = 100;
    EXPECT_EQ(ClockCodeText('p', figures), "99");
    figures.uptimeSeconds = 100 * 3600 + 2 * 60 + 3;
    EXPECT_EQ(ClockCodeText('n', figures), "100:02:03") << "hours are not wrapped";
    figures.freeMemoryMb = 1536;
    EXPECT_EQ(ClockCodeText('u', figures), "1536");

    // A bar never leaves its frame, whatever the host reports.
    FakeCanvas canvas;
    figures.processor = 250;
    RenderTicks("%b", figures, canvas);
    ASSERT_EQ(canvas.fills.size(), 2u);
    EXPECT_LE(canvas.fills[1].right, canvas.fills[0].right);
    EXPECT_EQ(canvas.fills[1].colour, kClockColours[CLOCK_PROCESSOR_BAR].colour);
}

TEST(ClockFormat, OnlyTheFiguresInTheFormatAreRefreshed) {
    EXPECT_EQ(ClockSourcesUsed(kDefaultClockFormat),
              unsigned(CLOCK_NEEDS_TIME | CLOCK_NEEDS_WEEKDAY | CLOCK_NEEDS_DATE | CLOCK_NEEDS_MEMORY));
    EXPECT_EQ(ClockSourcesUsed("%b %o"), unsigned(CLOCK_NEEDS_PROCESSOR | CLOCK_NEEDS_WALLPAPER));
    EXPECT_EQ(ClockSourcesUsed("%n%s%f"), unsigned(CLOCK_NEEDS_UPTIME | CLOCK_NEEDS_SAVER | CLOCK_NEEDS_MEMORY));
    EXPECT_EQ(ClockSourcesUsed("t w d"), 0u);
}

TEST(ClockFormat, AnyBytesDrawOnlyInsideTheBox) {
    std::mt19937 random(20);
    const char alphabet[] = "%\\/tabcwdupfnos \x01\xff";
    Colours colours;
    for (int round = 0; round < 2000; ++round) {
        std::string format;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) format += alphabet[random() % (sizeof alphabet - 1)];
        FakeCanvas canvas;
        int width = static_cast<int>(random() % 300);
        for (int tick = 0; tick < 3; ++tick) {
            canvas.items.clear();
            const ClockSize size = RenderClockFormat(format, SampleFigures(), colours.values, canvas, width, 0, 0);
            ASSERT_GE(size.height, 20) << format;
            for (const auto& item : canvas.items) {
                ASSERT_GE(item.x, 0) << format;
                ASSERT_LE(item.x + 10 * static_cast<int>(item.text.size()), width) << format;
                ASSERT_LT(item.y, size.height) << format;
            }
            width = size.width;
        }
    }
}

TEST(ClockFace, DiameterOutsideItsRangeGivesFifty) {
    EXPECT_EQ(ClockDiameter(30), 50);
    EXPECT_EQ(ClockDiameter(500), 50);
    EXPECT_EQ(ClockDiameter(49), 50);
    EXPECT_EQ(ClockDiameter(401), 50);
    EXPECT_EQ(ClockDiameter(50), 50);
    EXPECT_EQ(ClockDiameter(400), 400);
    EXPECT_EQ(ClockDiameter(80), 80);
}

TEST(ClockFace, HandsPointWhereTheTimeSays) {
    // 03:00:00 on a 100-pixel face: the hour hand points right, the minute hand up.
    ClockHands hands = HandStrokes(100, 3, 0, 0);
    EXPECT_NEAR(hands.hour.x1, 75, 1);
    EXPECT_NEAR(hands.hour.y1, 50, 1);
    EXPECT_NEAR(hands.minute.x1, 50, 1);
    EXPECT_NEAR(hands.minute.y1, 10, 1);
    EXPECT_EQ(hands.hour.x2, 50);
    EXPECT_EQ(hands.hour.y2, 50);
    // The hour is taken from the 24-hour clock and wraps twice a day.
    ClockHands evening = HandStrokes(100, 15, 0, 0);
    EXPECT_NEAR(evening.hour.x1, hands.hour.x1, 1);
    EXPECT_NEAR(evening.hour.y1, hands.hour.y1, 1);
    // 30 seconds: straight down; the pens follow the radius.
    hands = HandStrokes(100, 0, 0, 30);
    EXPECT_NEAR(hands.second.x1, 50, 1);
    EXPECT_NEAR(hands.second.y1, 90, 1);
    EXPECT_EQ(hands.second.width, 1);
    EXPECT_EQ(hands.minute.width, 2);
}

TEST(ClockFace, HourMarksSitInsideTheRim) {
    const std::vector<ClockStroke> marks = HourMarks(80);  // r = 40
    ASSERT_EQ(marks.size(), 17u);
    // Thin marks run from 35 to 30 pixels from the centre.
    for (size_t i = 0; i < 13; ++i) {
        const double outer = std::hypot(marks[i].x1 - 40, marks[i].y1 - 40);
        const double inner = std::hypot(marks[i].x2 - 40, marks[i].y2 - 40);
        EXPECT_NEAR(outer, 35, 1.5) << i;
        EXPECT_NEAR(inner, 30, 1.5) << i;
        EXPECT_EQ(marks[i].width, 1);
    }
    // The thick ones at 12 and 6 o'clock.
    EXPECT_EQ(marks[13].x1, 40);
    EXPECT_EQ(marks[13].y1, 4);
    EXPECT_EQ(marks[13].y2, 13);
    EXPECT_EQ(marks[14].y1, 80 - 4 - 2);
    EXPECT_EQ(marks[14].y2, 80 - 13 - 2);
    EXPECT_EQ(marks[13].width, 2);
    EXPECT_EQ(RimWidth(80), 4);
}

TEST(ClockFace, DesktopPointParsing) {
    int x = 1, y = 1;
    ParsePoint("120 -40", x, y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, -40);
    x = y = 1;
    for (const char* broken : {"", "12", "a b", "99999999999 1", "  "}) {
        ParsePoint(broken, x, y);
        EXPECT_EQ(x, 1) << broken;
        EXPECT_EQ(y, 1) << broken;
    }
}

}  // namespace
