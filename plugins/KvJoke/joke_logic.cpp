#include "joke_logic.h"

#include <algorithm>

namespace {

// The longest period whose milliseconds a timer still takes as given.
const long long kLongestPeriod = 0x7FFFFFFF / 1000;

}  // namespace

bool AnyEffect(const JokeEffects& e) {
    return e.screenPicture || e.changeWallpaper || e.hideIcons || e.hideTaskbar || e.hideWindows || e.freezeCursor ||
           e.rain || e.lockAtStop;
}

bool NeedsFastTimer(const JokeEffects& e) { return e.hideTaskbar || e.freezeCursor || e.rain; }

int ReadDropSize(long long value) { return static_cast<int>(std::max(1LL, std::min(value, 0x7FFFFFFFLL))); }

int ReadPeriod(long long value) { return static_cast<int>(std::max(1LL, std::min(value, kLongestPeriod))); }

int DropRadius(int dropSize) { return std::max(1, ReadDropSize(dropSize) / 2); }

void FlipPixels(uint32_t* pixels, int width, int height, bool upsideDown, bool mirrored) {
    if (!pixels || width <= 0 || height <= 0) return;
    const size_t stride = static_cast<size_t>(width);
    if (upsideDown)
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(pixels + top * stride, pixels + (top + 1) * stride, pixels + bottom * stride);
    if (mirrored)
        for (int row = 0; row < height; ++row) std::reverse(pixels + row * stride, pixels + (row + 1) * stride);
}

int RainRandom::Below(int limit) {
    if (limit < 1) return 0;
    // xorshift32
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int>(state_ % static_cast<uint32_t>(limit));
}
