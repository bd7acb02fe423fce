// The logon screen's wallpaper: the "Wallpaper" value of the default user
// profile, chosen with the wallpaper page's drop-down 10435 (the page
// applies the choice). The registry is the only record of it.
#pragma once

#include <windows.h>

#include <string>

#include "engine/image_binding.h"

// Entries of the drop-down.
enum { KV_PRELOG_NONE = 0, KV_PRELOG_COMPOSED = 1, KV_PRELOG_COPY = 2, KV_PRELOG_FILE = 3 };

// The writers return the registry's error (ERROR_ACCESS_DENIED without
// administrator rights), ERROR_SUCCESS when the choice took effect.

// Writes the picture 1:1 as Prelog.bmp and makes it the logon wallpaper;
// releases the picture. A Prelog.bmp that cannot be written is told as a
// failed save (ERROR_WRITE_FAULT).
LONG SavePrelogBmp(s_picture* picture, SIZE* pictureSize);
// The entry the registry's value stands for.
int PrelogEntryFor(const std::string& value, const std::string& composed, const std::string& copy);

// The default profile's "Wallpaper" ("" when absent).
std::string ReadLogonWallpaper();
// Writes "TileWallpaper" "0", "WallpaperStyle" "2" and "Wallpaper".
LONG WriteLogonWallpaper(const char* path);
// Empties "Wallpaper": the logon screen shows no picture.
LONG ClearLogonWallpaper();
