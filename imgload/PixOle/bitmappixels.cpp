#include "bitmappixels.h"

#include <cstring>
#include <new>

#include "dib_section.h"
#include "scopedwin.h"

namespace {

// A negative header height marks a top-down section on Windows; Wine reports
// every section with a positive height, so then one row is read through the
// system and compared: a row whose mirror row differs tells the order. A
// picture without one reads the same either way.
bool StoredBottomUp(HBITMAP bitmap, const DIBSECTION& section) {
    if (section.dsBmih.biHeight < 0) return false;
    const int width = section.dsBm.bmWidth, height = section.dsBm.bmHeight;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const uint8_t* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
    int row = 0;
    while (row < height / 2 && !memcmp(bits + rowBytes * row, bits + rowBytes * (height - 1 - row), rowBytes)) ++row;
    if (row == height / 2) return true;

    std::unique_ptr<uint8_t[]> fromSystem(new (std::nothrow) uint8_t[rowBytes]);
    if (!fromSystem) return true;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScopedGetDC screen(nullptr);
    // Scan line "row" of a bottom-up request is the row-th row from the bottom.
    if (GetDIBits(screen, bitmap, row, 1, fromSystem.get(), &info, DIB_RGB_COLORS) != 1) return true;
    return memcmp(fromSystem.get(), bits + rowBytes * row, rowBytes) == 0;
}

}  // namespace

bool BitmapPixels::Read(HBITMAP bitmap) {
    DIBSECTION section;
    const int got = bitmap ? GetObjectA(bitmap, sizeof section, &section) : 0;
    if (got < static_cast<int>(sizeof(BITMAP))) return false;
    width_ = section.dsBm.bmWidth;
    height_ = section.dsBm.bmHeight < 0 ? -section.dsBm.bmHeight : section.dsBm.bmHeight;
    if (width_ <= 0 || height_ <= 0 || static_cast<int64_t>(width_) * height_ > kMaxPixels) return false;

    if (got == sizeof section && section.dsBm.bmBits && section.dsBmih.biBitCount == 32 &&
        section.dsBmih.biCompression == BI_RGB) {
        GdiFlush();  // drawing into the section may still be queued
        stride_ = static_cast<ptrdiff_t>(width_) * 4;
        uint8_t* bits = static_cast<uint8_t*>(section.dsBm.bmBits);
        if (StoredBottomUp(bitmap, section)) {
            top_ = bits + stride_ * (height_ - 1);
            stride_ = -stride_;
        } else {
            top_ = bits;
        }
        return true;
    }

    copy_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(width_) * height_ * 4]);
    if (!copy_) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScopedGetDC screen(nullptr);
    if (GetDIBits(screen, bitmap, 0, height_, copy_.get(), &info, DIB_RGB_COLORS) != height_) return false;
    top_ = copy_.get();
    stride_ = static_cast<ptrdiff_t>(width_) * 4;
    return true;
}

HBITMAP CreateSection32(int width, int height, uint8_t** top, ptrdiff_t* stride) {
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPixels) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDibSection32(width, height, false, &bits);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    *stride = -static_cast<ptrdiff_t>(width) * 4;
    *top = static_cast<uint8_t*>(bits) - *stride * (height - 1);
    return bitmap;
}
