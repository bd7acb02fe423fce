#include "engine/wallpaper_events.h"

namespace {

WallpaperEvents handlers;

}  // namespace

WallpaperEvents SetWallpaperEvents(const WallpaperEvents& events) {
    WallpaperEvents previous = handlers;
    handlers = events;
    return previous;
}

void RaiseStepStarting() {
    if (handlers.stepStarting) handlers.stepStarting();
}

void RaisePictureComposed(s_picture* picture, SIZE size) {
    if (handlers.pictureComposed) handlers.pictureComposed(picture, size);
    else tReleaseImg(picture);
}

void RaiseWallpaperApplied() {
    if (handlers.wallpaperApplied) handlers.wallpaperApplied();
}

void RaiseCurrentRowCleared() {
    if (handlers.currentRowCleared) handlers.currentRowCleared();
}

bool RaiseNextRefused() { return handlers.nextRefused && handlers.nextRefused(); }

bool RaisePreviousRefused() { return handlers.previousRefused && handlers.previousRefused(); }

bool RaiseUpdateRefused() { return handlers.updateRefused && handlers.updateRefused(); }

void RaiseDrawItems(HDC wallpaper) {
    if (handlers.drawItems) handlers.drawItems(wallpaper);
}
