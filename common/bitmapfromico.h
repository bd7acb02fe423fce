#pragma once

#include <windows.h>

// New bitmap with the icon drawn on the system colour 0 background, sized
// from the icon's hot spot (twice it, the icon size for standard icons).
HBITMAP BitMapFromIco(HICON icon);
