// Windows bitmap files as plain colours: tests read what the program wrote
// and write the pictures they hand it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct BmpImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<COLORREF> pixels;  // row 0 is the top row

    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Handles 8 (palette), 16 (5-5-5), 24 and 32 bits per pixel, bottom-up and
// top-down. False for anything else or a damaged file.
bool ReadBmpFile(const std::string& path, BmpImage& image);
bool ParseBmp(const std::string& bytes, BmpImage& image);

// Writes a 24-bit bottom-up bitmap file of the image.
bool WriteBmpFile(const std::string& path, const BmpImage& image);
// A picture of one colour.
BmpImage SolidImage(int width, int height, COLORREF colour);
