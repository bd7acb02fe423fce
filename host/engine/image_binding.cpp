#include "engine/image_binding.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/globals.h"
#include "base/skipped_modules.h"
#include "createpathfile.h"
#include "dib_section.h"
#include "ids_lists.h"
#include "kvinifunction.h"
#include "procaddress.h"
#include "scopedwin.h"

HMODULE hPixGdipDllFunc;
HMODULE hPixCtxDllFunc;
HMODULE hPixOleDllFunc;
LoadPictureFunction pLoadPicture[KV_SLOTS];
StretchImgFunction pStretchImg[KV_SLOTS];
ReleaseImgFunction pReleaseImg[KV_SLOTS];
ReducedImgSizeFunction pReducedImgSize[KV_SLOTS];
CopyImgPixelsFunction pCopyImgPixels[KV_SLOTS];
ScaleBitmapFunction pScaleBitmap;
SavePictureFunction pSavePicture;
ScaleRowsFunction pScaleRows;

namespace {

HMODULE LoadToolModule(const char* file) {
    HeapString path(CreatePathFile("Tool", file, nullptr));
    return path && ModuleOfOwnKind(path.get()) ? LoadLibraryA(path.get()) : nullptr;
}

void BindSlot(int slot, HMODULE module) {
    pLoadPicture[slot] = GetProcAddressAs<LoadPictureFunction>(module, KV_EXPORT_LOADPICTURE);
    pStretchImg[slot] = GetProcAddressAs<StretchImgFunction>(module, KV_EXPORT_STRETCHIMG);
    pReleaseImg[slot] = GetProcAddressAs<ReleaseImgFunction>(module, KV_EXPORT_RELEASEIMG);
    pReducedImgSize[slot] = GetProcAddressAs<ReducedImgSizeFunction>(module, KV_EXPORT_REDUCEDIMGSIZE);
    pCopyImgPixels[slot] = GetProcAddressAs<CopyImgPixelsFunction>(module, KV_EXPORT_COPYIMGPIXELS);
}

void FreeSlot(int slot, HMODULE& module) {
    pLoadPicture[slot] = nullptr;
    pStretchImg[slot] = nullptr;
    pReleaseImg[slot] = nullptr;
    pReducedImgSize[slot] = nullptr;
    pCopyImgPixels[slot] = nullptr;
    if (module) FreeLibrary(module);
    module = nullptr;
}

bool ValidSlot(const s_picture* handle) { return handle->module >= 0 && handle->module < KV_SLOTS; }

}  // namespace

void hMyDllFuncInit() {
    FreeImageModules();
    // A module whose own dependencies are missing must fail quietly, not
    // with a system message box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    hPixOleDllFunc = LoadToolModule("PixOle.dll");
    if (hPixOleDllFunc) {
        pScaleBitmap = GetProcAddressAs<ScaleBitmapFunction>(hPixOleDllFunc, KV_EXPORT_SCALEBITMAP);
        pSavePicture = GetProcAddressAs<SavePictureFunction>(hPixOleDllFunc, KV_EXPORT_SAVEPICTURE);
        pScaleRows = GetProcAddressAs<ScaleRowsFunction>(hPixOleDllFunc, KV_EXPORT_SCALEROWS);
        BindSlot(KV_SLOT_OLE, hPixOleDllFunc);
    }

    // PixGdip needs GDI+, which older systems lack; loading gdiplus.dll once
    // tells whether it is there.
    if (HMODULE gdiplus = LoadLibraryA("gdiplus.dll")) {
        FreeLibrary(gdiplus);
        hPixGdipDllFunc = LoadToolModule("PixGdip.dll");
        if (hPixGdipDllFunc) BindSlot(KV_SLOT_GDIP, hPixGdipDllFunc);
    }

    hPixCtxDllFunc = LoadToolModule("PixCtx.dll");
    if (hPixCtxDllFunc) BindSlot(KV_SLOT_CTX, hPixCtxDllFunc);

    SetErrorMode(oldMode);
}

void FreeImageModules() {
    pScaleBitmap = nullptr;
    pSavePicture = nullptr;
    pScaleRows = nullptr;
    FreeSlot(KV_SLOT_OLE, hPixOleDllFunc);
    FreeSlot(KV_SLOT_CTX, hPixCtxDllFunc);
    FreeSlot(KV_SLOT_GDIP, hPixGdipDllFunc);
}

