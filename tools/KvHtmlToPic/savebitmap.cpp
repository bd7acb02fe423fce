#include "savebitmap.h"

#include <cstring>
#include <string>

#include "file_replace.h"
#include "scopedwin.h"

namespace {

// The system's OLE picture saving would do, but Wine's only copies the data
// a picture was loaded from, so rendered pages are written here, as the
// same bottom-up 24-bit BMP.
std::string BmpBytes(HBITMAP bitmap) {
    BITMAP shape = {};
    if (!GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return std::string();
    const int width = shape.bmWidth, height = shape.bmHeight;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (stride * height > 0x7fffffffu - 64) return std::string();

    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + info.biSizeImage);

    std::string bytes(header.bfSize, '\0');
    BYTE* pixels = reinterpret_cast<BYTE*>(&bytes[header.bfOffBits]);
    ScopedGetDC screen(nullptr);
    if (GetDIBits(screen, bitmap, 0, height, pixels, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height)
        return std::string();
    memcpy(&bytes[0], &header, sizeof header);
    memcpy(&bytes[sizeof header], &info, sizeof info);
    return bytes;
}

}  // namespace

bool SaveBitmapAsBmp(HBITMAP bitmap, const char* file) {
    if (!bitmap) return false;
    ScopedGdiObj<HBITMAP> owned(bitmap);
    if (!file || !*file) return false;
    // Written beside the target and put in its place, so a failure keeps
    // the picture of the last run.
    const std::string bytes = BmpBytes(bitmap);
    return !bytes.empty() && ReplaceFileBytes(file, bytes);
}
