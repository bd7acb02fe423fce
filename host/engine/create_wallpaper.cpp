#include "engine/create_wallpaper.h"

#include "base/globals.h"
#include "base/save_failures.h"
#include "engine/calendar_drawing.h"
#include "engine/composition.h"
#include "engine/wallpaper_events.h"
#include "engine/wallpaper_options.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "scopedwin.h"

std::string folderWall;

namespace {

std::string BesideComposed(const char* file, const char* extension) {
    if (!folderWall.empty()) {
        HeapString expanded(ExpandEnvStr(folderWall.c_str()));
        std::string path = expanded ? expanded.get() : folderWall;
        if (path.empty() || path.back() != '\\') path += '\\';
        return path + file + extension;
    }
    HeapString path(CreatePathFile(nullptr, file, extension));
    return path ? path.get() : std::string();
}

}  // namespace

std::string ComposedWallpaperPath() { return BesideComposed("KvBmp", ".bmp"); }

std::string PrelogPath() { return BesideComposed("Prelog", ".bmp"); }

void CreateWallPaper(s_picture* picture, SIZE* pictureSize) {
    const SIZE size = pictureSize ? *pictureSize : SIZE{0, 0};
    ScopedGetDC screen(nullptr);
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT work = desktop;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const CompositionOptions options = CurrentCompositionOptions();
    ScopedGdiObj<HBITMAP> wall(
        screen ? CreateWallSection(screen, desktop.right, desktop.bottom,
                                   DepthForIndex(options.bitsPixel, GetDeviceCaps(screen, BITSPIXEL)))
               : nullptr);
    ScopedMemoryDC memory(screen);
    if (!screen || !wall || !memory) {
        tReleaseImg(picture);
        return;
    }
    {
        ScopedSelectObject select(memory, wall.get());
        ComposePicture(memory, desktop, work, picture, size, options);
        RaisePictureComposed(picture, size);
        RaiseDrawItems(memory);
        if (options.calendar) DrawCalendars(memory, options.previousMonth, options.nextMonth, CurrentCalendarContext());
        GdiFlush();
    }
    const std::string path = ComposedWallpaperPath();
    if (!pSavePicture || path.empty()) return;
    if (pSavePicture(path.c_str(), wall.get()) != 0) {
        // A full disk or a folder that cannot be written: the desktop keeps
        // the old picture, and the user is told why nothing changes.
        ReportSaveFailure(SAVE_FAILED_WALLPAPER, path.c_str());
        return;
    }
    ReportSaveSuccess(SAVE_FAILED_WALLPAPER);
    UpdateWalpaper(path.c_str());
    RaiseWallpaperApplied();
}

void UpdateWalpaper(const char* path) {
    if (!path) return;
    char* target = const_cast<char*>(path);
    HeapString current(ReadReestrChar("Wallpaper", HKEY_CURRENT_USER, "Control Panel\\Desktop", nullptr));
    if (!current) SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, target, 0);
    else if (lstrcmpiA(current.get(), path) == 0)
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, target, SPIF_SENDWININICHANGE);
    else SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, target, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);

    // A desktop organiser of another vendor repaints only after a second,
    // persistent setting.
    ScopedRegKey fences;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "Directory\\Background\\shellex\\ContextMenuHandlers\\FencesShellExt", 0,
                      KEY_READ, fences.receive()) == ERROR_SUCCESS)
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, target, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);

    if (HWND progman = FindWindowA("Progman", "Program Manager")) {
        HWND view = FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr);
        // The web-view desktop shows the new picture only after a refresh.
        if (view && FindWindowExA(view, nullptr, "Internet Explorer_Server", nullptr))
            PostMessageA(progman, WM_KEYDOWN, VK_F5, 0);
    }
    if (HWND desktop = FindWindowA("Desktop", nullptr)) {
        InvalidateRect(desktop, nullptr, TRUE);
        UpdateWindow(desktop);
    }
}

