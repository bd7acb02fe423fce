// What the wallpaper engine tells the rest of the program. The engine never
// calls the pages, the tray or the menu; the application installs these
// handlers at start-up (an unset handler does nothing, so the engine also
// runs alone, as in the tests).
#pragma once

#include <windows.h>

#include "engine/image_binding.h"

struct WallpaperEvents {
    // A change step is about to compose: a preview that would show the old
    // picture is hidden.
    void (*stepStarting)() = nullptr;
    // The composition is done with the picture; the handler takes it (the
    // preview shows it) and must release it. Unset: it is released.
    void (*pictureComposed)(s_picture* picture, SIZE size) = nullptr;
    // The system shows a new wallpaper: the desktop's icons and captions
    // are looked after again.
    void (*wallpaperApplied)() = nullptr;
    // The open list has no current row any more (it became empty).
    void (*currentRowCleared)() = nullptr;
    // A plug-in may take over a step: next, previous, or applying the
    // wallpaper again. True cancels the host's own step.
    bool (*nextRefused)() = nullptr;
    bool (*previousRefused)() = nullptr;
    bool (*updateRefused)() = nullptr;
    // The wallpaper being composed (screen coordinates), before the
    // calendars: plug-ins draw their items into it.
    void (*drawItems)(HDC wallpaper) = nullptr;
};

// Replaces the handlers; returns the previous ones.
WallpaperEvents SetWallpaperEvents(const WallpaperEvents& events);

// Raised by the engine.
void RaiseStepStarting();
void RaisePictureComposed(s_picture* picture, SIZE size);
void RaiseWallpaperApplied();
void RaiseCurrentRowCleared();
bool RaiseNextRefused();
bool RaisePreviousRefused();
bool RaiseUpdateRefused();
void RaiseDrawItems(HDC wallpaper);
