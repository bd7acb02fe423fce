// The pixels of any bitmap as 32-bit BGRX rows, read in place when the bitmap
// is already a 32-bit section (the host's composed wallpaper is one), else
// converted by the system into a private copy.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

class BitmapPixels {
public:
    // False for a handle that is no bitmap, or when memory runs out.
    bool Read(HBITMAP bitmap);

    int width() const { return width_; }
    int height() const { return height_; }
    // Row y, counted from the top.
    const uint8_t* row(int y) const { return top_ + stride_ * y; }

private:
    int width_ = 0;
    int height_ = 0;
    const uint8_t* top_ = nullptr;
    ptrdiff_t stride_ = 0;
    std::unique_ptr<uint8_t[]> copy_;
};

// A new 32-bit bottom-up section of that size, the address of its top row and
// the (negative) step from one row to the next below it.
HBITMAP CreateSection32(int width, int height, uint8_t** top, ptrdiff_t* stride);

// Largest number of pixels a bitmap here may have: the bytes must fit in a
// 32-bit size with room to spare.
constexpr int64_t kMaxPixels = 0x1FFFFFFF / 4;
