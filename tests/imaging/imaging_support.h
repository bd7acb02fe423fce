// Helpers of the loader and binding tests: the test pictures, loader modules
// loaded by path, bitmaps with known pixels, and a child run of the test
// program without GDI+.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "imgload_exports.h"

// A picture made for the tests at build time (imaging_pictures folder).
std::string TestPicture(const char* name);
// The folder of the running test program, with a trailing backslash.
std::string ThisProgramFolder();

// The exports of one module, loaded from a file; freed with the object.
struct LoaderModule {
    explicit LoaderModule(const std::string& path);
    ~LoaderModule();
    LoaderModule(const LoaderModule&) = delete;
    LoaderModule& operator=(const LoaderModule&) = delete;

    HMODULE module = nullptr;
    LoadPictureFunction load = nullptr;
    StretchImgFunction stretch = nullptr;
    ReleaseImgFunction release = nullptr;
    SavePictureFunction save = nullptr;
    ScaleBitmapFunction scale = nullptr;
};
// dist\Tool\<name>.dll as the build shipped it.
std::string ShippedModule(const char* name);

// COM for the calling thread, as the host sets it up.
struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

// A section of bitsPerPixel (24 or 32) holding pixels (row 0 at the top);
// topDown picks the row order in memory.
HBITMAP MakeSection(int width, int height, int bitsPerPixel, const std::vector<COLORREF>& pixels,
                    bool topDown = false);
// A device-dependent bitmap of the screen's format holding pixels.
HBITMAP MakeScreenBitmap(int width, int height, const std::vector<COLORREF>& pixels);
// Every pixel of any bitmap (row 0 at the top), read through the system.
std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);
SIZE BitmapSize(HBITMAP bitmap);
// A 32-bit section filled with one colour, selected into a memory DC.
struct Canvas {
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::vector<COLORREF> Pixels() const;
};

// Recorded metafiles of a known size: an EMF whose frame is width x height
// pixels at 96 dpi, and a placeable WMF of width x height at 96 units per inch.
bool WriteEmf(const std::string& path, int width, int height);
bool WriteWmf(const std::string& path, int width, int height);

// Channels differ by at most tolerance.
bool Near(COLORREF a, COLORREF b, int tolerance);

bool RunningOnWine();
// Runs a copy of this test program (with the Tool folder beside it) with only
// the tests matching filter, disabled tests allowed, and gdiplus.dll switched
// off by a Wine DLL override. Its exit code, or -1 when it could not start
// or did not end. Only Wine can hide a system DLL this way.
int RunSelfWithoutGdiplus(const char* filter);
