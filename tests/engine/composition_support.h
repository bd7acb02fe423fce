// Helpers of the composition tests: pictures of known pixels drawn through a
// loader slot of the test's own, and bitmaps whose pixels can be read back.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "engine/image_binding.h"

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kGrey = RGB(128, 128, 128);

// A 32-bit top-down section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF At(int x, int y) const;
    void Set(int x, int y, COLORREF colour);
    // Pixels of a rectangle that differ from colour.
    int CountOther(const RECT& area, COLORREF colour) const;
    int Count(const RECT& area, COLORREF colour) const;

private:
    int width_, height_;
    DWORD* bits_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Pictures the host loads through slot 0, drawn with plain GDI stretching so
// every pixel is known. Installed for the life of the object.
class FakeLoader {
public:
    FakeLoader();
    ~FakeLoader();
    // A picture of width x height whose pixel (x, y) is colour(x, y).
    s_picture* Make(int width, int height, const std::function<COLORREF(int, int)>& colour);
    // The picture says it is width x height (its pixels are drawn stretched
    // from that size), as a large picture whose pixels need not exist here.
    s_picture* Claiming(int width, int height, s_picture* picture);
    // Four quadrants: red, green / blue, yellow.
    s_picture* Quadrants(int width, int height);
    static int released;

private:
    LoadPictureFunction load_;
    StretchImgFunction stretch_;
    ReleaseImgFunction release_;
    ReducedImgSizeFunction reduced_;
    CopyImgPixelsFunction copy_;
};

COLORREF QuadrantColour(int x, int y, int width, int height);

// The shipped PixOle (saver and scaler) bound for the life of the object.
class ShippedSaver {
public:
    ShippedSaver();
    ~ShippedSaver();
    bool bound() const { return pSavePicture != nullptr; }

private:
    HMODULE module_ = nullptr;
};

bool Near(COLORREF a, COLORREF b, int tolerance);
bool RunningOnWine();
std::string ThisFolder();  // with a trailing backslash
