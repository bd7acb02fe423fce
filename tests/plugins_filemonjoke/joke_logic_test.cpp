// The joke's plain logic: the page's numbers and the flipped picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "joke_logic.h"

TEST(JokeLogic, NumbersBelowOneReadAsOneAndThePeriodFitsATimer) {
    EXPECT_EQ(DropRadius(12), 6);
    EXPECT_EQ(DropRadius(1), 1) << "a drop is never smaller than a pixel";
    EXPECT_EQ(DropRadius(-3), 1);
    EXPECT_EQ(ReadPeriod(0), 1);
    // 4294968 seconds would wrap to a 704 ms timer: wallpapers every moment.
    EXPECT_EQ(ReadPeriod(4294968), 2147483);
    EXPECT_LE(static_cast<long long>(ReadPeriod(1LL << 40)) * 1000, 0x7FFFFFFFLL);
}

TEST(JokeLogic, ThePictureIsTurnedAndMirroredAsAsked) {
    // 3 x 2, top row first.
    const std::vector<uint32_t> picture = {1, 2, 3, 4, 5, 6};
    auto flipped = [&](bool upsideDown, bool mirrored) {
        std::vector<uint32_t> pixels = picture;
        FlipPixels(pixels.data(), 3, 2, upsideDown, mirrored);
        return pixels;
    };
    EXPECT_EQ(flipped(false, false), picture);
    EXPECT_EQ(flipped(true, false), (std::vector<uint32_t>{4, 5, 6, 1, 2, 3}));
    EXPECT_EQ(flipped(false, true), (std::vector<uint32_t>{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(flipped(true, true), (std::vector<uint32_t>{6, 5, 4, 3, 2, 1}));

    std::vector<uint32_t> odd = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    FlipPixels(odd.data(), 1, 9, true, false);
    EXPECT_EQ(odd, (std::vector<uint32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1})) << "the middle row stays";
    FlipPixels(nullptr, 3, 2, true, true);
}
