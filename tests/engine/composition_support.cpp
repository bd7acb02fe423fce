#include "composition_support.h"

#include <cstdlib>

#include "procaddress.h"
#include "program_folder.h"

int FakeLoader::released = 0;

namespace {

struct FakeImage {
    HBITMAP bitmap;
    int width, height;
};

int WINAPI FakeStretch(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                       DWORD rop) {
    FakeImage* image = static_cast<FakeImage*>(picture);
    // A picture that claims a larger size than its pixels is drawn whole at
    // the claimed scale, clipped to the destination: its pixels are then
    // where the claimed ones would be, for any part asked for.
    BITMAP pixels = {};
    GetObjectA(image->bitmap, sizeof pixels, &pixels);
    const bool claimed = pixels.bmWidth != image->width || pixels.bmHeight != image->height;
    const int saved = SaveDC(dc);
    if (claimed && cx > 0 && cy > 0 && scx > 0 && scy > 0) {
        IntersectClipRect(dc, x, y, x + cx, y + cy);
        x -= static_cast<int>(static_cast<long long>(sx) * cx / scx);
        y -= static_cast<int>(static_cast<long long>(sy) * cy / scy);
        cx = static_cast<int>(static_cast<long long>(image->width) * cx / scx);
        cy = static_cast<int>(static_cast<long long>(image->height) * cy / scy);
        sx = sy = 0;
        scx = pixels.bmWidth;
        scy = pixels.bmHeight;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, image->bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, cx, cy, memory, sx, sy, scx, scy, rop);
    SelectObject(memory, old);
    DeleteDC(memory);
    RestoreDC(dc, saved);
    return 0;
}

int WINAPI FakeRelease(void* picture) {
    FakeImage* image = static_cast<FakeImage*>(picture);
    DeleteObject(image->bitmap);
    delete image;
    ++FakeLoader::released;
    return 0;
}

HBITMAP Section(int width, int height, DWORD** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    *bits = static_cast<DWORD*>(memory);
    return bitmap;
}

DWORD Word(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF Colour(DWORD w) { return RGB((w >> 16) & 0xFF, (w >> 8) & 0xFF, w & 0xFF); }

}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    bitmap_ = Section(width, height, &bits_);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    for (int i = 0; i < width * height; ++i) bits_[i] = Word(fill);
}

Canvas::~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    return Colour(bits_[static_cast<size_t>(y) * width_ + x]);
}

void Canvas::Set(int x, int y, COLORREF colour) {
    GdiFlush();
    bits_[static_cast<size_t>(y) * width_ + x] = Word(colour);
}

int Canvas::Count(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == colour) ++count;
    return count;
}

int Canvas::CountOther(const RECT& area, COLORREF colour) const {
    return (area.right - area.left) * (area.bottom - area.top) - Count(area, colour);
}

FakeLoader::FakeLoader()
    : load_(pLoadPicture[0]),
      stretch_(pStretchImg[0]),
      release_(pReleaseImg[0]),
      reduced_(pReducedImgSize[0]),
      copy_(pCopyImgPixels[0]) {
    pStretchImg[0] = FakeStretch;
    pReleaseImg[0] = FakeRelease;
    // Pictures of this loader are drawn, like those of a module that only
    // draws.
    pReducedImgSize[0] = nullptr;
    pCopyImgPixels[0] = nullptr;
    released = 0;
}

FakeLoader::~FakeLoader() {
    pLoadPicture[0] = load_;
    pStretchImg[0] = stretch_;
    pReleaseImg[0] = release_;
    pReducedImgSize[0] = reduced_;
    pCopyImgPixels[0] = copy_;
}

s_picture* FakeLoader::Make(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    DWORD* bits = nullptr;
    FakeImage* image = new FakeImage{Section(width, height, &bits), width, height};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits[static_cast<size_t>(y) * width + x] = Word(colour(x, y));
    s_picture* handle = static_cast<s_picture*>(malloc(sizeof(s_picture)));
    handle->module = 0;
    handle->picture = image;
    return handle;
}

COLORREF QuadrantColour(int x, int y, int width, int height) {
    const bool right = x >= width / 2, bottom = y >= height / 2;
    return bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed);
}

s_picture* FakeLoader::Claiming(int width, int height, s_picture* picture) {
    FakeImage* image = static_cast<FakeImage*>(picture->picture);
    image->width = width;
    image->height = height;
    return picture;
}

s_picture* FakeLoader::Quadrants(int width, int height) {
    return Make(width, height, [=](int x, int y) { return QuadrantColour(x, y, width, height); });
}

ShippedSaver::ShippedSaver() {
    module_ = LoadLibraryA((DistFolder() + "\\Tool\\PixOle.dll").c_str());
    pSavePicture = GetProcAddressAs<SavePictureFunction>(module_, KV_EXPORT_SAVEPICTURE);
    pScaleBitmap = GetProcAddressAs<ScaleBitmapFunction>(module_, KV_EXPORT_SCALEBITMAP);
    pScaleRows = GetProcAddressAs<ScaleRowsFunction>(module_, KV_EXPORT_SCALEROWS);
}

ShippedSaver::~ShippedSaver() {
    pSavePicture = nullptr;
    pScaleBitmap = nullptr;
    pScaleRows = nullptr;
    if (module_) FreeLibrary(module_);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

std::string ThisFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}
