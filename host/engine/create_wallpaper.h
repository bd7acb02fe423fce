// The whole wallpaper change's end: the composition with the current options,
// the calendars and the plug-ins' items, written as KvBmp.bmp and made the
// desktop wallpaper.
#pragma once

#include <windows.h>

#include <string>

#include "engine/image_binding.h"

// Folder of the composed file as stored (KvFolderWall, may hold %VAR%);
// empty means the program's folder.
extern std::string folderWall;

// Composes, writes and applies the wallpaper; picture may be none and is
// released here.
void CreateWallPaper(s_picture* picture, SIZE* pictureSize);
// Makes path the desktop wallpaper and refreshes the desktop.
void UpdateWalpaper(const char* path);

// Files beside the composed wallpaper: KvBmp.bmp and the logon copy.
std::string ComposedWallpaperPath();
std::string PrelogPath();
