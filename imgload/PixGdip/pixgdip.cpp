// PixGdip: pictures through the flat GDI+ API, JPEGs through the system's
// imaging component where it is there. The picture object is a small
// wrapper from the GDI+ allocator holding the native image and its last
// status, or the imaging component's decoder for a JPEG.
//
// A JPEG is not handed to GDI+ where the component reads it: GDI+ keeps the
// whole picture decoded (twice over, under Wine), where the component hands
// out bands, and on Vista and later decodes a picture to be shown much
// smaller at 1/2, 1/4 or 1/8 of its size.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include "dib_section.h"
#include "imgload_exports.h"
#include "wicpicture.h"

namespace {

// The few declarations of the flat API this module uses (gdiplus.dll exports).
typedef int GpStatus;
enum { Ok = 0, GenericError = 1, InvalidParameter = 2, OutOfMemory = 3 };
enum { UnitPixel = 2 };
enum { ImageTypeBitmap = 1 };
enum { ImageFlagsHasAlpha = 0x2, ImageFlagsHasTranslucent = 0x4 };
enum { ImageLockModeRead = 1, ImageLockModeUserInputBuf = 4 };
enum { CombineModeReplace = 0 };
enum { PixelFormatIndexed = 0x00010000, PixelFormatAlpha = 0x00040000, PixelFormatPAlpha = 0x00080000 };
typedef int PixelFormat;
const PixelFormat PixelFormat32bppRGB = 0x00022009;
const PixelFormat PixelFormat32bppPARGB = 0x000E200B;
struct GpImage;
struct GpBitmap;
struct GpGraphics;
struct GpImageAttributes;
typedef BOOL(CALLBACK* DrawImageAbort)(void*);
struct GpRect {
    INT X, Y, Width, Height;
};
struct BitmapData {
    UINT Width;
    UINT Height;
    INT Stride;
    PixelFormat Format;
    void* Scan0;
    UINT_PTR Reserved;
};

struct GdiplusStartupInput {
    UINT32 GdiplusVersion;
    void* DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};

extern "C" {
GpStatus WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, void* output);
void* WINAPI GdipAlloc(size_t size);
void WINAPI GdipFree(void* block);
GpStatus WINAPI GdipLoadImageFromFile(const WCHAR* file, GpImage** image);
GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus WINAPI GdipGetImageType(GpImage* image, int* type);
GpStatus WINAPI GdipGetImageFlags(GpImage* image, UINT* flags);
GpStatus WINAPI GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
GpStatus WINAPI GdipDisposeImage(GpImage* image);
GpStatus WINAPI GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                                   BitmapData* data);
GpStatus WINAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data);
GpStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                          GpBitmap** bitmap);
GpStatus WINAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
GpStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics);
GpStatus WINAPI GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, int combineMode);
GpStatus WINAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT cx, INT cy, INT sx,
                                       INT sy, INT scx, INT scy, int unit, const GpImageAttributes* attributes,
                                       DrawImageAbort callback, void* callbackData);
GpStatus WINAPI GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, float x, float y, float cx, float cy,
                                      float sx, float sy, float scx, float scy, int unit,
                                      const GpImageAttributes* attributes, DrawImageAbort callback,
                                      void* callbackData);
}

struct PixImage {
    GpImage* image;  // null for a picture the imaging component decodes
    GpStatus lastStatus;
    WicPicture* wic;
};

// Source pixels decoded at a time when a component-decoded picture is drawn.
const size_t kDrawBandBytes = 8 * 1024 * 1024;

// Started on the first load and never shut down: pictures may outlive any
// point where shutting down would be safe, and a DLL must not do it at unload.
ULONG_PTR gdiplusToken;

bool StartGdiplus() {
    if (gdiplusToken) return true;
    GdiplusStartupInput input = {1, nullptr, FALSE, FALSE};
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) return false;
    gdiplusToken = token;
    // GDI+ keeps a thread of its own running; the host frees this module at
    // exit, and gdiplus.dll must not be unloaded from under that thread.
    LoadLibraryA("gdiplus.dll");
    return true;
}

void DisposePixImage(PixImage* picture) {
    if (picture->image) GdipDisposeImage(picture->image);
    delete picture->wic;
    GdipFree(picture);
}

PixImage* NewPixImage() {
    PixImage* picture = static_cast<PixImage*>(GdipAlloc(sizeof(PixImage)));
    if (picture) *picture = {nullptr, Ok, nullptr};
    return picture;
}