s_picture* tLoadPicture(SIZE* size, const char* path) {
    SIZE unused;
    if (!size) size = &unused;
    size->cx = size->cy = 0;
    if (!path) return nullptr;
    HeapString expanded(ExpandEnvStr(path));
    if (!expanded) return nullptr;
    const bool url = strstr(expanded.get(), "ftp://") || strstr(path, "http://");
    if (!url) {
        // A missing file (a list entry on a removed disk, a file migrated to
        // tape) is refused here rather than by each module in turn.
        const DWORD attributes = GetFileAttributesA(expanded.get());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_OFFLINE)) return nullptr;
    }
    s_picture* handle = static_cast<s_picture*>(malloc(sizeof(s_picture)));
    if (!handle) return nullptr;
    handle->module = -1;
    handle->picture = nullptr;
    for (int slot = 0; slot < KV_SLOTS; ++slot) {
        if (!pLoadPicture[slot]) continue;
        handle->picture = pLoadPicture[slot](size, expanded.get());
        if (handle->picture) {
            handle->module = slot;
            return handle;
        }
    }
    free(handle);
    return nullptr;
}

int tStretchImg(s_picture* handle, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy, DWORD rop) {
    if (!handle || !ValidSlot(handle) || !pStretchImg[handle->module]) return 0;
    return pStretchImg[handle->module](handle->picture, dc, x, y, cx, cy, sx, sy, scx, scy, rop);
}

bool tReducedImgSize(s_picture* handle, int denominator, SIZE* size) {
    if (!handle || !size || !ValidSlot(handle) || !pReducedImgSize[handle->module]) return false;
    return pReducedImgSize[handle->module](handle->picture, denominator, size) != FALSE;
}

bool tCopyImgPixels(s_picture* handle, int denominator, int x, int y, int width, int height, void* bits, int stride) {
    if (!handle || !ValidSlot(handle) || !pCopyImgPixels[handle->module]) return false;
    return pCopyImgPixels[handle->module](handle->picture, denominator, x, y, width, height, bits, stride) == 0;
}

void tReleaseImg(s_picture* handle) {
    if (!handle) return;
    if (ValidSlot(handle) && pReleaseImg[handle->module]) pReleaseImg[handle->module](handle->picture);
    free(handle);
}

HBITMAP CreateBit(HDC dc, int* width, int* height) {
    if (!width || !height || *width <= 0 || *height <= 0) return nullptr;
    // The DC only matters for palette colours, which a 32-bit section has none of.
    (void)dc;
    return CreateDibSection32(*width, *height, false, nullptr);
}

HBITMAP ImgToBmp(s_picture* handle, SIZE* pictureSize, SIZE* targetSize, int frame, COLORREF frameColour, int border) {
    if (!pictureSize) return nullptr;
    int width = targetSize ? targetSize->cx : pictureSize->cx;
    int height = targetSize ? targetSize->cy : pictureSize->cy;
    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateBit(screen, &width, &height);
    if (!bitmap) return nullptr;
    ScopedMemoryDC memory(screen);
    if (!memory) {
        DeleteObject(bitmap);
        return nullptr;
    }
    {
        ScopedSelectObject select(memory, bitmap);
        // A frame as wide as half the bitmap leaves no room for the picture;
        // the height counts too, or a wide, flat target would get a picture
        // of negative height.
        if (border < 0 || border >= width / 2 || border >= height / 2) border = 0;
        if (border == 0) frame = 0;
        COLORREF fill = 0xFFFFFF;
        if (frame == 0) border = 0;
        else fill = frameColour;
        RECT all = {0, 0, width, height};
        SetBkColor(memory, fill);
        ExtTextOutA(memory, 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
        tStretchImg(handle, memory, border, border, width - 2 * border, height - 2 * border, 0, 0, pictureSize->cx,
                    pictureSize->cy, SRCCOPY);
    }
    return bitmap;
}

void ConvertToSmallhBitmap(HWND window, HBITMAP* slot, s_picture* handle, SIZE* pictureSize, int showSize) {
    if (slot && *slot) {
        DeleteObject(*slot);
        *slot = nullptr;
    }
    if (handle) {
        // An empty picture size has no shape to fit; it only gets released.
        if (slot && pictureSize && pictureSize->cx > 0 && pictureSize->cy > 0) {
            RECT client = {};
            GetClientRect(window, &client);
            double scale = static_cast<double>(client.bottom) / pictureSize->cy;
            const double across = static_cast<double>(client.right) / pictureSize->cx;
            if (across < scale) scale = across;
            if (showSize == 0 && scale > 1.0) scale = 1.0;
            if (showSize == 1) {
                char text[64];
                snprintf(text, sizeof text, "%d x %d", static_cast<int>(pictureSize->cx),
                         static_cast<int>(pictureSize->cy));
                SetDlgItemTextA(hFile, IDPICSIZE, text);
            }
            SIZE target = {static_cast<LONG>(pictureSize->cx * scale), static_cast<LONG>(pictureSize->cy * scale)};
            *slot = ImgToBmp(handle, pictureSize, &target, 0, 1, 0);
        }
        tReleaseImg(handle);
    }
    // Hidden and shown again so it repaints with the new bitmap; a hidden
    // window paints when it is shown anyway.
    if (window && IsWindowVisible(window)) {
        ShowWindow(window, SW_HIDE);
        ShowWindow(window, SW_SHOW);
    }
}
