// The interface of the image loader modules in Tool\ (PixGdip, PixCtx,
// PixOle), as the host binds it by name with GetProcAddress.
//
// Lifecycle: the host loads the modules once at start-up and frees them at
// exit. A picture lives from LoadPicture to ReleaseImg; it is an opaque object
// of the module that made it and is always drawn and released through that
// same module. Every call comes from the host's GUI thread.
//
// Ownership: the path stays the caller's. ScaleBitmap returns a new bitmap
// that the caller deletes; SavePicture leaves the bitmap to the caller.
#pragma once

#include <windows.h>

// Exact export names (stdcall decoration; the .def files give them).
#define KV_EXPORT_LOADPICTURE "_LoadPicture@8"
#define KV_EXPORT_STRETCHIMG "_StretchImg@44"
#define KV_EXPORT_RELEASEIMG "_ReleaseImg@4"
#define KV_EXPORT_SAVEPICTURE "_SavePicture@8"
#define KV_EXPORT_SCALEBITMAP "_ScaleBitmap@16"

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

// The modules' own definitions (exported under the names above).
extern "C" {
void* WINAPI LoadPicture(SIZE* size, const char* path);
int WINAPI StretchImg(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                      DWORD rop);
int WINAPI ReleaseImg(void* picture);
int WINAPI SavePicture(const char* path, HBITMAP bitmap);
HBITMAP WINAPI ScaleBitmap(HBITMAP bitmap, int* width, int* height, const char* name);
}
