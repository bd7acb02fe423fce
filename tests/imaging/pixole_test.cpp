// PixOle's wallpaper writer and smooth scaler.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bmp_reader.h"
#include "imaging_support.h"
#include "procaddress.h"
#include "program_folder.h"
#include "resample.h"
#include "scopedwin.h"

namespace {

std::vector<COLORREF> Noise(int width, int height, unsigned seed) {
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    for (COLORREF& pixel : pixels) {
        seed = seed * 1103515245u + 12345u;
        pixel = (seed >> 8) & 0xFFFFFF;
    }
    return pixels;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

class PixOle : public ::testing::Test {
protected:
    LoaderModule loader{ShippedModule("PixOle")};
    ProgramFolder folder{false};
};

// Every kind of bitmap the host and plug-ins hand over.
struct Source {
    const char* kind;
    ScopedGdiObj<HBITMAP> bitmap;
};
std::vector<Source> EveryKindOf(int width, int height, const std::vector<COLORREF>& pixels) {
    std::vector<Source> sources;
    sources.push_back({"32-bit section", ScopedGdiObj<HBITMAP>(MakeSection(width, height, 32, pixels))});
    sources.push_back({"32-bit top-down section", ScopedGdiObj<HBITMAP>(MakeSection(width, height, 32, pixels, true))});
    sources.push_back({"24-bit section", ScopedGdiObj<HBITMAP>(MakeSection(width, height, 24, pixels))});
    sources.push_back({"screen bitmap", ScopedGdiObj<HBITMAP>(MakeScreenBitmap(width, height, pixels))});
    return sources;
}

TEST_F(PixOle, SavedBitmapReadsBackPixelForPixel) {
    ASSERT_TRUE(loader.save);
    const int width = 37, height = 23;  // odd: rows need padding
    const std::vector<COLORREF> pixels = Noise(width, height, 7);
    for (Source& source : EveryKindOf(width, height, pixels)) {
        const std::string path = folder.file("KvBmp.bmp");
        ASSERT_TRUE(WriteTextFile(path, std::string(100000, 'x')));  // a larger old file is replaced whole
        ASSERT_EQ(loader.save(path.c_str(), source.bitmap.get()), 0) << source.kind;
        BmpImage image;
        ASSERT_TRUE(ReadBmpFile(path, image)) << source.kind;
        EXPECT_EQ(image.bitsPerPixel, 24) << source.kind;
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, height);
        EXPECT_EQ(image.pixels, pixels) << source.kind;
        EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"KvBmp.bmp"}) << "nothing else is left behind";
    }
}

TEST_F(PixOle, SavedBitmapIsAcceptedAsDesktopWallpaper) {
    ScopedGdiObj<HBITMAP> bitmap(MakeSection(64, 48, 32, Noise(64, 48, 3)));
    const std::string path = folder.file("KvBmp.bmp");
    ASSERT_EQ(loader.save(path.c_str(), bitmap.get()), 0);
    // The desktop reads its wallpaper as the system reads any bitmap file.
    ScopedGdiObj<HBITMAP> loaded(
        static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(BitmapSize(loaded.get()).cx, 64);
    EXPECT_EQ(BitmapSize(loaded.get()).cy, 48);

    char previous[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, previous, 0);
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()), 0));
    char now[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, now, 0);
    EXPECT_STRCASEEQ(now, path.c_str());
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, previous, 0);
}

TEST_F(PixOle, FailedSaveReportsItAndLeavesNoFile) {
    ScopedGdiObj<HBITMAP> bitmap(MakeSection(16, 16, 32, Noise(16, 16, 1)));
    const std::string intoMissing = folder.file("missing\\KvBmp.bmp");
    EXPECT_NE(loader.save(intoMissing.c_str(), bitmap.get()), 0);
    EXPECT_FALSE(FileExists(folder.file("missing")));

    const std::string kept = folder.file("kept.bmp");
    ASSERT_TRUE(WriteTextFile(kept, "the user's own file"));
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(loader.save(kept.c_str(), bitmap.get()), 0);
    std::string bytes;
    ReadTextFile(kept, bytes);
    EXPECT_EQ(bytes, "the user's own file");

    HBITMAP deleted = MakeSection(16, 16, 32, Noise(16, 16, 1));
    DeleteObject(deleted);
    EXPECT_NE(loader.save(folder.file("a.bmp").c_str(), deleted), 0);
    EXPECT_NE(loader.save(folder.file("b.bmp").c_str(), nullptr), 0);
    EXPECT_NE(loader.save(nullptr, bitmap.get()), 0);
    EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"kept.bmp"});
}

