#include "bitmapfromico.h"

#include "scopedwin.h"

HBITMAP BitMapFromIco(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    ScopedGdiObj<HBITMAP> colourBits(info.hbmColor), maskBits(info.hbmMask);
    BITMAP colour = {};
    GetObjectA(colourBits ? colourBits.get() : maskBits.get(), sizeof colour, &colour);
    int width = static_cast<int>(info.xHotspot) * 2;
    int height = static_cast<int>(info.yHotspot) * 2;
    if (width <= 0 || height <= 0) return nullptr;

    HBITMAP bitmap = CreateBitmap(width, height, colour.bmPlanes ? colour.bmPlanes : 1,
                                  colour.bmBitsPixel ? colour.bmBitsPixel : 32, nullptr);
    if (!bitmap) return nullptr;
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC memory(screen);
    ScopedSelectObject select(memory, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(memory, &all, GetSysColorBrush(0));
    DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    return bitmap;
}
