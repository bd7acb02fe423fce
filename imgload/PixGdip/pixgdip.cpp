// PixGdip: pictures through the flat GDI+ API. The picture object is a small
// wrapper from the GDI+ allocator holding the native image and its last
// status.
#include <windows.h>

#include "imgload_exports.h"

namespace {

// The few declarations of the flat API this module uses (gdiplus.dll exports).
typedef int GpStatus;
enum { Ok = 0, InvalidParameter = 2 };
enum { UnitPixel = 2 };
struct GpImage;
struct GpGraphics;
struct GpImageAttributes;
typedef BOOL(CALLBACK* DrawImageAbort)(void*);

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
GpStatus WINAPI GdipDisposeImage(GpImage* image);
GpStatus WINAPI GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
GpStatus WINAPI GdipDeleteGraphics(GpGraphics* graphics);
GpStatus WINAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT cx, INT cy, INT sx,
                                       INT sy, INT scx, INT scy, int unit, const GpImageAttributes* attributes,
                                       DrawImageAbort callback, void* callbackData);
}

struct PixImage {
    GpImage* image;
    GpStatus lastStatus;
};

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
    GdipFree(picture);
}

}  // namespace

extern "C" void* WINAPI LoadPicture(SIZE* size, const char* path) {
    if (!size) return nullptr;
    size->cx = size->cy = 0;
    if (!path || !StartGdiplus()) return nullptr;
    WCHAR wide[1000];
    // A path that does not fit is not cut short: it would name another file.
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, 1000)) return nullptr;

    PixImage* picture = static_cast<PixImage*>(GdipAlloc(sizeof(PixImage)));
    if (!picture) return nullptr;
    picture->image = nullptr;
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
    if (!image || !image->image) return InvalidParameter;
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
