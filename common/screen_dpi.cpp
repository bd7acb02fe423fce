#include "screen_dpi.h"

int ScreenDpi() {
    static int dpi = 0;
    if (!dpi) {
        HDC screen = GetDC(nullptr);
        dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        if (dpi <= 0) dpi = 96;
    }
    return dpi;
}

int ScaleForDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

int ScaleForDpi(int pixels) { return ScaleForDpi(pixels, ScreenDpi()); }

int SmallIconSize() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    return size > 0 ? size : ScaleForDpi(16);
}
