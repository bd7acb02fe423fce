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
