// 32-bit DIB sections, the one pixel format the programs compose in.
#pragma once

#include <windows.h>

// A 32-bit section of width x height; topDown puts row 0 at the top of
// memory. *bits (when given) receives its pixels. Null on failure.
HBITMAP CreateDibSection32(int width, int height, bool topDown, void** bits);
