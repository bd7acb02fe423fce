// The desktop calendar: month shapes and boxes, neighbouring months, the
// marks of today, transparency, plug-in day colours, stacking, and the
// blending every calendar, plate and plug-in picture goes through.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "engine/calendar_drawing.h"
#include "composition_support.h"

namespace {

CalendarContext TestContext(int width, int height, int year, int month, int day) {
    CalendarContext context;
    context.style = DefaultCalendarStyle();
    lstrcpynA(context.style.font.lfFaceName, "Tahoma", LF_FACESIZE);
    context.style.font.lfCharSet = DEFAULT_CHARSET;
    context.area = context.desktop = {0, 0, width, height};
    context.today.wYear = static_cast<WORD>(year);
    context.today.wMonth = static_cast<WORD>(month);
    context.today.wDay = static_cast<WORD>(day);
    const char* days[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    for (int i = 0; i < 7; ++i) context.weekdayNames[i] = days[i];
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int i = 0; i < 12; ++i) context.monthNames[i] = months[i];
    return context;
}

s_month Record(int x, int y, int size, int month, int year) {
    s_month record = {x, y, static_cast<unsigned char>(size), month, year};
    return record;
}

TEST(CalendarGeometry, WeekRowsAndBoxes) {
    MonthShape shape;
    ASSERT_TRUE(GetMonthShape(2, 2021, shape));  // 1 February 2021 was a Monday
    EXPECT_EQ(shape.firstWeekday, 0);
    EXPECT_EQ(shape.days, 28);
    EXPECT_EQ(shape.weeks, 4);
    ASSERT_TRUE(GetMonthShape(8, 2021, shape));  // 1 August 2021 was a Sunday
    EXPECT_EQ(shape.firstWeekday, 6);
    EXPECT_EQ(shape.days, 31);
    EXPECT_EQ(shape.weeks, 6);
    ASSERT_TRUE(GetMonthShape(2, 2024, shape));
    EXPECT_EQ(shape.days, 29);
    ASSERT_TRUE(GetMonthShape(2, 1900, shape));
    EXPECT_EQ(shape.days, 28) << "1900 was no leap year";
    EXPECT_FALSE(GetMonthShape(0, 2021, shape));
    EXPECT_FALSE(GetMonthShape(13, 2021, shape));

    // Size code 2 on 1200 x 800: u = 30, v = 20.
    CalendarContext context = TestContext(1200, 800, 2021, 5, 1);
    float u = 0, v = 0;
    int days = 0, weeks = 0;
    RECT february, august;
    s_month feb = Record(7, 9, 2, 2, 2021), aug = Record(7, 9, 2, 8, 2021);
    ASSERT_EQ(GetParamMonth(&u, &v, &days, &weeks, &february, nullptr, &feb, context), 1);
    EXPECT_FLOAT_EQ(u, 30.0f);
    EXPECT_FLOAT_EQ(v, 20.0f);
    EXPECT_EQ(weeks, 4);
    EXPECT_EQ(february.left, 7);
    EXPECT_EQ(february.top, 9);
    EXPECT_EQ(february.right - february.left, 615);
    EXPECT_EQ(february.bottom - february.top, 410);
    ASSERT_EQ(GetParamMonth2(&august, &aug, context), 1);
    EXPECT_EQ(august.bottom - august.top, 410 + 50) << "six rows: 2.5 v taller";
    context.style.type = 1;
    ASSERT_EQ(GetParamMonth2(&february, &feb, context), 1);
    EXPECT_EQ(february.bottom - february.top, 460) << "weeks in columns";
    context.style.type = 0;
    context.style.placeYM = 1;
    context.style.enlarge = 10;  // cf = 2
    ASSERT_EQ(GetParamMonth2(&february, &feb, context), 1);
    EXPECT_EQ(february.right - february.left, 660);
    EXPECT_EQ(february.bottom - february.top, 440 + 50);

    s_month invalid = Record(0, 0, 4, 13, 2021);
    EXPECT_EQ(GetParamMonth2(&february, &invalid, context), 0);
    Canvas canvas(100, 100, kGrey);
    EXPECT_EQ(PrintCalendar(canvas.dc(), &invalid, context), 0);
    EXPECT_EQ(canvas.CountOther({0, 0, 100, 100}, kGrey), 0);
}

TEST(CalendarGeometry, NeighbouringMonthsCrossTheYear) {
    int month = 1, year = 2024;
    ShiftMonth(&month, &year, -1);
    EXPECT_EQ(month, 12);
    EXPECT_EQ(year, 2023);
    month = 12;
    year = 2023;
    ShiftMonth(&month, &year, 1);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(year, 2024);
    month = 6;
    ShiftMonth(&month, &year, 1);
    EXPECT_EQ(month, 7);
    EXPECT_EQ(year, 2024);
}

TEST(CalendarShapes, StarAndPolygonVertices) {
    POINT star[10];
    StarPoints(5, 0, 100.0, 200.0, 200.0, star);
    EXPECT_EQ(star[0].x, 300);
    EXPECT_EQ(star[0].y, 200);
    EXPECT_EQ(star[1].x, 240) << "inner vertex at half the radius, 36 degrees on";
    EXPECT_EQ(star[1].y, 229);
    EXPECT_EQ(star[2].x, 230);
    EXPECT_EQ(star[2].y, 295);
    EXPECT_EQ(star[5].x, 150) << "odd vertices are inner ones";
    EXPECT_EQ(star[5].y, 200);

    POINT square[4];
    PolygonPoints(4, 45, 100.0, 0.0, 0.0, square);
    EXPECT_EQ(square[0].x, 70);
    EXPECT_EQ(square[0].y, 70);
    EXPECT_EQ(square[1].x, -70) << "truncated toward zero";
    EXPECT_EQ(square[1].y, 70);
    EXPECT_EQ(square[2].x, -70);
    EXPECT_EQ(square[2].y, -70);

    Canvas canvas(60, 60, kBlack);
    HBRUSH brush = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(canvas.dc(), brush);
    const int corners = 5, angle = 0;
    const double cx = 30, cy = 30;
    StarKv(canvas.dc(), &corners, &angle, 25.0, &cx, &cy, 1);
    SelectObject(canvas.dc(), old);
    DeleteObject(brush);
    EXPECT_EQ(canvas.At(30, 30), kRed) << "a filled star covers its centre";
    EXPECT_EQ(canvas.At(1, 1), kBlack);
}

class CalendarDrawing : public ::testing::Test {
protected:
    CalendarDrawing() : context(TestContext(400, 300, 2021, 2, 10)) {}
    // Draws February 2021 at (10, 10), size 6 (u = 5, v = 3.75) on grey.
    std::unique_ptr<Canvas> Draw(s_month record = Record(10, 10, 6, 2, 2021)) {
        std::unique_ptr<Canvas> canvas(new Canvas(400, 300, kGrey));
        PrintCalendar(canvas->dc(), &record, context);
        return canvas;
    }
    RECT Box() {
        RECT box;
        s_month record = Record(10, 10, 6, 2, 2021);
        GetParamMonth2(&box, &record, context);
        return box;
    }
    CalendarContext context;
};

TEST_F(CalendarDrawing, TextLandsInsideTheBoxOnly) {
    auto canvas = Draw();
    const RECT box = Box();
    EXPECT_GT(canvas->CountOther(box, kGrey), 200);
    EXPECT_EQ(canvas->CountOther({0, 0, 400, box.top}, kGrey), 0);
    EXPECT_EQ(canvas->CountOther({box.right, 0, 400, 300}, kGrey), 0);
    EXPECT_EQ(canvas->CountOther({0, box.bottom, 400, 300}, kGrey), 0);
}

TEST_F(CalendarDrawing, FullTransparencyHidesTheCalendarOrOnlyThePlate) {
    context.today.wMonth = 3;  // no mark of today in the drawn month
    context.style.drawPlate = true;
    context.style.plateColour = kBlue;
    context.style.plateAlpha = 0;
    context.style.textAlpha = 10;
    const RECT box = Box();
    const int area = (box.right - box.left) * (box.bottom - box.top);
    auto plateOnly = Draw();
    EXPECT_EQ(plateOnly->Count(box, kBlue), area) << "the plate, and no text on it";

    context.style.plateAlpha = 10;
    context.style.textAlpha = 0;
    auto textOnly = Draw();
    EXPECT_EQ(textOnly->Count(box, kBlue), 0) << "no plate";
    EXPECT_GT(textOnly->CountOther(box, kGrey), 200) << "the text";

    context.style.textAlpha = 10;
    auto nothing = Draw();
    EXPECT_EQ(nothing->CountOther({0, 0, 400, 300}, kGrey), 0);
}

TEST_F(CalendarDrawing, RoundedPlateLeavesTheCornersAndBlendsByItsAlpha) {
    context.style.drawPlate = true;
    context.style.roundPlate = true;
    context.style.plateColour = RGB(0, 0, 200);
    context.style.plateAlpha = 5;
    context.style.textAlpha = 10;
    auto canvas = Draw();
    const RECT box = Box();
    EXPECT_EQ(canvas->At(box.left, box.top), kGrey) << "outside the rounded corner";
    EXPECT_EQ(canvas->At(box.right - 1, box.bottom - 1), kGrey);
    const COLORREF half = RGB(64, 64, 164);  // 0.5 * plate + 0.5 * grey, truncated
    EXPECT_EQ(canvas->At((box.left + box.right) / 2, (box.top + box.bottom) / 2), half);
    EXPECT_EQ(canvas->At((box.left + box.right) / 2, box.top), half) << "the top edge between the corners";

    context.style.plateColour = kBlack;
    context.style.plateAlpha = 0;
    auto black = Draw();
    EXPECT_EQ(black->At((box.left + box.right) / 2, (box.top + box.bottom) / 2), RGB(1, 0, 0))
        << "a black plate is drawn as 1, not as the key";
}

TEST_F(CalendarDrawing, BlackTextIsDrawnAsColourOneAndStaysVisible) {
    context.style.mainColour = kBlack;
    context.style.todayShape = false;
    auto canvas = Draw();
    EXPECT_GT(canvas->Count(Box(), RGB(1, 0, 0)), 200);
    EXPECT_EQ(canvas->Count(Box(), kBlack), 0);
}

TEST_F(CalendarDrawing, OutlinesSurroundEveryLetterByOneDiagonalPixel) {
    context.today.wMonth = 3;
    context.style.mainColour = RGB(200, 200, 200);
    context.style.outline = true;
    context.style.outlineColour = RGB(0, 0, 128);
    auto canvas = Draw();
    const RECT box = Box();
    const int diagonals[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    int text = 0, outline = 0, bare = 0, stray = 0;
    for (int y = box.top + 1; y < box.bottom - 1; ++y)
        for (int x = box.left + 1; x < box.right - 1; ++x) {
            const COLORREF pixel = canvas->At(x, y);
            if (pixel == RGB(200, 200, 200)) {
                ++text;
                for (const auto& d : diagonals) bare += canvas->At(x + d[0], y + d[1]) == kGrey;
            } else if (pixel == RGB(0, 0, 128)) {
                ++outline;
                bool beside = false;
                for (const auto& d : diagonals) beside |= canvas->At(x + d[0], y + d[1]) == RGB(200, 200, 200);
                stray += !beside;
            }
        }
    EXPECT_GT(text, 200);
    EXPECT_GT(outline, text / 2);
    EXPECT_EQ(bare, 0) << "every diagonal neighbour of a letter is letter or outline";
    EXPECT_EQ(stray, 0) << "outline lies only diagonally next to letters";
}

TEST(CalendarToday, TheOutlineOfTodaysNumberLiesOverItsShape) {
    // Size 2 on 1200 x 900: a shape of radius 21 under a number 45 high.
    CalendarContext context = TestContext(1200, 900, 2021, 2, 10);
    context.style.outline = true;
    context.style.outlineColour = RGB(0, 0, 128);
    context.style.shape = KV_SHAPE_ELLIPSE;
    context.style.shapeColour = RGB(255, 0, 255);
    context.style.todayColour = RGB(255, 255, 0);
    Canvas canvas(1200, 900, kGrey);
    s_month record = Record(0, 0, 2, 2, 2021);
    ASSERT_EQ(PrintCalendar(canvas.dc(), &record, context), 1);
    const RECT all = {0, 0, 1200, 900};
    ASSERT_GT(canvas.Count(all, RGB(255, 0, 255)), 100);
    int haloOnShape = 0;
    for (int y = 1; y < 899; ++y)
        for (int x = 1; x < 1199; ++x)
            if (canvas.At(x, y) == RGB(0, 0, 128) &&
                (canvas.At(x - 1, y) == RGB(255, 0, 255) || canvas.At(x + 1, y) == RGB(255, 0, 255) ||
                 canvas.At(x, y - 1) == RGB(255, 0, 255) || canvas.At(x, y + 1) == RGB(255, 0, 255)))
                ++haloOnShape;
    EXPECT_GT(haloOnShape, 5) << "the outline of today's number is drawn after the shape";
}

TEST_F(CalendarDrawing, TodayGetsItsShapeAndColour) {
    context.style.todayShape = true;
    context.style.shape = KV_SHAPE_STAR;
    context.style.shapeColour = RGB(0, 0, 255);
    context.style.todayColour = RGB(0, 255, 255);
    context.style.mainColour = RGB(200, 200, 200);
    auto today = Draw();
    EXPECT_GT(today->Count(Box(), RGB(0, 0, 255)), 10);
    EXPECT_GT(today->Count(Box(), RGB(0, 255, 255)), 5);

    context.today.wMonth = 3;  // today is not in the drawn month
    auto other = Draw();
    EXPECT_EQ(other->Count(Box(), RGB(0, 0, 255)), 0);
    EXPECT_EQ(other->Count(Box(), RGB(0, 255, 255)), 0);
}

COLORREF RedThirteenth(int command, const char* month, const char* day) {
    return command == KV_DAY_TEXT_COLOUR && lstrcmpA(month, "02") == 0 && lstrcmpA(day, "13") == 0 ? 0x0000FF : 0;
}
COLORREF WhiteForEveryDay(int, const char*, const char*) { return 0xFFFFFF; }

TEST_F(CalendarDrawing, APlugInsDayColourWinsOverTheWeekendColour) {
    context.today.wMonth = 3;
    context.style.weekendOwn = true;  // 13 February 2021 was a Saturday
    context.style.weekendColour = RGB(0, 200, 0);
    ASSERT_EQ(Draw()->Count(Box(), kRed), 0);
    DayColourFunction previous = SetDayColourFunction(RedThirteenth);
    auto coloured = Draw();
    EXPECT_GT(coloured->Count(Box(), kRed), 5);
    SetDayColourFunction(WhiteForEveryDay);
    EXPECT_EQ(Draw()->Count(Box(), kWhite), 0) << "white answers are ignored";
    SetDayColourFunction(previous);
}

TEST_F(CalendarDrawing, ColourModeOneTakesTheInverseOfTheWallpaper) {
    context.today.wMonth = 3;
    context.style.colourMode = 1;
    std::unique_ptr<Canvas> canvas(new Canvas(400, 300, RGB(0, 0, 255)));
    s_month record = Record(10, 10, 6, 2, 2021);
    PrintCalendar(canvas->dc(), &record, context);
    EXPECT_GT(canvas->Count(Box(), kYellow), 200) << "yellow text on blue";
}

TEST(CalendarStacking, TheMovedCalendarGoesRightBelowOrAbove) {
    CalendarContext context = TestContext(1200, 800, 2021, 5, 1);
    context.style.stack = true;
    context.style.gap = 5;
    // Size 6 on 1200 x 800: both boxes are 205 high.
    s_month fixed = Record(10, 10, 6, 1, 2021), moved = Record(10, 150, 6, 2, 2021);
    RECT fixedBox, movedBox;
    GetParamMonth2(&fixedBox, &fixed, context);
    GetParamMonth2(&movedBox, &moved, context);
    correctSMonth(&moved, &fixed, context);
    EXPECT_EQ(moved.y, fixedBox.bottom + 5);

    s_month distant = Record(10, 700, 6, 2, 2021);
    correctSMonth(&distant, &fixed, context);
    EXPECT_EQ(distant.y, 700) << "already clear of it";

    s_month low = Record(10, 600, 6, 1, 2021), high = Record(10, 580, 6, 2, 2021);
    correctSMonth(&high, &low, context);
    EXPECT_EQ(high.y, 600 - 5 - (movedBox.bottom - movedBox.top));

    s_month overlapping = Record(10, 50, 6, 2, 2021);
    correctSMonth(&overlapping, &fixed, context);
    EXPECT_EQ(overlapping.y, 50) << "above the other's middle, and no room above it";

    s_month unstacked = Record(10, 150, 6, 2, 2021);
    context.style.stack = false;
    correctSMonth(&unstacked, &fixed, context);
    EXPECT_EQ(unstacked.y, 150);
}

// Blending, on bitmaps of known pixels.
HBITMAP Pixels(int width, int height, const std::vector<COLORREF>& colours) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as most callers' bitmaps
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DWORD* words = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colours[static_cast<size_t>(y) * width + x];
            words[static_cast<size_t>(height - 1 - y) * width + x] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return bitmap;
}

TEST(Blending, AlphaMixesWithWhatLiesBeneath) {
    Canvas canvas(4, 4, RGB(0, 100, 200));
    HBITMAP source = Pixels(2, 2, std::vector<COLORREF>(4, RGB(200, 100, 0)));
    DrawBitmapWithTransparent(canvas.dc(), source, 1, 1, 2, 2, 0, 0.5f, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(1, 1), RGB(100, 100, 100));
    EXPECT_EQ(canvas.At(0, 0), RGB(0, 100, 200));
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 100, 200));
    DrawBitmapWithTransparent(canvas.dc(), source, 0, 0, 2, 2, 0, 0.0f, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(200, 100, 0)) << "opaque copy";
    DrawBitmapWithTransparent(canvas.dc(), source, 2, 2, 2, 2, 1, 1.0f, 0, 0, 0, 0, 0);
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 100, 200)) << "alpha 1 draws nothing";
    DeleteObject(source);
}

