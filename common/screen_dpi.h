// Sizes that follow the screen's DPI. The programs declare themselves
// DPI aware, so Windows no longer stretches their windows: whatever is
// measured in pixels rather than dialog units is scaled here.
#pragma once

#include <windows.h>

// Pixels per logical inch of the screen (96 at 100 %), read once.
int ScreenDpi();

// A length given for 96 DPI, at the screen's DPI.
int ScaleForDpi(int pixels);
// The same for an explicit DPI (rounded to the nearest pixel).
int ScaleForDpi(int pixels, int dpi);

// The system's small icon size (16 at 96 DPI): menu, tray and button icons.
int SmallIconSize();
