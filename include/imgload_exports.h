// The interface of the image loader modules in Tool\ (PixGdip, PixCtx,
// PixOle), as the host binds it by name with GetProcAddress.
//
// Lifecycle: the host loads the modules once at start-up and frees them at
// exit. A picture lives from LoadPicture to ReleaseImg; it is an opaque object
// of the module that made it and is always drawn and released through that
// same module. Every call comes from the host's GUI thread.
//
// Ownership: the path stays the caller's. ScaleBitmap and ScaleRows return a
// new bitmap that the caller deletes; SavePicture leaves the bitmap to the
// caller.
//
// Later exports (ReducedImgSize, CopyImgPixels, ScaleRows) are optional: the
// host looks them up at run time and works without them, so modules built
// before them still load.
#pragma once

#include <windows.h>

// Exact export names, as the .def files give them. 32-bit modules export the
// stdcall-decorated names; x64 has one calling convention and no decoration,
// so x64 modules export the plain names with the same arguments. A host
// loads modules of its own kind only.
#ifdef _WIN64
#define KV_EXPORT_LOADPICTURE "LoadPicture"
#define KV_EXPORT_STRETCHIMG "StretchImg"
#define KV_EXPORT_RELEASEIMG "ReleaseImg"
#define KV_EXPORT_SAVEPICTURE "SavePicture"
#define KV_EXPORT_SCALEBITMAP "ScaleBitmap"
#define KV_EXPORT_REDUCEDIMGSIZE "ReducedImgSize"
#define KV_EXPORT_COPYIMGPIXELS "CopyImgPixels"
#define KV_EXPORT_SCALEROWS "ScaleRows"
#else
#define KV_EXPORT_LOADPICTURE "_LoadPicture@8"
#define KV_EXPORT_STRETCHIMG "_StretchImg@44"
#define KV_EXPORT_RELEASEIMG "_ReleaseImg@4"
#define KV_EXPORT_SAVEPICTURE "_SavePicture@8"
#define KV_EXPORT_SCALEBITMAP "_ScaleBitmap@16"
#define KV_EXPORT_REDUCEDIMGSIZE "_ReducedImgSize@12"
#define KV_EXPORT_COPYIMGPIXELS "_CopyImgPixels@32"
#define KV_EXPORT_SCALEROWS "_ScaleRows@16"
#endif

// Sets *size to 0 x 0, then to the picture's pixel size. Null when the file
// (or URL, for modules that can fetch) is no picture of positive size.
typedef void*(WINAPI* LoadPictureFunction)(SIZE* size, const char* path);
// Draws the picture's rectangle (sx, sy, scx, scy), in picture pixels, into
// (x, y, cx, cy) of dc. Returns the module's status; the host ignores it.
typedef int(WINAPI* StretchImgFunction)(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx,
                                        int scy, DWORD rop);
typedef int(WINAPI* ReleaseImgFunction)(void* picture);
// Writes a Windows bitmap file; 0 on success, non-zero on failure.
typedef int(WINAPI* SavePictureFunction)(const char* path, HBITMAP bitmap);
// A new bitmap of the picture scaled smoothly to *width x *height (updated to
// the size produced), or null. name is a scratch name the module may use.
typedef HBITMAP(WINAPI* ScaleBitmapFunction)(HBITMAP bitmap, int* width, int* height, const char* name);

// The size of the picture decoded at 1/denominator of its own (1, 2, 4 or
// 8); FALSE when the module cannot decode this picture that small.
typedef BOOL(WINAPI* ReducedImgSizeFunction)(void* picture, int denominator, SIZE* size);
// Copies the rectangle (x, y, width, height) of the picture decoded at
// 1/denominator of its size, pixel for pixel, as 32-bit BGRX: the top row at
// bits, each next row stride bytes on (negative for bottom-up memory). A
// picture with transparency comes as if drawn on black. 0 on success.
typedef int(WINAPI* CopyImgPixelsFunction)(void* picture, int denominator, int x, int y, int width, int height,
                                           void* bits, int stride);

// Pixels handed to ScaleRows as it reaches them, so no copy of the whole
// picture need exist: rows are asked for in ascending order.
struct KvRowSource {
    int width;   // the picture's size in pixels
    int height;
    // Makes the columns [left, right) of the rows from `row` on available as
    // 32-bit BGRX. Returns the address of pixel (left, row), sets *stride to
    // the bytes from one row to the next and *rows to how many rows follow
    // from there (at least 1); null when it fails, which ends the scaling.
    const BYTE*(WINAPI* rows)(struct KvRowSource* self, int left, int right, int row, int* rows, int* stride);
};
// The picture of source scaled smoothly to width x height, of which only the
// window (in pixels of the scaled picture) is made: a new 32-bit section of
// the window's size holding exactly what a whole scaling would hold there,
// or null. Only the source pixels the window needs are asked for.
typedef HBITMAP(WINAPI* ScaleRowsFunction)(struct KvRowSource* source, int width, int height, const RECT* window);

// The modules' own definitions (exported under the names above).
extern "C" {
void* WINAPI LoadPicture(SIZE* size, const char* path);
int WINAPI StretchImg(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                      DWORD rop);
int WINAPI ReleaseImg(void* picture);
int WINAPI SavePicture(const char* path, HBITMAP bitmap);
HBITMAP WINAPI ScaleBitmap(HBITMAP bitmap, int* width, int* height, const char* name);
BOOL WINAPI ReducedImgSize(void* picture, int denominator, SIZE* size);
int WINAPI CopyImgPixels(void* picture, int denominator, int x, int y, int width, int height, void* bits, int stride);
HBITMAP WINAPI ScaleRows(struct KvRowSource* source, int width, int height, const RECT* window);
}
