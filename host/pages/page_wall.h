// The wallpaper page (template 104).
#pragma once

#include <windows.h>

INT_PTR CALLBACK WallFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Start-up defaults of the page's controls, before the settings are loaded.
void PrepareWallPage();
// Texts of the page from the language file.
void ApplyWallPageTexts();
// Loads the page's settings during start-up.
void LoadWallSettings();

// Default placement from the system's "TileWallpaper" and "WallpaperStyle"
// (either may be none): 0/0 centre, 0/2 stretch, 1/0 tile, else fit.
int PlacementFromSystemStyle(const char* tile, const char* style);
// The logon wallpaper's drop-down: applies the entry the user picked, and
// shows what the registry holds.
void KvPreLogChange();
void CompareRegPrelogin();
// Makes folder (none or empty: the program's folder) the folder of the
// composed file, stores it and shows what the logon drop-down now means.
void SetWallFolder(const char* folder);
