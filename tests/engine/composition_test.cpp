// The picture's placement on the wallpaper, checked on the pixels a user
// would see: where each placement puts a picture of four known quadrants,
// the edges, tiles, mirroring, inversion and the colour depths.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "composition_support.h"

namespace {

const RECT kArea1024 = {0, 0, 1024, 768};

TEST(Placement, AutomaticPlacementsWeighThePictureAgainstTheScreenDividedByTheFactor) {
    const SIZE small = {400, 300}, large = {2048, 1536};
    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_FIT, KV_PLACE_FIT, small, 1024, 768, 2.0f), KV_PLACE_CENTRE);
    const RECT centred = PlacementRect(KV_PLACE_CENTRE, kArea1024, small);
    EXPECT_EQ(centred.left, 312);
    EXPECT_EQ(centred.top, 234);
    EXPECT_EQ(centred.right - centred.left, 400) << "no scaling";
    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_FIT, KV_PLACE_FIT, large, 1024, 768, 2.0f), KV_PLACE_FIT);
    const RECT fitted = PlacementRect(KV_PLACE_FIT, kArea1024, large);
    EXPECT_EQ(fitted.left, 0);
    EXPECT_EQ(fitted.top, 0);
    EXPECT_EQ(fitted.right, 1024);
    EXPECT_EQ(fitted.bottom, 768);

    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_STRETCH, KV_PLACE_FIT, small, 1024, 768, 2.0f), KV_PLACE_TILE);
    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_STRETCH, KV_PLACE_FIT, large, 1024, 768, 2.0f), KV_PLACE_STRETCH);
    // One side over the limit is enough; a smaller factor raises the limit.
    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_FIT, KV_PLACE_FIT, SIZE{520, 10}, 1024, 768, 2.0f), KV_PLACE_FIT);
    EXPECT_EQ(ResolvePlacement(KV_PLACE_AUTO_FIT, KV_PLACE_FIT, SIZE{520, 10}, 1024, 768, 1.0f), KV_PLACE_CENTRE);
    // The page's choice may itself be automatic.
    EXPECT_EQ(ResolvePlacement(-1, KV_PLACE_AUTO_STRETCH, small, 1024, 768, 2.0f), KV_PLACE_TILE);
}

TEST(Placement, RowDigitNineMeansAverageEdgesAndZeroThePagesChoice) {
    const SIZE picture = {100, 100};
    EXPECT_EQ(ResolvePlacement(9 - 1, KV_PLACE_STRETCH, picture, 1024, 768, 2.0f), KV_PLACE_FIT_AVERAGE);
    EXPECT_EQ(ResolvePlacement(1 - 1, KV_PLACE_STRETCH, picture, 1024, 768, 2.0f), KV_PLACE_CENTRE);
    EXPECT_EQ(ResolvePlacement(0 - 1, KV_PLACE_STRETCH, picture, 1024, 768, 2.0f), KV_PLACE_STRETCH);
    EXPECT_EQ(ResolvePlacement(9, KV_PLACE_TILE, picture, 1024, 768, 2.0f), KV_PLACE_TILE) << "above 8: the page";
}

TEST(Placement, FitAndFillKeepTheAspectAndCentreWithHalvesRoundedTowardZero) {
    const RECT area = {10, 20, 210, 170};  // 200 x 150
    RECT fit = PlacementRect(KV_PLACE_FIT, area, SIZE{40, 20});
    EXPECT_EQ(fit.left, 10);
    EXPECT_EQ(fit.top, 45);
    EXPECT_EQ(fit.right - fit.left, 200);
    EXPECT_EQ(fit.bottom - fit.top, 100);
    RECT fill = PlacementRect(KV_PLACE_FILL, area, SIZE{40, 20});
    EXPECT_EQ(fill.left, -40);
    EXPECT_EQ(fill.top, 20);
    EXPECT_EQ(fill.right - fill.left, 300);
    EXPECT_EQ(fill.bottom - fill.top, 150);
    // (200 - 201) / 2 is 0, not -1.
    RECT wide = PlacementRect(KV_PLACE_CENTRE, area, SIZE{201, 10});
    EXPECT_EQ(wide.left, 10);
}

