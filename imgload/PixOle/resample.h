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

// A scaling of which only a part is made: the source scaled to fullWidth x
// fullHeight, and of that the window [left, right) x [top, bottom). The
// window's pixels are the very bytes the whole scaling would give there.
struct ScaleJob {
    int sourceWidth, sourceHeight;
    int fullWidth, fullHeight;
    int left, top, right, bottom;
};

// The source pixels a job reads: columns [left, right), rows [top, bottom).
struct SourceArea {
    int left, top, right, bottom;
};
// False for a job whose sizes or window make no sense.
bool ReadArea(const ScaleJob& job, SourceArea* area);

// Source rows handed over as the scaling reaches them: rows come in
// ascending order, each asked for once, from the area's top to its bottom.
class RowSupply {
public:
    virtual ~RowSupply() = default;
    // Row y from the area's left column on (area.right - area.left pixels of
    // 32-bit BGRX), or null when it cannot be had (the scaling then fails).
    virtual const uint8_t* Row(int y) = 0;
};

// Makes the job's window into target (the window's size). False when memory
// runs out, the job makes no sense or a row cannot be had.
bool ResampleWindow(const ScaleJob& job, RowSupply& rows, const MutablePixelRows& target, bool plainOnly = false);