SIZE ImageSize(GpImage* image) {
    UINT width = 0, height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

bool IsGdipBitmap(GpImage* image) {
    int type = 0;
    return image && GdipGetImageType(image, &type) == Ok && type == ImageTypeBitmap;
}

// A mirrored drawing (negative sizes), rare: the source rectangle decoded
// whole and left to GDI+.
GpStatus DrawWicMirrored(const WicPicture& wic, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx,
                         int scy) {
    const SIZE full = wic.size();
    const int left = std::max(0, std::min(sx, sx + scx)), right = std::min<int>(full.cx, std::max(sx, sx + scx));
    const int top = std::max(0, std::min(sy, sy + scy)), bottom = std::min<int>(full.cy, std::max(sy, sy + scy));
    if (left >= right || top >= bottom) return Ok;
    const int width = right - left, height = bottom - top;
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[static_cast<size_t>(width) * 4 * height]);
    if (!pixels) return OutOfMemory;
    if (FAILED(wic.Copy(1, left, top, width, height, pixels.get(), width * 4))) return GenericError;
    GpBitmap* bitmap = nullptr;
    GpStatus status = GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB, pixels.get(), &bitmap);
    if (status != Ok) return status;
    GpGraphics* graphics = nullptr;
    status = GdipCreateFromHDC(dc, &graphics);
    if (status == Ok) {
        status = GdipDrawImageRectRectI(graphics, reinterpret_cast<GpImage*>(bitmap), x, y, cx, cy, sx - left,
                                        sy - top, scx, scy, UnitPixel, nullptr, nullptr, nullptr);
        GdipDeleteGraphics(graphics);
    }
    GdipDisposeImage(reinterpret_cast<GpImage*>(bitmap));
    return status;
}

// A component-decoded picture drawn as GDI+ would draw it: the part of the
// source that shows is decoded (reduced where the drawing shrinks it at
// least as much), wrapped as a GDI+ bitmap and drawn in bands of
// destination rows, each clipped to its rows so band edges never show.
GpStatus DrawWic(const WicPicture& wic, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy) {
    if (cx == 0 || cy == 0 || scx == 0 || scy == 0) return Ok;
    if (cx < 0 || cy < 0 || scx < 0 || scy < 0) return DrawWicMirrored(wic, dc, x, y, cx, cy, sx, sy, scx, scy);
    const SIZE full = wic.size();
    RECT visible = {x, y, x + cx, y + cy};
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&visible, &visible, &clip)) return Ok;
    const int denominator = wic.ReductionFor(scx, scy, cx, cy);
    SIZE reduced = full;
    wic.ReducedSize(denominator, &reduced);
    // The source rectangle in reduced pixels, and how one destination pixel
    // maps onto it.
    const double across = static_cast<double>(reduced.cx) / full.cx, down = static_cast<double>(reduced.cy) / full.cy;
    const double fx = sx * across, fy = sy * down, fcx = scx * across, fcy = scy * down;
    const bool oneToOne = denominator == 1 && cx == scx && cy == scy;
    // Pixels beside the part that shows, for the interpolation at its edges.
    const int margin = oneToOne ? 0 : 2;

    GpGraphics* graphics = nullptr;
    GpStatus status = GdipCreateFromHDC(dc, &graphics);
    if (status != Ok) return status;
    const auto sourceAt = [&](double destination, double origin, double from, double length, double size) {
        return from + (destination - origin) * length / size;
    };
    const int left =
        std::max(0, static_cast<int>(std::floor(sourceAt(visible.left, x, fx, fcx, cx))) - margin);
    const int right = std::min(static_cast<int>(reduced.cx),
                               static_cast<int>(std::ceil(sourceAt(visible.right, x, fx, fcx, cx))) + margin);
    if (left >= right) {
        GdipDeleteGraphics(graphics);
        return Ok;
    }
    const double sourceRowsPerRow = std::max(1.0, fcy / cy);
    const size_t rowBytes = static_cast<size_t>(right - left) * 4;
    const int bandRows = std::max(1, static_cast<int>(kDrawBandBytes / rowBytes / sourceRowsPerRow));
    std::unique_ptr<BYTE[]> pixels;
    size_t capacity = 0;
    for (int from = visible.top; from < visible.bottom && status == Ok; from += bandRows) {
        const int to = std::min(static_cast<int>(visible.bottom), from + bandRows);
        const int top = std::max(0, static_cast<int>(std::floor(sourceAt(from, y, fy, fcy, cy))) - margin);
        const int bottom =
            std::min(static_cast<int>(reduced.cy), static_cast<int>(std::ceil(sourceAt(to, y, fy, fcy, cy))) + margin);
        if (top >= bottom) continue;
        const int width = right - left, height = bottom - top;
        const size_t bytes = static_cast<size_t>(width) * 4 * height;
        if (bytes > capacity) {
            pixels.reset(new (std::nothrow) BYTE[bytes]);
            capacity = pixels ? bytes : 0;
            if (!pixels) {
                status = OutOfMemory;
                break;
            }
        }
        if (FAILED(wic.Copy(denominator, left, top, width, height, pixels.get(), width * 4))) {
            status = GenericError;
            break;
        }
        GpBitmap* bitmap = nullptr;
        status = GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB, pixels.get(), &bitmap);
        if (status != Ok) break;
        GdipSetClipRectI(graphics, visible.left, from, visible.right - visible.left, to - from, CombineModeReplace);
        // The decoded part placed where it lies in the whole drawing.
        const double destinationX = x + (left - fx) * cx / fcx, destinationY = y + (top - fy) * cy / fcy;
        status = GdipDrawImageRectRect(graphics, reinterpret_cast<GpImage*>(bitmap), static_cast<float>(destinationX),
                                       static_cast<float>(destinationY), static_cast<float>(width * cx / fcx),
                                       static_cast<float>(height * cy / fcy), 0.0f, 0.0f, static_cast<float>(width),
                                       static_cast<float>(height), UnitPixel, nullptr, nullptr, nullptr);
        GdipDisposeImage(reinterpret_cast<GpImage*>(bitmap));
    }
    GdipDeleteGraphics(graphics);
    return status;
}

