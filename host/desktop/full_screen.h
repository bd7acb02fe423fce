// Whether a program covers the screen (a film, a game, a presentation): the
// wallpaper is not changed under it.
#pragma once

#include <windows.h>

// 1 when a window other than the desktop covers the work area (10 pixels of
// tolerance on every side), else 0.
int CheckFullWind();
// Pure test behind CheckFullWind.
bool CoversWorkArea(const RECT& window, const RECT& workArea);
