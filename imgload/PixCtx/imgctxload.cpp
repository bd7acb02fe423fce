#include "imgctxload.h"

#include <cstring>

#include "scopedwin.h"
#include "searchandpast.h"

char* EscapePercent(const char* path) {
    if (!path) return nullptr;
    return SearchAndPast(_strdup(path), "%", "%25");
}

IImgCtx* LoadImgCtxPicture(SIZE* size, const char* path, ImgCtxFactory factory) {
    if (!size) return nullptr;
    size->cx = size->cy = 0;
    if (!path) return nullptr;
    HeapString url(EscapePercent(path));
    if (!url) return nullptr;
    IImgCtx* picture = factory();
    if (!picture) return nullptr;

    WCHAR wide[1000];
    // A URL that does not fit is refused rather than cut into another one.
    bool loaded = MultiByteToWideChar(CP_ACP, 0, url.get(), -1, wide, 1000) != 0 &&
                  SUCCEEDED(picture->Load(wide, 0));
    if (loaded) {
        // The decoder works in the background (a remote URL downloads first);
        // the caller wants the finished picture, so wait for it.
        for (;;) {
            ULONG state = 0;
            if (FAILED(picture->GetStateInfo(&state, size, TRUE))) break;
            if (state & (IMGLOAD_COMPLETE | IMGLOAD_STOPPED | IMGLOAD_ERROR)) break;
            Sleep(50);
        }
        // A decoder that stopped early may still have a drawable picture.
        if (size->cx > 0 && size->cy > 0) return picture;
    }
    size->cx = size->cy = 0;
    picture->Release();
    return nullptr;
}