// Pixels of the picture at 1/denominator into the caller's 32-bit memory.
// GDI+ bitmaps are locked with that memory as the buffer: the pixels are
// converted straight into it, with no drawing and no copy of the whole.
GpStatus CopyPixels(PixImage* image, int denominator, int x, int y, int width, int height, void* bits, int stride) {
    if (!image || !bits || width <= 0 || height <= 0 || x < 0 || y < 0) return InvalidParameter;
    if (image->wic)
        return SUCCEEDED(image->wic->Copy(denominator, x, y, width, height, static_cast<BYTE*>(bits), stride))
                   ? Ok
                   : GenericError;
    if (denominator != 1 || !IsGdipBitmap(image->image)) return InvalidParameter;
    UINT flags = 0;
    GdipGetImageFlags(image->image, &flags);
    // Premultiplied, a transparent pixel comes out as drawn on black.
    const PixelFormat format =
        flags & (ImageFlagsHasAlpha | ImageFlagsHasTranslucent) ? PixelFormat32bppPARGB : PixelFormat32bppRGB;
    const GpRect rect = {x, y, width, height};
    BitmapData data = {static_cast<UINT>(width), static_cast<UINT>(height), stride, format, bits, 0};
    GpBitmap* bitmap = reinterpret_cast<GpBitmap*>(image->image);
    GpStatus status = GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead | ImageLockModeUserInputBuf, format, &data);
    if (status == Ok) status = GdipBitmapUnlockBits(bitmap, &data);
    return status;
}

// Depth of what dc draws on: the bitmap selected into a memory context (its
// device's caps would tell the screen's), else the device's.
int BitsPerPixel(HDC dc) {
    BITMAP bitmap = {};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
    if (selected && GetObjectA(selected, sizeof bitmap, &bitmap) && (bitmap.bmWidth > 1 || bitmap.bmHeight > 1))
        return bitmap.bmBitsPixel * bitmap.bmPlanes;
    return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
}

// A picture with no transparency, which a plain copy draws as GDI+ would.
bool IsOpaque(const PixImage* image) {
    if (image->wic) return true;
    if (!IsGdipBitmap(image->image)) return false;
    UINT flags = 0;
    PixelFormat format = 0;
    if (GdipGetImageFlags(image->image, &flags) != Ok || GdipGetImagePixelFormat(image->image, &format) != Ok)
        return false;
    return !(flags & (ImageFlagsHasAlpha | ImageFlagsHasTranslucent)) &&
           !(format & (PixelFormatIndexed | PixelFormatAlpha | PixelFormatPAlpha));
}

