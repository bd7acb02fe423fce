// Composition of the wallpaper: one bitmap of the screen's size with the
// background and the picture in one of nine placements, mirrored and
// inverted as asked. create_wallpaper.h adds the calendars and the
// plug-ins' items, writes the file and applies it.
#pragma once

#include <windows.h>

#include <string>

#include "engine/image_binding.h"

// Placement for the next composition: the list row's placement digit - 1, or
// -1 for the wallpaper page's choice. Set by whoever composes (the change
// cycle, "/tw").
extern int positionType;

// Placements (index of the placement box 10430; row digit - 1).
enum {
    KV_PLACE_CENTRE = 0,
    KV_PLACE_FIT = 1,
    KV_PLACE_STRETCH = 2,
    KV_PLACE_TILE = 3,
    KV_PLACE_FIT_SMEARED = 4,
    KV_PLACE_AUTO_STRETCH = 5,
    KV_PLACE_AUTO_FIT = 6,
    KV_PLACE_FILL = 7,
    KV_PLACE_FIT_AVERAGE = 8,
};

// The options of the wallpaper and lists pages that composition reads.
struct CompositionOptions {
    int bitsPixel = 0;            // KvBitsPixel: 0 screen, 1 = 32, 2 = 24, 3 = 16, 4 = 8
    COLORREF background = 0;      // KvBackGr
    bool invert = false;          // KvInvers
    bool mirrorTopBottom = false; // KvMGor
    bool mirrorLeftRight = false; // KvMVer
    bool useWorkArea = true;      // KvUspz
    bool increase = true;         // KvIncrease: scale through the image module
    int pagePlacement = KV_PLACE_FIT;  // KvCeOnSc
    float sizeFactor = 2.0f;      // KvRSize
    bool calendar = false;        // KvDrMon
    bool previousMonth = false;   // KvDrPrevMon
    bool nextMonth = false;       // KvDrNextMon
};

// Bits per pixel for a KvBitsPixel index (screenBits for 0 and unknown ones).
int DepthForIndex(int index, int screenBits);
// KvRSize text: a decimal number (point or comma); <= 0 or unreadable is 2.0.
float ParseSizeFactor(const char* text);
// The placement that applies: the global (above 8 or negative: the page's),
// automatic stretch and fit (5, 6) decided against the area divided by f.
int ResolvePlacement(int global, int pagePlacement, SIZE picture, int areaWidth, int areaHeight, float f);
// Where the picture goes in the area (for tile: the first tile).
RECT PlacementRect(int placement, const RECT& area, SIZE picture);  // left, top, right, bottom

// A bottom-up section of that depth, or null. At 8 bits the palette is a
// colour cube and greys laid out so that inverting an index complements its
// colour.
HBITMAP CreateWallSection(HDC dc, int width, int height, int bitsPerPixel);

// Mirrors a rectangle of dc in place: top to bottom, left to right, or both
// (a half turn).
void GorVer(HDC dc, int x, int y, int width, int height, int mirrorTopBottom, int mirrorLeftRight);
// Mean of the red, green and blue bytes of [left, right) x [top, bottom).
COLORREF GetAverageColor(HDC dc, const RECT* rect);

// Steps of the composition that make the bitmap in dc (of the desktop's size)
// from the background and the picture, mirrored and inverted as asked. The
// picture stays the caller's.
void ComposePicture(HDC dc, const RECT& desktop, const RECT& workArea, s_picture* picture, SIZE size,
                    const CompositionOptions& options);
