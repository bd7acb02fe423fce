// Loading a picture through an image-context object, apart from how the
// object is made, so the steps can be driven with a stand-in.
#pragma once

#include <windows.h>

#include "imgctx.h"

// The object takes the path as a URL: every "%" becomes "%25". A new heap
// string, or none for none.
char* EscapePercent(const char* path);

// Makes a new object (one reference for the caller), or none.
typedef IImgCtx* (*ImgCtxFactory)();

// Sets *size to 0 x 0, escapes the path, loads it into a new object and polls
// every 50 ms until the object reports completion, a stop or an error. The
// object (owned by the caller) when the size is positive, else none.
IImgCtx* LoadImgCtxPicture(SIZE* size, const char* path, ImgCtxFactory factory);
