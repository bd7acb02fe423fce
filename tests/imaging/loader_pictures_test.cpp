// Decoding and drawing through the two modules that work without the browser
// engine: PixGdip (every offered format) and PixOle (the system's OLE formats).
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "imaging_support.h"
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
    for (const char* name : {"PixGdip", "PixOle"}) {
        SCOPED_TRACE(name);
        LoaderModule loader(ShippedModule(name));
        SIZE size;
        void* picture = loader.load(&size, TestPicture("quad.bmp").c_str());
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

}  // namespace
