#include "savebitmap.h"

#include <string>
#include <vector>

#include "scopedwin.h"

namespace {

// The system's OLE picture saving would do, but Wine's only copies the data
// a picture was loaded from, so rendered pages are written here, as the
// same bottom-up 24-bit BMP.
bool WriteBmp(const std::string& path, HBITMAP bitmap) {
    BITMAP shape = {};
    if (!GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return false;
    const int width = shape.bmWidth, height = shape.bmHeight;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (stride * height > 0x7fffffffu - 64) return false;

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    std::vector<BYTE> pixels(stride * height);
    {
        ScopedGetDC screen(nullptr);
        if (GetDIBits(screen, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                      DIB_RGB_COLORS) != height)
            return false;
    }
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + pixels.size());

    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    return WriteFile(file.get(), &header, sizeof header, &written, nullptr) && written == sizeof header &&
           WriteFile(file.get(), &info, sizeof info, &written, nullptr) && written == sizeof info &&
           WriteFile(file.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
           written == pixels.size();
}

}  // namespace

bool SaveBitmapAsBmp(HBITMAP bitmap, const char* file) {
    if (!bitmap) return false;
    ScopedGdiObj<HBITMAP> owned(bitmap);
    if (!file || !*file) return false;
    const std::string target = file, temporary = target + ".tmp";
    bool saved = WriteBmp(temporary, bitmap);
    if (saved) saved = MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!saved) DeleteFileA(temporary.c_str());
    return saved;
}