// A 1:1 drawing of an opaque picture into a true-colour context: the part
// that shows is decoded straight into a small section, band by band, and
// copied into place; no GDI+ graphics object. False when it cannot be done
// so (the caller then draws through GDI+).
bool DrawOneToOne(PixImage* image, HDC dc, int x, int y, int width, int height, int sx, int sy, SIZE size) {
    if (BitsPerPixel(dc) < 24 || !IsOpaque(image)) return false;
    // What lies outside the picture is left alone, as GDI+ leaves it.
    RECT visible = {x + std::max(0, -sx), y + std::max(0, -sy), x + std::min(width, static_cast<int>(size.cx) - sx),
                    y + std::min(height, static_cast<int>(size.cy) - sy)};
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&visible, &visible, &clip)) return true;
    if (visible.left >= visible.right || visible.top >= visible.bottom) return true;
    const int columns = visible.right - visible.left;
    const int bandRows =
        std::max(1, std::min(static_cast<int>(visible.bottom - visible.top),
                             static_cast<int>(kDrawBandBytes / (static_cast<size_t>(columns) * 4))));
    void* bits = nullptr;
    HBITMAP band = CreateDibSection32(columns, bandRows, true, &bits);
    if (!band) return false;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = memory ? SelectObject(memory, band) : nullptr;
    bool drawn = memory != nullptr;
    for (int top = visible.top; drawn && top < visible.bottom; top += bandRows) {
        const int rows = std::min(bandRows, static_cast<int>(visible.bottom) - top);
        GdiFlush();
        drawn = CopyPixels(image, 1, sx + visible.left - x, sy + top - y, columns, rows, bits, columns * 4) == Ok &&
                BitBlt(dc, visible.left, top, columns, rows, memory, 0, 0, SRCCOPY);
    }
    if (memory) {
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DeleteObject(band);
    return drawn;
}

}  // namespace

extern "C" void* WINAPI LoadPicture(SIZE* size, const char* path) {
    if (!size) return nullptr;
    size->cx = size->cy = 0;
    if (!path || !StartGdiplus()) return nullptr;
    WCHAR wide[1000];
    // A path that does not fit is not cut short: it would name another file.
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 1000)) return nullptr;

    PixImage* picture = NewPixImage();
    if (!picture) return nullptr;
    picture->wic = WicPicture::OpenJpeg(wide);
    if (picture->wic) {
        *size = picture->wic->size();
        return picture;
    }
    picture->lastStatus = GdipLoadImageFromFile(wide, &picture->image);
    UINT width = 0, height = 0;
    if (picture->lastStatus == Ok) {
        GdipGetImageWidth(picture->image, &width);
        GdipGetImageHeight(picture->image, &height);
    }
    size->cx = static_cast<LONG>(width);
    size->cy = static_cast<LONG>(height);
    if (size->cx <= 0 || size->cy <= 0) {
        size->cx = size->cy = 0;
        DisposePixImage(picture);
        return nullptr;
    }
    return picture;
}

// rop is ignored: GDI+ always copies.
extern "C" int WINAPI StretchImg(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                 DWORD) {
    PixImage* image = static_cast<PixImage*>(picture);
    if (!image || (!image->image && !image->wic)) return InvalidParameter;
    if (cx == scx && cy == scy && cx > 0 && cy > 0 &&
        DrawOneToOne(image, dc, x, y, cx, cy, sx, sy, image->wic ? image->wic->size() : ImageSize(image->image)))
        return image->lastStatus = Ok;
    if (image->wic) return image->lastStatus = DrawWic(*image->wic, dc, x, y, cx, cy, sx, sy, scx, scy);
    GpGraphics* graphics = nullptr;
    GpStatus status = GdipCreateFromHDC(dc, &graphics);
    if (status == Ok) {
        status = GdipDrawImageRectRectI(graphics, image->image, x, y, cx, cy, sx, sy, scx, scy, UnitPixel, nullptr,
                                        nullptr, nullptr);
        GdipDeleteGraphics(graphics);
    }
    image->lastStatus = status;
    return status;
}

extern "C" int WINAPI ReleaseImg(void* picture) {
    if (picture) DisposePixImage(static_cast<PixImage*>(picture));
    return 0;
}

extern "C" BOOL WINAPI ReducedImgSize(void* picture, int denominator, SIZE* size) {
    const PixImage* image = static_cast<const PixImage*>(picture);
    if (!image || !size) return FALSE;
    if (image->wic) return image->wic->ReducedSize(denominator, size);
    if (denominator != 1 || !IsGdipBitmap(image->image)) return FALSE;
    UINT width = 0, height = 0;
    GdipGetImageWidth(image->image, &width);
    GdipGetImageHeight(image->image, &height);
    *size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return TRUE;
}

extern "C" int WINAPI CopyImgPixels(void* picture, int denominator, int x, int y, int width, int height, void* bits,
                                    int stride) {
    return CopyPixels(static_cast<PixImage*>(picture), denominator, x, y, width, height, bits, stride);
}
