// The logon screen's wallpaper: the "Wallpaper" value of the default user
// profile, chosen with the wallpaper page's drop-down 10435. The registry is
// the only record of the choice.
#pragma once

#include <windows.h>

#include <string>

#include "kvimagefunc.h"

// Entries of the drop-down.
enum { KV_PRELOG_NONE = 0, KV_PRELOG_COMPOSED = 1, KV_PRELOG_COPY = 2, KV_PRELOG_FILE = 3 };

// Applies the entry the user picked, then shows what the registry holds.
void KvPreLogChange();
// Writes the picture 1:1 as Prelog.bmp and makes it the logon wallpaper;
// releases the picture.
void SavePrelogBmp(s_picture* picture, SIZE* pictureSize);
// Sets the drop-down from the registry.
void CompareRegPrelogin();
// The entry the registry's value stands for.
int PrelogEntryFor(const std::string& value, const std::string& composed, const std::string& copy);

// The default profile's "Wallpaper" ("" when absent).
std::string ReadLogonWallpaper();
// Writes "TileWallpaper" "0", "WallpaperStyle" "2" and "Wallpaper".
void WriteLogonWallpaper(const char* path);
