#include "engine/logon_wallpaper.h"

#include <vector>

#include "base/control_values.h"
#include "base/globals.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/wall_lists.h"
#include "ids_wall.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "wow64.h"

namespace {

// The logon screen's settings, which the system reads in its own registry
// view (NativeRegistryView), whichever kind this program is.
const char kDefaultDesktop[] = ".DEFAULT\\Control Panel\\Desktop";

void SetString(HKEY key, const char* name, const char* value) {
    // Written with the terminating zero; errors are not the user's concern.
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(lstrlenA(value) + 1));
}

}  // namespace

std::string ReadLogonWallpaper() {
    // Read whole: a path longer than the settings store's 127 characters
    // must still compare equal to itself.
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_USERS, kDefaultDesktop, 0, KEY_READ | NativeRegistryView(), key.receive()) !=
        ERROR_SUCCESS)
        return "";
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), "Wallpaper", nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !size) return "";
    std::vector<char> value(size + 1, '\0');
    if (RegQueryValueExA(key.get(), "Wallpaper", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return "";
    return value.data();
}

void WriteLogonWallpaper(const char* path) {
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_USERS, kDefaultDesktop, 0, nullptr, 0, KEY_SET_VALUE | NativeRegistryView(), nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS)
        return;
    SetString(key.get(), "TileWallpaper", "0");
    SetString(key.get(), "WallpaperStyle", "2");
    SetString(key.get(), "Wallpaper", path ? path : "");
}

int PrelogEntryFor(const std::string& value, const std::string& composed, const std::string& copy) {
    if (value.empty()) return KV_PRELOG_NONE;
    if (lstrcmpiA(value.c_str(), composed.c_str()) == 0) return KV_PRELOG_COMPOSED;
    if (lstrcmpiA(value.c_str(), copy.c_str()) == 0) return KV_PRELOG_COPY;
    return KV_PRELOG_FILE;
}

void SavePrelogBmp(s_picture* picture, SIZE* pictureSize) {
    const SIZE size = pictureSize ? *pictureSize : SIZE{0, 0};
    {
        ScopedGetDC screen(nullptr);
        const int index = ComboIndex(hWall, IDBITSPIXEL, 0);
        ScopedGdiObj<HBITMAP> copy(
            screen && picture ? CreateWallSection(screen, size.cx, size.cy,
                                                  DepthForIndex(index, GetDeviceCaps(screen, BITSPIXEL)))
                              : nullptr);
        ScopedMemoryDC memory(screen);
        if (copy && memory) {
            {
                ScopedSelectObject select(memory, copy.get());
                tStretchImg(picture, memory, 0, 0, size.cx, size.cy, 0, 0, size.cx, size.cy, SRCCOPY);
                GdiFlush();
            }
            const std::string path = PrelogPath();
            if (pSavePicture && pSavePicture(path.c_str(), copy.get()) == 0) {
                WriteLogonWallpaper(path.c_str());
            }
        }
    }
    tReleaseImg(picture);
}

void ClearLogonWallpaper() {
    ScopedRegKey key;
    if (RegCreateKeyExA(HKEY_USERS, kDefaultDesktop, 0, nullptr, 0, KEY_SET_VALUE | NativeRegistryView(), nullptr,
                        key.receive(), nullptr) == ERROR_SUCCESS)
        SetString(key.get(), "Wallpaper", "");
}
