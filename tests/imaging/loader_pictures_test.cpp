// Decoding and drawing through the two modules that work without the browser
// engine: PixGdip (every offered format) and PixOle (the system's OLE formats).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "imaging_support.h"
#include "procaddress.h"
#include "program_folder.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);

struct Format {
    const char* file;
    int width, height;
    COLORREF colour;  // at (5, 5)
    int tolerance;    // of the size: metafiles are measured in HIMETRIC
};

// Metafiles are recorded into one folder for the whole program.
class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new ProgramFolder(false);
        ASSERT_TRUE(WriteEmf(folder_->file("red.emf"), 96, 48));
        ASSERT_TRUE(WriteWmf(folder_->file("red.wmf"), 120, 60));
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string PathOf(const char* file) {
        const std::string name = file;
        return name.find(".emf") != std::string::npos || name.find(".wmf") != std::string::npos ? folder_->file(name)
                                                                                                 : TestPicture(file);
    }
    void ExpectLoadsAndDraws(const char* moduleName, const Format& format) {
        SCOPED_TRACE(std::string(moduleName) + " " + format.file);
        ComScope com;
        LoaderModule loader(ShippedModule(moduleName));
        ASSERT_TRUE(loader.load && loader.stretch && loader.release);
        SIZE size = {0, 0};
        void* picture = loader.load(&size, PathOf(format.file).c_str());
        ASSERT_NE(picture, nullptr);
        EXPECT_NEAR(size.cx, format.width, format.tolerance);
        EXPECT_NEAR(size.cy, format.height, format.tolerance);
        Canvas canvas(size.cx, size.cy, kGrey);
        loader.stretch(picture, canvas.dc, 0, 0, size.cx, size.cy, 0, 0, size.cx, size.cy, SRCCOPY);
        EXPECT_PRED3(Near, canvas.Pixels()[5 * size.cx + 5], format.colour, 40);
        loader.release(picture);
    }

private:
    static ProgramFolder* folder_;
};
ProgramFolder* Pictures::folder_;

const Format kQuadBmp = {"quad.bmp", 40, 30, kRed, 0}, kQuadJpg = {"quad.jpg", 40, 30, kRed, 0},
             kQuadGif = {"quad.gif", 40, 30, kRed, 0}, kQuadPng = {"quad.png", 40, 30, kRed, 0},
             kIcon = {"blue48.ico", 48, 48, kBlue, 0}, kEmf = {"red.emf", 96, 48, kRed, 1},
             kWmf = {"red.wmf", 120, 60, kRed, 1};

TEST_F(Pictures, PixGdipLoadsEveryOfferedFormatWithItsTrueSize) {
    for (const Format& format : {kQuadGif, kQuadJpg, kQuadBmp, kIcon, kEmf, kWmf, kQuadPng})
        ExpectLoadsAndDraws("PixGdip", format);
}

TEST_F(Pictures, PixOleLoadsTheSystemsPictureFormatsWithTheirTrueSize) {
    for (const Format& format : {kQuadGif, kQuadJpg, kQuadBmp, kIcon, kEmf, kWmf}) ExpectLoadsAndDraws("PixOle", format);
}

// Source rectangles are in picture pixels, counted from the top left, for
// every module alike (OLE itself counts HIMETRIC from the bottom).
TEST(PictureDrawing, SourceRectangleIsInPicturePixelsFromTheTop) {
    ComScope com;
    // A JPEG goes through PixGdip's own decoding, the rest through GDI+.
    const std::pair<const char*, const char*> cases[] = {
        {"PixGdip", "quad.bmp"}, {"PixGdip", "quad.jpg"}, {"PixOle", "quad.bmp"}};
    for (const auto& drawn : cases) {
        const char* name = drawn.first;
        SCOPED_TRACE(std::string(name) + " " + drawn.second);
        LoaderModule loader(ShippedModule(name));
        SIZE size;
        void* picture = loader.load(&size, TestPicture(drawn.second).c_str());
        ASSERT_NE(picture, nullptr);
        struct Quarter {
            int sx, sy;
            COLORREF colour;
        };
        for (const Quarter& quarter : {Quarter{0, 0, kRed}, Quarter{20, 0, kGreen}, Quarter{0, 15, kBlue},
                                       Quarter{20, 15, kYellow}}) {
            Canvas canvas(40, 30, kGrey);
            loader.stretch(picture, canvas.dc, 0, 0, 40, 30, quarter.sx, quarter.sy, 20, 15, SRCCOPY);
            const std::vector<COLORREF> pixels = canvas.Pixels();
            // Away from the edges, where smoothing may blend in a neighbour.
            for (int y = 4; y < 26; ++y)
                for (int x = 4; x < 36; ++x)
                    ASSERT_PRED3(Near, pixels[y * 40 + x], quarter.colour, 8)
                        << "quarter at " << quarter.sx << "," << quarter.sy << " pixel " << x << "," << y;
        }
        // Drawn into a part of the target only, the rest stays.
        Canvas canvas(80, 60, kGrey);
        loader.stretch(picture, canvas.dc, 40, 30, 40, 30, 0, 0, 40, 30, SRCCOPY);
        EXPECT_EQ(canvas.Pixels()[10 * 80 + 10], kGrey);
        EXPECT_PRED3(Near, canvas.Pixels()[35 * 80 + 45], kRed, 8);
        loader.release(picture);
    }
}