TEST_F(PixOle, CheckerboardScaledToHalfIsUniformGrey) {
    ASSERT_TRUE(loader.scale);
    for (int cell : {1, 2}) {
        std::vector<COLORREF> board(64 * 48);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) board[y * 64 + x] = ((x / cell + y / cell) % 2) ? RGB(255, 255, 255) : 0;
        ScopedGdiObj<HBITMAP> bitmap(MakeSection(64, 48, 32, board));
        int width = 32 / cell, height = 24 / cell;
        ScopedGdiObj<HBITMAP> scaled(loader.scale(bitmap.get(), &width, &height, "Kvtemp"));
        ASSERT_TRUE(scaled);
        const std::vector<COLORREF> pixels = ReadPixels(scaled.get());
        ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height);
        for (COLORREF pixel : pixels) {
            ASSERT_EQ(pixel, pixels[0]) << "cells of " << cell;
            ASSERT_TRUE(GetRValue(pixel) >= 127 && GetRValue(pixel) <= 128) << GetRValue(pixel);
        }
    }
}

// What smooth scaling means, computed plainly in floating point: the mean of
// the covered source area along a shrinking axis, bilinear between pixel
// centres along a growing one.
std::vector<std::vector<std::pair<int, double>>> AxisWeights(int from, int to) {
    std::vector<std::vector<std::pair<int, double>>> weights(to);
    for (int i = 0; i < to; ++i) {
        if (from > to) {
            const double begin = static_cast<double>(i) * from / to, end = static_cast<double>(i + 1) * from / to;
            for (int j = static_cast<int>(begin); j < end; ++j)
                weights[i].push_back({j, (std::min(end, j + 1.0) - std::max(begin, static_cast<double>(j))) * to / from});
        } else {
            const double centre = (i + 0.5) * from / to - 0.5;
            const int left = static_cast<int>(std::floor(centre));
            if (centre <= 0) weights[i].push_back({0, 1.0});
            else if (left >= from - 1) weights[i].push_back({from - 1, 1.0});
            else weights[i] = {{left, 1 - (centre - left)}, {left + 1, centre - left}};
        }
    }
    return weights;
}

TEST_F(PixOle, ScalingMatchesAreaAveragingAndBilinearForEveryKindOfBitmap) {
    const int width = 53, height = 41;
    const std::vector<COLORREF> pixels = Noise(width, height, 11);
    const std::pair<int, int> sizes[] = {{17, 13}, {20, 60}, {106, 20}, {53, 41}, {1, 1}};
    for (Source& source : EveryKindOf(width, height, pixels)) {
        for (const auto& size : sizes) {
            SCOPED_TRACE(std::string(source.kind) + " to " + std::to_string(size.first) + "x" +
                         std::to_string(size.second));
            int newWidth = size.first, newHeight = size.second;
            ScopedGdiObj<HBITMAP> scaled(loader.scale(source.bitmap.get(), &newWidth, &newHeight, "Kvtemp"));
            ASSERT_TRUE(scaled);
            EXPECT_EQ(newWidth, size.first);
            EXPECT_EQ(newHeight, size.second);
            int gotWidth = 0, gotHeight = 0;
            const std::vector<COLORREF> got = ReadPixels(scaled.get(), &gotWidth, &gotHeight);
            ASSERT_EQ(gotWidth, size.first);
            ASSERT_EQ(gotHeight, size.second);
            const auto across = AxisWeights(width, size.first), down = AxisWeights(height, size.second);
            int worst = 0;
            for (int y = 0; y < size.second; ++y)
                for (int x = 0; x < size.first; ++x)
                    for (int shift : {0, 8, 16}) {
                        double sum = 0;
                        for (const auto& row : down[y])
                            for (const auto& column : across[x])
                                sum += row.second * column.second *
                                       ((pixels[row.first * width + column.first] >> shift) & 0xFF);
                        const int expected = static_cast<int>(std::lround(sum));
                        worst = std::max(worst, std::abs(expected - static_cast<int>((got[y * size.first + x] >> shift) & 0xFF)));
                    }
            EXPECT_LE(worst, 1);
        }
    }
}

