// PixOle: pictures through the system's OLE picture support (BMP, JPEG, GIF,
// ICO, WMF, EMF without GDI+ or the browser engine). The picture object keeps
// the OLE picture with its size in pixels and in HIMETRIC, because OLE draws
// from HIMETRIC source rectangles while the host speaks pixels.
#include <windows.h>
#include <olectl.h>

#include <memory>
#include <new>

#include "imgload_exports.h"
#include "scopedwin.h"

namespace {

struct OlePicture {
    IPicture* picture;
    SIZE pixels;
    OLE_XSIZE_HIMETRIC himetricWidth;
    OLE_YSIZE_HIMETRIC himetricHeight;
};

// The file in a movable global block, as OleLoadPicture wants it.
IStream* OpenFileStream(const char* path) {
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file.valid()) return nullptr;
    DWORD high = 0;
    DWORD size = GetFileSize(file.get(), &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size == 0) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return nullptr;
    void* bytes = GlobalLock(block);
    DWORD read = 0;
    bool ok = bytes && ReadFile(file.get(), bytes, size, &read, nullptr) && read == size;
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (!ok || FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    return stream;
}

SIZE PixelSize(IPicture* picture, OLE_XSIZE_HIMETRIC himetricWidth, OLE_YSIZE_HIMETRIC himetricHeight) {
    SHORT type = PICTYPE_UNINITIALIZED;
    picture->get_Type(&type);
    if (type == PICTYPE_BITMAP) {
        // A bitmap knows its pixels; going through HIMETRIC could be off by one.
        // The handle comes as 32 bits and widens with its sign on x64.
        OLE_HANDLE handle = 0;
        BITMAP bitmap;
        if (SUCCEEDED(picture->get_Handle(&handle)) &&
            GetObjectA(reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle))), sizeof bitmap,
                       &bitmap))
            return SIZE{bitmap.bmWidth, bitmap.bmHeight < 0 ? -bitmap.bmHeight : bitmap.bmHeight};
    }
    ScopedGetDC screen(nullptr);
    return SIZE{MulDiv(himetricWidth, GetDeviceCaps(screen, LOGPIXELSX), 2540),
                MulDiv(himetricHeight, GetDeviceCaps(screen, LOGPIXELSY), 2540)};
}

}  // namespace

extern "C" void* WINAPI LoadPicture(SIZE* size, const char* path) {
    if (!size) return nullptr;
    size->cx = size->cy = 0;
    if (!path) return nullptr;
    IStream* stream = OpenFileStream(path);
    if (!stream) return nullptr;
    IPicture* picture = nullptr;
    HRESULT result = OleLoadPicture(stream, 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(result) || !picture) return nullptr;

    std::unique_ptr<OlePicture> loaded(new (std::nothrow) OlePicture{picture, {0, 0}, 0, 0});
    if (!loaded) {
        picture->Release();
        return nullptr;
    }
    picture->get_Width(&loaded->himetricWidth);
    picture->get_Height(&loaded->himetricHeight);
    loaded->pixels = PixelSize(picture, loaded->himetricWidth, loaded->himetricHeight);
    if (loaded->pixels.cx <= 0 || loaded->pixels.cy <= 0 || loaded->himetricWidth <= 0 || loaded->himetricHeight <= 0) {
        picture->Release();
        return nullptr;
    }
    *size = loaded->pixels;
    return loaded.release();
}

// rop is ignored, as in the GDI+ loader: OLE pictures always copy.
extern "C" int WINAPI StretchImg(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                 DWORD) {
    const OlePicture* loaded = static_cast<const OlePicture*>(picture);
    if (!loaded) return E_POINTER;
    // HIMETRIC runs bottom-up: the source's top edge is the larger value and
    // its height is negative.
    const OLE_XPOS_HIMETRIC xSource = MulDiv(sx, loaded->himetricWidth, loaded->pixels.cx);
    const OLE_YPOS_HIMETRIC ySource = loaded->himetricHeight - MulDiv(sy, loaded->himetricHeight, loaded->pixels.cy);
    const OLE_XSIZE_HIMETRIC cxSource = MulDiv(scx, loaded->himetricWidth, loaded->pixels.cx);
    const OLE_YSIZE_HIMETRIC cySource = -MulDiv(scy, loaded->himetricHeight, loaded->pixels.cy);
    // Reduced pictures average their pixels instead of dropping rows.
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin;
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    HRESULT result = loaded->picture->Render(dc, x, y, cx, cy, xSource, ySource, cxSource, cySource, nullptr);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode) SetStretchBltMode(dc, oldMode);
    return result;
}

extern "C" int WINAPI ReleaseImg(void* picture) {
    OlePicture* loaded = static_cast<OlePicture*>(picture);
    if (!loaded) return 0;
    loaded->picture->Release();
    delete loaded;
    return 0;
}