TEST(PictureDrawing, PixGdipDrawsTheSameWithSrcInvertAsWithSrcCopy) {
    LoaderModule loader(ShippedModule("PixGdip"));
    SIZE size;
    void* picture = loader.load(&size, TestPicture("quad.bmp").c_str());
    ASSERT_NE(picture, nullptr);
    Canvas copied(40, 30, kGrey), inverted(40, 30, kGrey);
    loader.stretch(picture, copied.dc, 0, 0, 40, 30, 0, 0, 40, 30, SRCCOPY);
    loader.stretch(picture, inverted.dc, 0, 0, 40, 30, 0, 0, 40, 30, SRCINVERT);
    EXPECT_EQ(inverted.Pixels(), copied.Pixels());
    EXPECT_PRED3(Near, inverted.Pixels()[5 * 40 + 5], kRed, 8);
    EXPECT_EQ(loader.stretch(nullptr, copied.dc, 0, 0, 40, 30, 0, 0, 40, 30, SRCCOPY) != 0, true)
        << "a null picture reports a failure";
    loader.release(picture);
}

// The host reads pixels from PixGdip without drawing: exactly what a 1:1
// drawing gives, for the pictures GDI+ decodes and for JPEGs alike; where
// it cannot (a metafile), it says so and the host draws instead.
TEST(PictureDrawing, PixGdipCopiesPixelsAsItDrawsThemOneToOne) {
    ComScope com;
    LoaderModule loader(ShippedModule("PixGdip"));
    const auto reduced = GetProcAddressAs<ReducedImgSizeFunction>(loader.module, KV_EXPORT_REDUCEDIMGSIZE);
    const auto copy = GetProcAddressAs<CopyImgPixelsFunction>(loader.module, KV_EXPORT_COPYIMGPIXELS);
    ASSERT_TRUE(reduced && copy);
    for (const char* file : {"quad.jpg", "quad.bmp", "quad.png", "quad.gif"}) {
        SCOPED_TRACE(file);
        SIZE size;
        void* picture = loader.load(&size, TestPicture(file).c_str());
        ASSERT_NE(picture, nullptr);
        SIZE own = {0, 0};
        ASSERT_TRUE(reduced(picture, 1, &own));
        EXPECT_EQ(own.cx, size.cx);
        EXPECT_EQ(own.cy, size.cy);
        Canvas drawn(30, 20, kGrey);
        loader.stretch(picture, drawn.dc, 0, 0, 30, 20, 5, 3, 30, 20, SRCCOPY);
        // Into bottom-up memory, as a wallpaper section lies.
        std::vector<DWORD> bits(30 * 20, 0xABCDEF);
        ASSERT_EQ(copy(picture, 1, 5, 3, 30, 20, &bits[30 * 19], -30 * 4), 0);
        const std::vector<COLORREF> expected = drawn.Pixels();
        int differing = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const DWORD pixel = bits[(19 - y) * 30 + x];
                differing += !Near(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF), expected[y * 30 + x], 1);
            }
        EXPECT_EQ(differing, 0);
        // And what the picture holds there, away from the quarters' borders.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const int px = x + 5, py = y + 3;
                if (px == 19 || px == 20 || py == 14 || py == 15) continue;
                const DWORD pixel = bits[(19 - y) * 30 + x];
                const COLORREF quarter = py < 15 ? (px < 20 ? kRed : kGreen) : (px < 20 ? kBlue : kYellow);
                ASSERT_PRED3(Near, RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF), quarter, 8)
                    << px << "," << py;
            }
        EXPECT_NE(copy(picture, 1, 30, 0, 11, 1, bits.data(), 44), 0) << "beyond the picture";
        loader.release(picture);
    }
    // Transparency: drawn, the background shows through; copied, it is
    // black, as drawn on a fresh section.
    SIZE size;
    void* clear = loader.load(&size, TestPicture("halfclear.png").c_str());
    ASSERT_NE(clear, nullptr);
    Canvas drawn(40, 10, kGrey);
    loader.stretch(clear, drawn.dc, 0, 0, 40, 10, 0, 0, 40, 10, SRCCOPY);
    EXPECT_PRED3(Near, drawn.Pixels()[5 * 40 + 5], kRed, 2);
    EXPECT_PRED3(Near, drawn.Pixels()[5 * 40 + 35], kGrey, 2);
    std::vector<DWORD> copied(40 * 10, 0xABCDEF);
    ASSERT_EQ(copy(clear, 1, 0, 0, 40, 10, copied.data(), 40 * 4), 0);
    EXPECT_EQ(copied[5 * 40 + 5] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(copied[5 * 40 + 35] & 0xFFFFFF, 0u);
    loader.release(clear);

    ProgramFolder folder(false);
    ASSERT_TRUE(WriteEmf(folder.file("red.emf"), 96, 48));
    void* metafile = loader.load(&size, folder.file("red.emf").c_str());
    ASSERT_NE(metafile, nullptr);
    SIZE own;
    EXPECT_FALSE(reduced(metafile, 1, &own));
    std::vector<DWORD> bits(16);
    EXPECT_NE(copy(metafile, 1, 0, 0, 4, 4, bits.data(), 16), 0);
    loader.release(metafile);
}

}  // namespace
