// A stand-in loader module for slot FAKE_SLOT: it makes no pictures of its
// own, only records what the host hands it. Every fake exports all five
// functions, so the tests see which ones the host binds from which slot.
#include <windows.h>

#include <cstring>

#include "fake_loader.h"
#include "imgload_exports.h"

namespace {
FakeLoaderState state;
char picture[1];  // any address unique to this module
}  // namespace

extern "C" __declspec(dllexport) FakeLoaderState* __cdecl FakeState() { return &state; }

extern "C" void* WINAPI LoadPicture(SIZE* size, const char* path) {
    ++state.loads;
    lstrcpynA(state.lastPath, path, sizeof state.lastPath);
    size->cx = size->cy = 0;
    if (!state.accept[0] || !strstr(path, state.accept)) return nullptr;
    *size = state.size;
    return picture;
}

extern "C" int WINAPI StretchImg(void* drawn, HDC, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                 DWORD rop) {
    ++state.draws;
    state.lastDrawn = drawn;
    state.lastTarget = RECT{x, y, cx, cy};
    state.lastSource = RECT{sx, sy, scx, scy};
    state.lastRop = rop;
    return 0;
}

extern "C" int WINAPI ReleaseImg(void* released) {
    ++state.releases;
    state.lastReleased = released;
    return 0;
}

extern "C" int WINAPI SavePicture(const char*, HBITMAP) { return 100 + FAKE_SLOT; }

extern "C" HBITMAP WINAPI ScaleBitmap(HBITMAP, int*, int*, const char*) { return nullptr; }

// The order in which the host frees the modules, as digits.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) {
        char order[16] = "";
        GetEnvironmentVariableA("FAKE_UNLOAD_ORDER", order, sizeof order - 2);
        const char digit[2] = {static_cast<char>('0' + FAKE_SLOT), 0};
        lstrcatA(order, digit);
        SetEnvironmentVariableA("FAKE_UNLOAD_ORDER", order);
    }
    return TRUE;
}