TEST_F(PixOle, ScalingRefusesWhatItCannotMake) {
    ScopedGdiObj<HBITMAP> bitmap(MakeSection(8, 8, 32, Noise(8, 8, 2)));
    int zero = 0, negative = -5, eight = 8;
    EXPECT_EQ(loader.scale(bitmap.get(), &zero, &eight, "Kvtemp"), nullptr);
    EXPECT_EQ(loader.scale(bitmap.get(), &eight, &negative, "Kvtemp"), nullptr);
    EXPECT_EQ(loader.scale(bitmap.get(), nullptr, &eight, "Kvtemp"), nullptr);
    EXPECT_EQ(loader.scale(nullptr, &eight, &eight, "Kvtemp"), nullptr);
    HBITMAP deleted = MakeSection(8, 8, 32, Noise(8, 8, 2));
    DeleteObject(deleted);
    EXPECT_EQ(loader.scale(deleted, &eight, &eight, "Kvtemp"), nullptr);
    int huge = 100000;
    EXPECT_EQ(loader.scale(bitmap.get(), &huge, &huge, "Kvtemp"), nullptr) << "ten gigapixels cannot be made";
}

// Processors without SSE2 take the plain path; it must give the same bytes.
TEST(Resampler, BothPathsGiveTheSameBytes) {
    const int width = 61, height = 37;
    std::vector<uint8_t> source(width * height * 4);
    unsigned seed = 5;
    for (uint8_t& byte : source) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const PixelRows from = {source.data(), width * 4, width, height};
    for (const auto& size : {std::make_pair(19, 11), std::make_pair(7, 90), std::make_pair(125, 37),
                             std::make_pair(3, 2), std::make_pair(61, 37)}) {
        std::vector<uint8_t> fast(size.first * size.second * 4), plain(fast.size());
        ASSERT_TRUE(Resample(from, {fast.data(), size.first * 4, size.first, size.second}));
        ASSERT_TRUE(Resample(from, {plain.data(), size.first * 4, size.first, size.second}, true));
        EXPECT_EQ(fast, plain) << size.first << "x" << size.second;
    }
}

// A reduction of hundreds to one spreads its weights over hundreds of taps:
// each must stay a share, or a bright column turns black.
TEST(Resampler, LargeReductionsAverageOnBothPathsDownToOnePixel) {
    const int length = 6000;
    std::vector<uint8_t> line(length * 4);
    unsigned seed = 9;
    for (uint8_t& byte : line) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    // Bright columns where a single tap used to take the whole remainder.
    for (int x = 0; x < length; x += 375) memset(&line[x * 4], 255, 4);
    for (int target : {16, 7, 3, 1}) {
        // The line across (one row) and down (one column, stride of a pixel).
        for (bool across : {true, false}) {
            const PixelRows from = {line.data(), across ? 0 : 4, across ? length : 1, across ? 1 : length};
            const int width = across ? target : 1, height = across ? 1 : target;
            std::vector<uint8_t> fast(target * 4), plain(fast.size());
            ASSERT_TRUE(Resample(from, {fast.data(), width * 4, width, height}));
            ASSERT_TRUE(Resample(from, {plain.data(), width * 4, width, height}, true));
            EXPECT_EQ(fast, plain) << target << (across ? " across" : " down");
            for (int i = 0; i < target; ++i)
                for (int channel = 0; channel < 4; ++channel) {
                    double sum = 0;
                    const double begin = static_cast<double>(i) * length / target;
                    const double end = static_cast<double>(i + 1) * length / target;
                    for (int j = static_cast<int>(begin); j < end; ++j)
                        sum += (std::min(end, j + 1.0) - std::max(begin, static_cast<double>(j))) * line[j * 4 + channel];
                    const int expected = static_cast<int>(std::lround(sum * target / length));
                    EXPECT_NEAR(plain[i * 4 + channel], expected, 1)
                        << target << (across ? " across" : " down") << ", pixel " << i << ", channel " << channel;
                }
        }
    }
    // A flat white line stays white.
    std::vector<uint8_t> white(length * 4, 255), one(4);
    ASSERT_TRUE(Resample({white.data(), 0, length, 1}, {one.data(), 4, 1, 1}, true));
    EXPECT_EQ(one, std::vector<uint8_t>(4, 255));
}

// Rows of a picture in memory handed out in small bands, recording what
// was asked for.
struct BandedSource : KvRowSource {
    const std::vector<uint8_t>* pixels;
    int bandRows;
    std::vector<int> asked;  // first row of each band
    int left = -1, right = -1;
    bool ascending = true;

