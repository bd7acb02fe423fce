#include "engine/logon_wallpaper.h"

#include <vector>

#include "base/control_values.h"
#include "base/globals.h"
#include "base/save_failures.h"
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

LONG SetString(HKEY key, const char* name, const char* value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(lstrlenA(value) + 1));
}

// The default profile's desktop key, opened for writing.
LONG OpenDefaultDesktop(ScopedRegKey& key) {
    return RegCreateKeyExA(HKEY_USERS, kDefaultDesktop, 0, nullptr, 0, KEY_SET_VALUE | NativeRegistryView(), nullptr,
                           key.receive(), nullptr);
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

LONG WriteLogonWallpaper(const char* path) {
    ScopedRegKey key;
    LONG error = OpenDefaultDesktop(key);
    if (error != ERROR_SUCCESS) return error;
    error = SetString(key.get(), "TileWallpaper", "0");
    if (error == ERROR_SUCCESS) error = SetString(key.get(), "WallpaperStyle", "2");
    if (error == ERROR_SUCCESS) error = SetString(key.get(), "Wallpaper", path ? path : "");
    return error;
}

int PrelogEntryFor(const std::string& value, const std::string& composed, const std::string& copy) {
    if (value.empty()) return KV_PRELOG_NONE;
    if (lstrcmpiA(value.c_str(), composed.c_str()) == 0) return KV_PRELOG_COMPOSED;
    if (lstrcmpiA(value.c_str(), copy.c_str()) == 0) return KV_PRELOG_COPY;
    return KV_PRELOG_FILE;
}

LONG SavePrelogBmp(s_picture* picture, SIZE* pictureSize) {
    const SIZE size = pictureSize ? *pictureSize : SIZE{0, 0};
    LONG result = ERROR_NOT_ENOUGH_MEMORY;
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
                ReportSaveSuccess(SAVE_FAILED_WALLPAPER);
                result = WriteLogonWallpaper(path.c_str());
            } else {
                ReportSaveFailure(SAVE_FAILED_WALLPAPER, path.c_str());
                result = ERROR_WRITE_FAULT;
            }
        }
    }
    tReleaseImg(picture);
    return result;
}

LONG ClearLogonWallpaper() {
    ScopedRegKey key;
    const LONG error = OpenDefaultDesktop(key);
    return error == ERROR_SUCCESS ? SetString(key.get(), "Wallpaper", "") : error;
}
