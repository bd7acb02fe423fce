// PixCtx: pictures through the browser engine's image-context object. The
// picture object is the interface pointer itself. The caller's thread must
// have initialised COM.
#include <windows.h>

#include "imgctxload.h"
#include "imgload_exports.h"

namespace {

IImgCtx* CreateImgCtx() {
    IImgCtx* object = nullptr;
    if (FAILED(CoCreateInstance(CLSID_KvImgCtx, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                IID_KvImgCtx, reinterpret_cast<void**>(&object))))
        return nullptr;
    return object;
}

}  // namespace

extern "C" void* WINAPI LoadPicture(SIZE* size, const char* path) { return LoadImgCtxPicture(size, path, CreateImgCtx); }

extern "C" int WINAPI StretchImg(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                 DWORD rop) {
    if (!picture) return E_POINTER;
    return static_cast<IImgCtx*>(picture)->StretchBlt(dc, x, y, cx, cy, sx, sy, scx, scy, rop);
}

// Returns the remaining reference count.
extern "C" int WINAPI ReleaseImg(void* picture) {
    if (!picture) return 0;
    return static_cast<int>(static_cast<IImgCtx*>(picture)->Release());
}