TEST(Blending, KeyColourShowsWhatLiesBeneathWithinTheTolerance) {
    const COLORREF k = kBlack;
    HBITMAP source = Pixels(3, 1, {k, RGB(3, 3, 3), RGB(4, 0, 0)});
    Canvas exact(3, 1, kGrey);
    DrawBitmapWithTransparent(exact.dc(), source, 0, 0, 3, 1, 1, 0.0f, 0, 0, 0, 0, 0);
    EXPECT_EQ(exact.At(0, 0), kGrey);
    EXPECT_EQ(exact.At(1, 0), RGB(3, 3, 3));
    Canvas tolerant(3, 1, kGrey);
    DrawBitmapWithTransparent(tolerant.dc(), source, 0, 0, 3, 1, 1, 0.0f, 0, 0, 4, 0, 0);
    EXPECT_EQ(tolerant.At(1, 0), kGrey) << "3 is within 4";
    EXPECT_EQ(tolerant.At(2, 0), RGB(4, 0, 0)) << "4 is not strictly within 4";
    DeleteObject(source);
}

TEST(Blending, KeySourcesAreTheCornersAsSeenOrTheGivenColour) {
    // Rows as seen: top row A B, bottom row C D.
    const COLORREF a = RGB(10, 0, 0), b = RGB(20, 0, 0), c = RGB(30, 0, 0), d = RGB(40, 0, 0);
    HBITMAP source = Pixels(2, 2, {a, b, c, d});
    const COLORREF corners[] = {a, b, c, d};
    for (BYTE keySource = 0; keySource < 4; ++keySource) {
        Canvas canvas(2, 2, kGrey);
        DrawBitmapWithTransparent(canvas.dc(), source, 0, 0, 2, 2, 1, 0.0f, 0, 0, 0, keySource, 0);
        for (int i = 0; i < 4; ++i) {
            const COLORREF expected = i == keySource ? kGrey : corners[i];
            EXPECT_EQ(canvas.At(i % 2, i / 2), expected) << "key source " << int(keySource) << ", pixel " << i;
        }
    }
    Canvas given(2, 2, kGrey);
    DrawBitmapWithTransparent(given.dc(), source, 0, 0, 2, 2, 1, 0.0f, 0, 0, 0, 4, c);
    EXPECT_EQ(given.At(0, 1), kGrey);
    EXPECT_EQ(given.At(0, 0), a);
    DeleteObject(source);
}