    static const BYTE* WINAPI Rows(KvRowSource* self, int left, int right, int row, int* rows, int* stride) {
        BandedSource* source = static_cast<BandedSource*>(self);
        if (!source->asked.empty() && row <= source->asked.back()) source->ascending = false;
        source->asked.push_back(row);
        source->left = left;
        source->right = right;
        *rows = std::min(source->bandRows, source->height - row);
        *stride = source->width * 4;
        return source->pixels->data() + (static_cast<size_t>(row) * source->width + left) * 4;
    }
    static const BYTE* WINAPI Failing(KvRowSource*, int, int, int, int*, int*) { return nullptr; }
};

// The banded scaler gives, for any window of the scaled picture, the very
// bytes the whole scaling gives there, and reads only the rows and columns
// that window needs, each band once and in order.
TEST(Resampler, AWindowScaledFromBandsIsThatPartOfTheWholeScaling) {
    LoaderModule loader(ShippedModule("PixOle"));
    auto scaleRows = GetProcAddressAs<ScaleRowsFunction>(loader.module, KV_EXPORT_SCALEROWS);
    ASSERT_TRUE(scaleRows);
    const int width = 97, height = 61;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    unsigned seed = 3;
    for (uint8_t& byte : pixels) byte = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    const PixelRows from = {pixels.data(), width * 4, width, height};
    struct Case {
        int width, height;
        RECT window;
    } cases[] = {
        {40, 25, {0, 0, 40, 25}},       // shrink, whole
        {40, 25, {7, 3, 31, 20}},       // shrink, inside
        {300, 190, {120, 50, 180, 51}}, // grow, one row
        {150, 30, {0, 10, 150, 30}},    // grow across, shrink down, bottom part
        {13, 200, {12, 199, 13, 200}},  // the last pixel alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        std::vector<uint8_t> whole(static_cast<size_t>(c.width) * c.height * 4);
        ASSERT_TRUE(Resample(from, {whole.data(), c.width * 4, c.width, c.height}));
        BandedSource source;
        source.width = width;
        source.height = height;
        source.rows = BandedSource::Rows;
        source.pixels = &pixels;
        source.bandRows = 5;
        ScopedGdiObj<HBITMAP> part(scaleRows(&source, c.width, c.height, &c.window));
        ASSERT_TRUE(part);
        int partWidth = 0, partHeight = 0;
        const std::vector<COLORREF> got = ReadPixels(part.get(), &partWidth, &partHeight);
        ASSERT_EQ(partWidth, c.window.right - c.window.left);
        ASSERT_EQ(partHeight, c.window.bottom - c.window.top);
        int differing = 0;
        for (int y = 0; y < partHeight; ++y)
            for (int x = 0; x < partWidth; ++x) {
                const uint8_t* expected = &whole[((static_cast<size_t>(y) + c.window.top) * c.width + x + c.window.left) * 4];
                differing += got[y * partWidth + x] != RGB(expected[2], expected[1], expected[0]);
            }
        EXPECT_EQ(differing, 0);
        EXPECT_TRUE(source.ascending);
        // Only what the window reads: for a shrinking axis the source span of
        // its pixels, for a growing one that span and one neighbour.
        ASSERT_FALSE(source.asked.empty());
        const double across = static_cast<double>(width) / c.width, down = static_cast<double>(height) / c.height;
        EXPECT_GE(source.left, static_cast<int>(c.window.left * across) - 1);
        EXPECT_LE(source.right, static_cast<int>(std::ceil(c.window.right * across)) + 1);
        EXPECT_GE(source.asked.front(), static_cast<int>(c.window.top * down) - 1);
        EXPECT_LE(source.asked.back(), static_cast<int>(std::ceil(c.window.bottom * down)) + 1);
    }
    // A window outside the picture, or a source that fails, gives nothing.
    BandedSource source;
    source.width = width;
    source.height = height;
    source.rows = BandedSource::Failing;
    const RECT inside = {0, 0, 10, 10}, outside = {0, 0, 41, 10};
    EXPECT_EQ(scaleRows(&source, 40, 25, &inside), nullptr);
    source.rows = BandedSource::Rows;
    source.pixels = &pixels;
    source.bandRows = 5;
    EXPECT_EQ(scaleRows(&source, 40, 25, &outside), nullptr);
}

}  // namespace
