#include "prelogon.h"

#include <vector>

#include "composition.h"
#include "filedialogs.h"
#include "filelist.h"
#include "globals.h"
#include "ids_wall.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

const char kDefaultDesktop[] = ".DEFAULT\\Control Panel\\Desktop";
const int kBitmapTitle = 24;  // section "STRING"

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
    if (RegOpenKeyExA(HKEY_USERS, kDefaultDesktop, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return "";
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
    if (RegCreateKeyExA(HKEY_USERS, kDefaultDesktop, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS)
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

void CompareRegPrelogin() {
    if (!hWall) return;
    const int entry = PrelogEntryFor(ReadLogonWallpaper(), ComposedWallpaperPath(), PrelogPath());
    SendDlgItemMessageA(hWall, IDPRELOG, CB_SETCURSEL, entry, 0);
}

void SavePrelogBmp(s_picture* picture, SIZE* pictureSize) {
    const SIZE size = pictureSize ? *pictureSize : SIZE{0, 0};
    {
        ScopedGetDC screen(nullptr);
        const int index = hWall ? static_cast<int>(SendDlgItemMessageA(hWall, IDBITSPIXEL, CB_GETCURSEL, 0, 0)) : 0;
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
                CompareRegPrelogin();
            }
        }
    }
    tReleaseImg(picture);
}

void KvPreLogChange() {
    if (!hWall) return;
    switch (static_cast<int>(SendDlgItemMessageA(hWall, IDPRELOG, CB_GETCURSEL, 0, 0))) {
        case KV_PRELOG_NONE: {
            ScopedRegKey key;
            if (RegCreateKeyExA(HKEY_USERS, kDefaultDesktop, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                                nullptr) == ERROR_SUCCESS)
                SetString(key.get(), "Wallpaper", "");
            break;
        }
        case KV_PRELOG_COMPOSED:
            WriteLogonWallpaper(ComposedWallpaperPath().c_str());
            break;
        case KV_PRELOG_COPY:
            if (!lastsel.empty()) {
                SIZE size = {0, 0};
                if (s_picture* picture = tLoadPicture(&size, lastsel.c_str())) SavePrelogBmp(picture, &size);
            }
            break;
        case KV_PRELOG_FILE: {
            HeapString chosen(OpenSingleFileDialog(hWall, "Bitmaps (*.bmp)\0*.bmp\0", Priv(kBitmapTitle, "STRING", ini),
                                                   ".bmp", 1));
            if (chosen) WriteLogonWallpaper(chosen.get());
            break;
        }
        default:
            break;
    }
    CompareRegPrelogin();
}