TEST(Blending, AnchorsAndColourModeTwo) {
    HBITMAP source = Pixels(2, 1, {kWhite, kRed});
    Canvas canvas(6, 4, RGB(0, 100, 200));
    DrawBitmapWithTransparent(canvas.dc(), source, 6, 4, 2, 1, 0, 0.5f, 3, 2, 0, 0, 0);
    // Right-bottom anchor: drawn at (4, 3).
    EXPECT_EQ(canvas.At(4, 3), RGB(127, 127, 127)) << "white became the inverse, then half of it";
    EXPECT_EQ(canvas.At(5, 3), RGB(127, 50, 100));
    EXPECT_EQ(canvas.At(3, 3), RGB(0, 100, 200));
    DrawBitmapWithTransparent(canvas.dc(), source, 2, 0, 2, 1, 1, 0.0f, 1, 2, 0, 4, kRed);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 155, 55)) << "x is the right edge; white shows the inverse";
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 100, 200)) << "the red key is transparent";
    DeleteObject(source);
}

TEST(Blending, BottomUpAndClippedDestinationsGetThePixelsInTheirPlaces) {
    // Rows as seen: top row red, bottom row blue, on a bottom-up section.
    HBITMAP source = Pixels(2, 2, {kRed, kRed, kBlue, kBlue});
    HBITMAP target = Pixels(4, 3, std::vector<COLORREF>(12, kGrey));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    DrawBitmapWithTransparent(dc, source, 1, 1, 2, 2, 1, 0.5f, 0, 0, 0, 4, kBlack);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(191, 64, 64));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(64, 64, 191));
    EXPECT_EQ(GetPixel(dc, 0, 0), kGrey);
    EXPECT_EQ(GetPixel(dc, 3, 2), kGrey);
    // Partly off the bitmap: the visible part only.
    DrawBitmapWithTransparent(dc, source, -1, 2, 2, 2, 0, 0.0f, 0, 0, 0, 0, 0);
    EXPECT_EQ(GetPixel(dc, 0, 2), kRed);
    // A clip region is honoured.
    HRGN clip = CreateRectRgn(0, 0, 1, 1);
    SelectClipRgn(dc, clip);
    DrawBitmapWithTransparent(dc, source, 0, 0, 2, 2, 0, 0.0f, 0, 0, 0, 0, 0);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    EXPECT_EQ(GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(GetPixel(dc, 1, 0), kGrey) << "outside the clip region";
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(target);
    DeleteObject(source);
}