TEST(Placement, SizeFactorTextFallsBackToTwo) {
    EXPECT_FLOAT_EQ(ParseSizeFactor("2.0"), 2.0f);
    EXPECT_FLOAT_EQ(ParseSizeFactor("1,5"), 1.5f);
    EXPECT_FLOAT_EQ(ParseSizeFactor(" 3"), 3.0f);
    for (const char* bad : {"0", "-3", "abc", "", "1e300"}) EXPECT_FLOAT_EQ(ParseSizeFactor(bad), 2.0f) << bad;
    EXPECT_FLOAT_EQ(ParseSizeFactor(nullptr), 2.0f);
}

class Composing : public ::testing::Test {
protected:
    void SetUp() override {
        positionType = -1;
        options.background = kGrey;
        options.increase = false;
        options.useWorkArea = false;
    }
    void TearDown() override { positionType = -1; }

    // Composes a 200 x 150 wallpaper with the picture in the given placement.
    std::unique_ptr<Canvas> Compose(int placement, s_picture* picture, SIZE size, RECT work = {0, 0, 200, 150}) {
        positionType = placement;
        std::unique_ptr<Canvas> canvas(new Canvas(200, 150, kBlack));
        ComposePicture(canvas->dc(), desktop, work, picture, size, options);
        tReleaseImg(picture);
        return canvas;
    }

    FakeLoader loader;
    CompositionOptions options;
    const RECT desktop = {0, 0, 200, 150};
};

TEST_F(Composing, CentreLeavesThePictureAtItsSizeOnTheBackground) {
    auto wall = Compose(KV_PLACE_CENTRE, loader.Quadrants(40, 30), SIZE{40, 30});
    EXPECT_EQ(wall->At(85, 65), kRed);
    EXPECT_EQ(wall->At(115, 65), kGreen);
    EXPECT_EQ(wall->At(85, 85), kBlue);
    EXPECT_EQ(wall->At(115, 85), kYellow);
    EXPECT_EQ(wall->Count({80, 60, 120, 90}, kGrey), 0) << "the picture covers exactly its rectangle";
    EXPECT_EQ(wall->At(79, 60), kGrey);
    EXPECT_EQ(wall->At(120, 89), kGrey);
    EXPECT_EQ(wall->At(0, 0), kGrey);
}

