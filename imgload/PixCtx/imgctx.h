// The image-context interface of the browser engine's image decoder, declared
// here because the system headers do not carry it.
#pragma once

#include <objbase.h>

typedef void(CALLBACK* ImgCtxCallback)(void* context, void* data);

struct IImgCtx : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Load(LPCWSTR url, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SelectChanges(ULONG changesOn, ULONG changesOff, BOOL signal) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCallback(ImgCtxCallback callback, void* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE Disconnect() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetUpdateRects(RECT* rects, RECT* image, LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStateInfo(ULONG* state, SIZE* size, BOOL clearChanges) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPalette(HPALETTE* palette) = 0;
    virtual HRESULT STDMETHODCALLTYPE Draw(HDC dc, RECT* bounds) = 0;
    virtual HRESULT STDMETHODCALLTYPE Tile(HDC dc, POINT* origin, RECT* clip, SIZE* size) = 0;
    virtual HRESULT STDMETHODCALLTYPE StretchBlt(HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                                 DWORD rop) = 0;
};

// State bits of GetStateInfo that end the wait.
enum : ULONG {
    IMGLOAD_COMPLETE = 0x01000000,
    IMGLOAD_STOPPED = 0x00400000,
    IMGLOAD_ERROR = 0x00800000,
};

// {3050F3D6-98B5-11CF-BB82-00AA00BDCE0B}, {3050F3D7-98B5-11CF-BB82-00AA00BDCE0B}
const CLSID CLSID_KvImgCtx = {0x3050F3D6, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const IID IID_KvImgCtx = {0x3050F3D7, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