TEST(Blending, PixelRulesOnEveryPath) {
    // Colour mode 2 with a black key: the key is judged on the pixel as
    // drawn, so white turned black by the inversion stays visible.
    HBITMAP keyed = Pixels(3, 1, {kBlack, kWhite, kRed});
    Canvas white(3, 1, kWhite);
    DrawBitmapWithTransparent(white.dc(), keyed, 0, 0, 3, 1, 1, 0.0f, 0, 2, 0, 4, kBlack);
    EXPECT_EQ(white.At(0, 0), kWhite) << "the key shows what lies beneath";
    EXPECT_EQ(white.At(1, 0), kBlack) << "white became the inverse and was not taken for the key";
    EXPECT_EQ(white.At(2, 0), kRed);
    DeleteObject(keyed);

    // A tolerant key with mixing; a mix that truncates (255 * 0.7 = 178.5).
    HBITMAP almost = Pixels(3, 1, {RGB(3, 3, 3), RGB(200, 0, 0), kWhite});
    Canvas grey(3, 1, kGrey);
    DrawBitmapWithTransparent(grey.dc(), almost, 0, 0, 3, 1, 1, 0.5f, 0, 0, 4, 4, kBlack);
    EXPECT_EQ(grey.At(0, 0), kGrey);
    EXPECT_EQ(grey.At(1, 0), RGB(164, 64, 64));
    Canvas black(3, 1, kBlack);
    DrawBitmapWithTransparent(black.dc(), almost, 0, 0, 3, 1, 0, 0.3f, 0, 0, 0, 0, 0);
    EXPECT_EQ(black.At(2, 0), RGB(178, 178, 178));

    // A 24-bit wallpaper is blended through a copy: the same rules apply.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, 3, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP deep = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, deep);
    for (int x = 0; x < 3; ++x) SetPixel(dc, x, 0, kGrey);
    DrawBitmapWithTransparent(dc, almost, 0, 0, 3, 1, 1, 0.5f, 0, 0, 4, 4, kBlack);
    EXPECT_EQ(GetPixel(dc, 0, 0), kGrey);
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(164, 64, 64));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(deep);
    DeleteObject(almost);

    int x = 10, y = 20;
    SelPosImage(&x, &y, 3, 4, 2);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 16);
}

}  // namespace
