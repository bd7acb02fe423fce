// Writing the rendered page as a bitmap file.
#pragma once

#include <windows.h>

// Saves the bitmap as a 24-bit BMP file. Takes the bitmap over (it is
// deleted in every case). The file is written beside its final name and
// moved there, so a reader never sees half a picture; on failure nothing is
// left behind.
bool SaveBitmapAsBmp(HBITMAP bitmap, const char* file);