TEST_F(Composing, FitStretchAndFill) {
    auto fit = Compose(KV_PLACE_FIT, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(fit->At(50, 50), kRed);
    EXPECT_EQ(fit->At(150, 50), kGreen);
    EXPECT_EQ(fit->At(50, 100), kBlue);
    EXPECT_EQ(fit->At(150, 100), kYellow);
    EXPECT_EQ(fit->Count({0, 0, 200, 25}, kGrey), 200 * 25) << "margins keep the background";
    EXPECT_EQ(fit->Count({0, 125, 200, 150}, kGrey), 200 * 25);

    auto stretch = Compose(KV_PLACE_STRETCH, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(stretch->At(2, 2), kRed);
    EXPECT_EQ(stretch->At(197, 2), kGreen);
    EXPECT_EQ(stretch->At(2, 147), kBlue);
    EXPECT_EQ(stretch->At(197, 147), kYellow);

    // Fill: 300 x 150 from x = -50; a quarter of each side is cut off.
    auto fill = Compose(KV_PLACE_FILL, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(fill->Count({0, 0, 200, 150}, kGrey), 0);
    EXPECT_EQ(fill->At(0, 0), kRed);
    EXPECT_EQ(fill->At(99, 74), kRed);
    EXPECT_EQ(fill->At(100, 74), kGreen);
    EXPECT_EQ(fill->At(199, 149), kYellow);
}

TEST_F(Composing, SmearedEdgesRepeatTheOutermostRows) {
    auto wall = Compose(KV_PLACE_FIT_SMEARED, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(wall->At(50, 0), kRed);
    EXPECT_EQ(wall->At(150, 24), kGreen);
    EXPECT_EQ(wall->At(50, 149), kBlue);
    EXPECT_EQ(wall->At(150, 125), kYellow);
    EXPECT_EQ(wall->Count({0, 0, 200, 150}, kGrey), 0);
}

TEST_F(Composing, AverageEdgesTakeTheMeanOfTheOutermostRow) {
    auto wall = Compose(KV_PLACE_FIT_AVERAGE, loader.Quadrants(40, 20), SIZE{40, 20});
    const COLORREF redGreen = RGB(127, 127, 0), blueYellow = RGB(127, 127, 127);
    EXPECT_EQ(wall->Count({0, 0, 200, 25}, redGreen), 200 * 25);
    EXPECT_EQ(wall->Count({0, 125, 200, 150}, blueYellow), 200 * 25);
    EXPECT_EQ(wall->At(50, 50), kRed);

    // Side margins: a tall picture.
    auto tall = Compose(KV_PLACE_FIT_AVERAGE, loader.Make(20, 30, [](int x, int) { return x < 10 ? kRed : kBlue; }),
                        SIZE{20, 30});
    EXPECT_EQ(tall->At(0, 75), kRed);
    EXPECT_EQ(tall->At(199, 75), kBlue);
}

TEST_F(Composing, AverageEdgesOfOnePixelGetTheirColourToo) {
    // 40 x 20 fitted into 200 x 102 leaves one row above and one below.
    positionType = KV_PLACE_FIT_AVERAGE;
    Canvas wall(200, 102, kBlack);
    const RECT small = {0, 0, 200, 102};
    s_picture* picture = loader.Quadrants(40, 20);
    ComposePicture(wall.dc(), small, small, picture, SIZE{40, 20}, options);
    tReleaseImg(picture);
    EXPECT_EQ(wall.At(10, 0), RGB(127, 127, 0));
    EXPECT_EQ(wall.At(10, 101), RGB(127, 127, 127));
}

TEST_F(Composing, TilesStartAtTheWorkAreasCornerAndCoverItToTheEdges) {
    options.useWorkArea = true;
    const RECT work = {30, 0, 200, 120};  // a taskbar on the left and one at the bottom
    auto wall = Compose(KV_PLACE_TILE, loader.Quadrants(40, 30), SIZE{40, 30}, work);
    EXPECT_EQ(wall->At(31, 1), kRed);
    EXPECT_EQ(wall->At(55, 1), kGreen);
    EXPECT_EQ(wall->At(71, 1), kRed) << "second tile";
    EXPECT_EQ(wall->At(31, 16), kBlue);
    EXPECT_EQ(wall->At(31, 31), kRed) << "second row";
    EXPECT_EQ(wall->At(199, 1), kRed) << "(199 - 30) % 40 = 9: the last tile reaches the edge";
    EXPECT_EQ(wall->At(199, 119), QuadrantColour(169 % 40, 119 % 30, 40, 30));
    EXPECT_EQ(wall->Count({0, 0, 30, 150}, kGrey), 30 * 150) << "nothing left of the work area";
}

TEST_F(Composing, BothMirrorsTurnThePictureByHalfATurn) {
    options.mirrorTopBottom = options.mirrorLeftRight = true;
    auto both = Compose(KV_PLACE_CENTRE, loader.Quadrants(40, 30), SIZE{40, 30});
    EXPECT_EQ(both->At(85, 65), kYellow);
    EXPECT_EQ(both->At(115, 65), kBlue);
    EXPECT_EQ(both->At(85, 85), kGreen);
    EXPECT_EQ(both->At(115, 85), kRed);
    EXPECT_EQ(both->At(79, 65), kGrey) << "the mirror stays within the picture";

    options.mirrorLeftRight = false;
    auto topBottom = Compose(KV_PLACE_CENTRE, loader.Quadrants(40, 30), SIZE{40, 30});
    EXPECT_EQ(topBottom->At(85, 65), kBlue);
    EXPECT_EQ(topBottom->At(115, 85), kGreen);

    options.mirrorTopBottom = false;
    options.mirrorLeftRight = true;
    auto leftRight = Compose(KV_PLACE_STRETCH, loader.Quadrants(40, 30), SIZE{40, 30});
    EXPECT_EQ(leftRight->At(2, 2), kGreen);
    EXPECT_EQ(leftRight->At(197, 147), kBlue);
}

TEST_F(Composing, MirroredTilesMirrorTheWholeArea) {
    options.mirrorLeftRight = true;
    auto wall = Compose(KV_PLACE_TILE, loader.Quadrants(40, 30), SIZE{40, 30});
    // 200 = 5 tiles: mirrored, the first column of the area is the last of a tile.
    EXPECT_EQ(wall->At(0, 0), kGreen);
    EXPECT_EQ(wall->At(25, 0), kRed);
}

TEST_F(Composing, InversionKeepsABlackBackgroundAndTurnsWhiteBlack) {
    options.invert = true;
    options.background = kBlack;
    auto wall =
        Compose(KV_PLACE_CENTRE, loader.Make(40, 30, [](int x, int) { return x < 20 ? kWhite : kRed; }), SIZE{40, 30});
    EXPECT_EQ(wall->At(0, 0), kBlack);
    EXPECT_EQ(wall->At(85, 70), kBlack);
    EXPECT_EQ(wall->At(115, 70), RGB(0, 255, 255));
}

TEST_F(Composing, InversionTurnsWhiteBlackAtEveryDepth) {
    options.invert = true;
    options.background = kBlack;
    for (int bits : {8, 16, 24, 32}) {
        HDC screen = GetDC(nullptr);
        HBITMAP section = CreateWallSection(screen, 200, 150, bits);
        ReleaseDC(nullptr, screen);
        ASSERT_NE(section, nullptr) << bits;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, section);
        positionType = KV_PLACE_CENTRE;
        s_picture* picture = loader.Make(40, 30, [](int x, int) { return x < 20 ? kWhite : kRed; });
        ComposePicture(dc, desktop, desktop, picture, SIZE{40, 30}, options);
        tReleaseImg(picture);
        EXPECT_EQ(GetPixel(dc, 0, 0), kBlack) << bits << " bits: the background keeps its colour";
        EXPECT_EQ(GetPixel(dc, 85, 70), kBlack) << bits << " bits: white becomes black";
        EXPECT_EQ(GetPixel(dc, 115, 70), RGB(0, 255, 255)) << bits << " bits: red becomes cyan";
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(section);
    }
}

TEST_F(Composing, SmoothScalingAveragesWherePlainStretchingPicksPixels) {
    ShippedSaver module;
    ASSERT_TRUE(pScaleBitmap) << "PixOle's scaler";
    // A checkerboard of single pixels at half its size: grey when averaged,
    // black and white when sampled (as the test loader stretches).
    auto board = [&] { return loader.Make(400, 300, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; }); };
    const RECT all = {0, 0, 200, 150};
    options.increase = true;
    auto smooth = Compose(KV_PLACE_FIT, board(), SIZE{400, 300});
    int grey = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) grey += Near(smooth->At(x, y), kGrey, 1);
    EXPECT_EQ(grey, 200 * 150) << "every pixel the mean of four";

    options.increase = false;
    auto plain = Compose(KV_PLACE_FIT, board(), SIZE{400, 300});
    EXPECT_EQ(plain->Count(all, kBlack) + plain->Count(all, kWhite), 200 * 150);
}

TEST_F(Composing, APictureTooLargeToCopyIsDrawnStraightIntoItsPlace) {
    ShippedSaver module;
    options.increase = true;
    options.mirrorTopBottom = options.mirrorLeftRight = true;
    // 30000 x 20000 at 32 bits is 2.4 GB: more than a 32-bit process can
    // hold, and more than the system's drawing functions count in an x64
    // one. With the banded scaler and without it (a loader module of old).
    const ScaleRowsFunction banded = pScaleRows;
    for (bool bands : {true, false}) {
        SCOPED_TRACE(bands ? "in bands" : "without the banded scaler");
        pScaleRows = bands ? banded : nullptr;
        auto fit = Compose(KV_PLACE_FIT, loader.Claiming(30000, 20000, loader.Quadrants(300, 200)), SIZE{30000, 20000});
        // Fitted to 200 x 133 at y = 8, turned by half a turn.
        EXPECT_EQ(fit->At(50, 40), kYellow);
        EXPECT_EQ(fit->At(150, 40), kBlue);
        EXPECT_EQ(fit->At(50, 110), kGreen);
        EXPECT_EQ(fit->At(150, 110), kRed);
        EXPECT_EQ(fit->At(100, 2), kGrey) << "the margins keep the background";
    }
    pScaleRows = banded;
}

TEST_F(Composing, SmoothScalingGivesTheSamePlacementAndMirrors) {
    ShippedSaver module;
    ASSERT_TRUE(pScaleBitmap) << "PixOle's scaler";
    options.increase = true;
    auto fit = Compose(KV_PLACE_FIT, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(fit->At(50, 50), kRed);
    EXPECT_EQ(fit->At(150, 100), kYellow);
    EXPECT_EQ(fit->Count({0, 0, 200, 25}, kGrey), 200 * 25);

    options.mirrorTopBottom = options.mirrorLeftRight = true;
    auto turned = Compose(KV_PLACE_FILL, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(turned->At(20, 20), kYellow);
    EXPECT_EQ(turned->At(180, 130), kRed);
}

TEST_F(Composing, ALargePictureIsDrawnWholeBeforeScaling) {
    ShippedSaver module;
    options.increase = true;
    // 2048 x 3000 is drawn at its own size in several bands of rows.
    const COLORREF thirds[] = {kRed, kGreen, kBlue};
    auto fit = Compose(KV_PLACE_FIT, loader.Make(2048, 3000, [&](int, int y) { return thirds[y / 1000]; }),
                       SIZE{2048, 3000});
    EXPECT_EQ(fit->At(100, 25), kRed);
    EXPECT_EQ(fit->At(100, 75), kGreen);
    EXPECT_EQ(fit->At(100, 125), kBlue);
    EXPECT_EQ(fit->At(100, 149), kBlue);
}

TEST_F(Composing, WithoutAScalerThePictureIsStillStretchedToItsPlace) {
    ASSERT_EQ(pScaleBitmap, nullptr);
    options.increase = true;
    auto fit = Compose(KV_PLACE_FIT, loader.Quadrants(40, 20), SIZE{40, 20});
    EXPECT_EQ(fit->At(150, 100), kYellow);
    EXPECT_EQ(fit->At(199, 124), kYellow);
}

TEST_F(Composing, EveryColourDepthKeepsPlainColours) {
    for (int bits : {8, 16, 24, 32}) {
        HDC screen = GetDC(nullptr);
        HBITMAP section = CreateWallSection(screen, 200, 150, bits);
        ReleaseDC(nullptr, screen);
        ASSERT_NE(section, nullptr) << bits;
        DIBSECTION info;
        ASSERT_EQ(GetObjectA(section, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.dsBmih.biBitCount, bits);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, section);
        positionType = KV_PLACE_CENTRE;
        options.background = kWhite;
        s_picture* picture = loader.Quadrants(40, 30);
        ComposePicture(dc, desktop, desktop, picture, SIZE{40, 30}, options);
        tReleaseImg(picture);
        EXPECT_EQ(GetPixel(dc, 0, 0), kWhite) << bits;
        EXPECT_EQ(GetPixel(dc, 85, 65), kRed) << bits;
        EXPECT_EQ(GetPixel(dc, 115, 85), kYellow) << bits;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(section);
    }
}

// Noise, so that any pixel taken from the wrong place shows.
COLORREF NoiseAt(int x, int y) {
    unsigned value = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
    value = value * 1103515245u + 12345u;
    return (value >> 8) & 0xFFFFFF;
}

// The banded scaler reads only the part that shows and mirrors the screen-
// sized result; what it makes is what scaling the whole mirrored picture
// made, for every scaled placement, mirror and overflow.
TEST_F(Composing, BandedScalingGivesWhatScalingTheWholePictureGave) {
    ShippedSaver module;
    ASSERT_TRUE(pScaleRows && pScaleBitmap);
    const ScaleRowsFunction banded = pScaleRows;
    options.increase = true;
    const SIZE sizes[] = {{517, 331}, {61, 97}};  // reduced, enlarged
    const RECT work = {13, 0, 200, 139};
    for (SIZE size : sizes)
        for (int placement : {KV_PLACE_FIT, KV_PLACE_STRETCH, KV_PLACE_FIT_SMEARED, KV_PLACE_FILL, KV_PLACE_FIT_AVERAGE})
            for (int mirror = 0; mirror < 4; ++mirror) {
                SCOPED_TRACE(std::to_string(size.cx) + "x" + std::to_string(size.cy) + ", placement " +
                             std::to_string(placement) + ", mirror " + std::to_string(mirror));
                options.mirrorLeftRight = mirror & 1;
                options.mirrorTopBottom = (mirror & 2) != 0;
                options.useWorkArea = placement == KV_PLACE_FILL;
                pScaleRows = banded;
                auto now = Compose(placement, loader.Make(size.cx, size.cy, NoiseAt), size, work);
                pScaleRows = nullptr;
                auto whole = Compose(placement, loader.Make(size.cx, size.cy, NoiseAt), size, work);
                int worst = 0;
                for (int y = 0; y < 150; ++y)
                    for (int x = 0; x < 200; ++x) {
                        const COLORREF a = now->At(x, y), b = whole->At(x, y);
                        worst = std::max({worst, abs(GetRValue(a) - GetRValue(b)), abs(GetGValue(a) - GetGValue(b)),
                                          abs(GetBValue(a) - GetBValue(b))});
                    }
                EXPECT_LE(worst, 1);
            }
    pScaleRows = banded;
}

// A loader that decodes its pictures at 1/2, 1/4 and 1/8 of their size: each
// reduction in a colour of its own, and every copy asked for recorded.
struct Copy {
    int denominator, x, y, width, height;
};
std::vector<Copy> copies;
int failingDenominator = 0;
const COLORREF kByDenominator[9] = {0, kRed, kGreen, 0, kBlue, 0, 0, 0, kYellow};
BOOL WINAPI ReducedSize(void*, int denominator, SIZE* size) {
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) return FALSE;
    *size = {(800 + denominator - 1) / denominator, (400 + denominator - 1) / denominator};
    return TRUE;
}
int WINAPI CopyPixels(void*, int denominator, int x, int y, int width, int height, void* bits, int stride) {
    copies.push_back({denominator, x, y, width, height});
    if (denominator == failingDenominator) return 1;
    const COLORREF colour = kByDenominator[denominator];
    for (int row = 0; row < height; ++row) {
        DWORD* pixel = reinterpret_cast<DWORD*>(static_cast<BYTE*>(bits) + static_cast<ptrdiff_t>(stride) * row);
        for (int column = 0; column < width; ++column)
            pixel[column] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    return 0;
}

TEST_F(Composing, SmoothScalingReadsOnlyWhatShowsFromTheSmallestDecodingThatCoversIt) {
    ShippedSaver module;
    ASSERT_TRUE(pScaleRows);
    options.increase = true;
    pReducedImgSize[0] = ReducedSize;
    pCopyImgPixels[0] = CopyPixels;
    auto picture = [&] { return loader.Claiming(800, 400, loader.Quadrants(80, 40)); };
    const SIZE size = {800, 400};

    // Fill: 300 x 150 from x = -50; 1/2 (400 x 200) covers it, 1/4 does not.
    copies.clear();
    auto fill = Compose(KV_PLACE_FILL, picture(), size);
    EXPECT_EQ(fill->Count({0, 0, 200, 150}, kGreen), 200 * 150);
    ASSERT_FALSE(copies.empty());
    int left = 400, right = 0, rows = 0;
    for (const Copy& copy : copies) {
        EXPECT_EQ(copy.denominator, 2);
        left = std::min(left, copy.x);
        right = std::max(right, copy.x + copy.width);
        rows += copy.height;
    }
    // Columns 50 to 250 of 300 show: source columns 66.7 to 333.3 of 400.
    EXPECT_GE(left, 65);
    EXPECT_LE(right, 335);
    EXPECT_EQ(rows, 200) << "every row once";

    // Fit to 200 x 100: exactly 1/4.
    copies.clear();
    auto fit = Compose(KV_PLACE_FIT, picture(), size);
    EXPECT_EQ(fit->Count({0, 25, 200, 125}, kBlue), 200 * 100);
    EXPECT_EQ(fit->Count({0, 0, 200, 25}, kGrey), 200 * 25);

    // A reduction the loader then fails to deliver: the picture at its own size.
    failingDenominator = 4;
    copies.clear();
    auto fallback = Compose(KV_PLACE_FIT, picture(), size);
    failingDenominator = 0;
    EXPECT_EQ(fallback->Count({0, 25, 200, 125}, kRed), 200 * 100);
}

}  // namespace
