// The smooth scaler the host uses for "KvIncrease" and plug-ins use for
// skins. The result is always exactly the size asked for.
#include <windows.h>

#include "bitmappixels.h"
#include "imgload_exports.h"
#include "resample.h"
#include "scopedwin.h"

// name is a scratch file name for scalers that work through files; this one
// works in memory and does not use it.
extern "C" HBITMAP WINAPI ScaleBitmap(HBITMAP bitmap, int* width, int* height, const char*) {
    if (!bitmap || !width || !height || *width <= 0 || *height <= 0) return nullptr;
    BitmapPixels source;
    if (!source.Read(bitmap)) return nullptr;
    uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    ScopedGdiObj<HBITMAP> scaled(CreateSection32(*width, *height, &top, &stride));
    if (!scaled) return nullptr;
    const PixelRows from = {source.row(0), source.height() > 1 ? source.row(1) - source.row(0) : 0, source.width(),
                            source.height()};
    const MutablePixelRows to = {top, stride, *width, *height};
    if (!Resample(from, to)) return nullptr;
    GdiFlush();
    return scaled.release();
}
