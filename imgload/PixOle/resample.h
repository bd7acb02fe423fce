// Smooth resampling of 32-bit BGRX pixels: area averaging along an axis that
// shrinks (each output pixel is the exact mean of the source area it covers),
// bilinear along an axis that grows. Integer arithmetic; all four bytes of a
// pixel are treated alike.
#pragma once

#include <cstddef>
#include <cstdint>

struct PixelRows {
    const uint8_t* top;  // row 0
    ptrdiff_t stride;    // bytes from a row to the next one down (may be negative)
    int width;
    int height;
};

struct MutablePixelRows {
    uint8_t* top;
    ptrdiff_t stride;
    int width;
    int height;
};

// False only when memory for the work rows runs out. Uses SSE2 where the
// processor has it unless plainOnly; both ways give the same bytes.
bool Resample(const PixelRows& source, const MutablePixelRows& target, bool plainOnly = false);
