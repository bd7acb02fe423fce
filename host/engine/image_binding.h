// The host's binding of the image loader modules in Tool\ and the picture
// helpers built on it. Pictures are loaded by the first module that can, and
// a picture handle remembers that module so it is drawn and released there.
#pragma once

#include <windows.h>

#include "imgload_exports.h"

// Module slots, in the order loaders are tried.
enum { KV_SLOT_GDIP = 0, KV_SLOT_CTX = 1, KV_SLOT_OLE = 2, KV_SLOTS = 3 };

extern HMODULE hPixGdipDllFunc;  // slot 0, bound only where gdiplus.dll loads
extern HMODULE hPixCtxDllFunc;   // slot 1
extern HMODULE hPixOleDllFunc;   // slot 2
// Indexed by slot; null where the module or the export is missing.
extern LoadPictureFunction pLoadPicture[KV_SLOTS];
extern StretchImgFunction pStretchImg[KV_SLOTS];
extern ReleaseImgFunction pReleaseImg[KV_SLOTS];
// Optional, by slot: reduced decoding and copying pixels without drawing.
extern ReducedImgSizeFunction pReducedImgSize[KV_SLOTS];
extern CopyImgPixelsFunction pCopyImgPixels[KV_SLOTS];
// Bound from slot 2 only (pScaleRows is optional).
extern ScaleBitmapFunction pScaleBitmap;
extern SavePictureFunction pSavePicture;
extern ScaleRowsFunction pScaleRows;

// Picture handle: made by tLoadPicture, freed by tReleaseImg.
struct s_picture {
    int module;     // slot of the module that made the picture
    void* picture;  // that module's picture object
};

// Binds the modules; once at start-up, after CoInitialize. Missing modules
// and exports leave their entries null; nothing is reported.
void hMyDllFuncInit();
// Frees the modules (slot 2, 1, then 0) and clears the binding.
void FreeImageModules();

// Expands %NAME% references and loads the picture through the first slot
// that can. A local file that is missing or offline is refused before any
// module is asked; "http://" and "ftp://" URLs always go to the modules.
// size receives the picture's pixel size (0 x 0 on failure).
s_picture* tLoadPicture(SIZE* size, const char* path);
// Draws through the picture's module; a null handle draws nothing.
int tStretchImg(s_picture* handle, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy, DWORD rop);
// Releases the picture through its module and frees the handle; null is ignored.
void tReleaseImg(s_picture* handle);

// The picture's size at 1/denominator, where its module can decode it so
// (false for modules without reduced decoding, except at 1 for pictures
// whose pixels can be copied).
bool tReducedImgSize(s_picture* handle, int denominator, SIZE* size);
// Copies pixels of the picture at 1/denominator into 32-bit BGRX memory, top
// row first; false where its module cannot (the caller then draws).
bool tCopyImgPixels(s_picture* handle, int denominator, int x, int y, int width, int height, void* bits, int stride);

// A new 32-bit bottom-up section bitmap of *width x *height, or null.
HBITMAP CreateBit(HDC dc, int* width, int* height);
// The picture drawn into a new bitmap of targetSize (or of pictureSize when
// none), inside a frame of border pixels in frameColour when frame is set;
// unframed pictures lie on white. The caller owns the bitmap.
HBITMAP ImgToBmp(s_picture* handle, SIZE* pictureSize, SIZE* targetSize, int frame, COLORREF frameColour, int border);
// Replaces *slot by the picture fitted into the window's client area (never
// enlarged with showSize 0; with showSize 1 enlarged too, and its size shown
// on the lists page) and releases the handle.
void ConvertToSmallhBitmap(HWND window, HBITMAP* slot, s_picture* handle, SIZE* pictureSize, int showSize);
