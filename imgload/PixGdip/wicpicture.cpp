#include "wicpicture.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "scopedwin.h"

// {3B16811B-6A43-4EC9-B713-3D5A0C13B940}
const IID IID_KvWicSourceTransform = {0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

namespace {

// Rows converted at a time when the decoder's format is not ours.
const size_t kChunkBytes = 1024 * 1024;

template <typename T>
void Release(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

bool StartsLikeJpeg(const WCHAR* path) {
    ScopedHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    BYTE start[3] = {};
    DWORD read = 0;
    return ReadFile(file.get(), start, sizeof start, &read, nullptr) && read == sizeof start && start[0] == 0xFF &&
           start[1] == 0xD8 && start[2] == 0xFF;
}

int Ceiling(int value, int denominator) { return (value + denominator - 1) / denominator; }

// Widens rows of 24-bit BGR (3 bytes a pixel) or 8-bit grey (1) to 32-bit BGRX.
void Widen(const BYTE* from, UINT fromStride, UINT pixelBytes, int width, int rows, BYTE* to, int stride) {
    for (int row = 0; row < rows; ++row, from += fromStride, to += stride) {
        BYTE* out = to;
        if (pixelBytes == 3) {
            for (int x = 0; x < width; ++x, out += 4) {
                out[0] = from[x * 3];
                out[1] = from[x * 3 + 1];
                out[2] = from[x * 3 + 2];
                out[3] = 0;
            }
        } else {
            for (int x = 0; x < width; ++x, out += 4) out[0] = out[1] = out[2] = from[x], out[3] = 0;
        }
    }
}

}  // namespace

WicPicture* WicPicture::OpenJpeg(const WCHAR* path) {
    if (!path || !StartsLikeJpeg(path)) return nullptr;
    IWICImagingFactory* factory = nullptr;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory))))
        return nullptr;
    WicPicture* picture = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    GUID container = {};
    if (SUCCEEDED(factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetContainerFormat(&container)) && container == GUID_ContainerFormatJpeg &&
        SUCCEEDED(decoder->GetFrame(0, &frame)))
        picture = FromFrame(frame, factory);
    Release(frame);
    Release(decoder);
    Release(factory);
    return picture;
}

WicPicture* WicPicture::FromFrame(IWICBitmapFrameDecode* frame, IWICImagingFactory* factory) {
    if (!frame) return nullptr;
    std::unique_ptr<WicPicture> picture(new (std::nothrow) WicPicture);
    if (!picture) return nullptr;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = {};
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) || width == 0 ||
        height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return nullptr;
    frame->AddRef();
    picture->frame_ = frame;
    picture->size_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
    if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA) picture->layout_ = kBgr32;
    else if (format == GUID_WICPixelFormat24bppBGR) picture->layout_ = kBgr24;
    else if (format == GUID_WICPixelFormat8bppGray) picture->layout_ = kGray8;
    else {
        // CMYK and the like: the component converts, or the picture is refused.
        IWICFormatConverter* converter = nullptr;
        if (!factory || FAILED(factory->CreateFormatConverter(&converter))) return nullptr;
        if (FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
            converter->Release();
            return nullptr;
        }
        picture->converted_ = converter;
        picture->layout_ = kBgr32;
    }
    // Reduced decoding only where the decoder offers it (not through a converter).
    if (!picture->converted_) {
        IKvWicSourceTransform* transform = nullptr;
        if (SUCCEEDED(frame->QueryInterface(IID_KvWicSourceTransform, reinterpret_cast<void**>(&transform))))
            picture->transform_ = transform;
    }
    return picture.release();
}

WicPicture::~WicPicture() {
    Release(transform_);
    Release(converted_);
    Release(frame_);
}

bool WicPicture::ReducedSize(int denominator, SIZE* size) const {
    if (!size) return false;
    if (denominator == 1) {
        *size = size_;
        return true;
    }
    if (!transform_ || (denominator != 2 && denominator != 4 && denominator != 8)) return false;
    const UINT wantWidth = Ceiling(size_.cx, denominator), wantHeight = Ceiling(size_.cy, denominator);
    UINT width = wantWidth, height = wantHeight;
    // Only a reduction the decoder makes exactly: anything else it would
    // round to another size, and the pixels would not line up.
    if (FAILED(transform_->GetClosestSize(&width, &height)) || width != wantWidth || height != wantHeight) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (FAILED(transform_->GetClosestPixelFormat(&format))) return false;
    if (format != GUID_WICPixelFormat32bppBGR && format != GUID_WICPixelFormat32bppBGRA &&
        format != GUID_WICPixelFormat24bppBGR && format != GUID_WICPixelFormat8bppGray)
        return false;
    BOOL plain = FALSE;
    if (FAILED(transform_->DoesSupportTransform(WICBitmapTransformRotate0, &plain)) || !plain) return false;
    *size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    return true;
}

int WicPicture::ReductionFor(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) const {
    for (int denominator : {8, 4, 2}) {
        SIZE reduced;
        if (!ReducedSize(denominator, &reduced)) continue;
        // The source rectangle shrinks with the picture.
        const long long across = static_cast<long long>(sourceWidth) * reduced.cx;
        const long long down = static_cast<long long>(sourceHeight) * reduced.cy;
        if (across >= static_cast<long long>(targetWidth) * size_.cx &&
            down >= static_cast<long long>(targetHeight) * size_.cy)
            return denominator;
    }
    return 1;
}

HRESULT WicPicture::CopyFrom(IWICBitmapSource* source, Layout layout, const WICRect& rect, BYTE* bits,
                             int stride) const {
    if (layout == kBgr32 && stride > 0)
        return source->CopyPixels(&rect, stride, static_cast<UINT>(stride) * (rect.Height - 1) + rect.Width * 4, bits);
    const UINT pixelBytes = layout == kBgr32 ? 4 : layout == kBgr24 ? 3 : 1;
    const UINT chunkStride = (rect.Width * pixelBytes + 3) & ~3u;
    const int chunkRows = std::max(1, std::min<int>(rect.Height, static_cast<int>(kChunkBytes / chunkStride)));
    std::unique_ptr<BYTE[]> chunk(new (std::nothrow) BYTE[static_cast<size_t>(chunkStride) * chunkRows]);
    if (!chunk) return E_OUTOFMEMORY;
    for (int done = 0; done < rect.Height; done += chunkRows) {
        const WICRect part = {rect.X, rect.Y + done, rect.Width, std::min(chunkRows, rect.Height - done)};
        const HRESULT result = source->CopyPixels(&part, chunkStride, chunkStride * part.Height, chunk.get());
        if (FAILED(result)) return result;
        BYTE* to = bits + static_cast<ptrdiff_t>(stride) * done;
        if (layout == kBgr32) {
            for (int row = 0; row < part.Height; ++row)
                memcpy(to + static_cast<ptrdiff_t>(stride) * row, chunk.get() + chunkStride * row, rect.Width * 4);
        } else {
            Widen(chunk.get(), chunkStride, pixelBytes, rect.Width, part.Height, to, stride);
        }
    }
    return S_OK;
}

HRESULT WicPicture::CopyReduced(int denominator, const WICRect& rect, BYTE* bits, int stride) const {
    SIZE reduced;
    if (!ReducedSize(denominator, &reduced)) return E_INVALIDARG;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (FAILED(transform_->GetClosestPixelFormat(&format))) return E_FAIL;
    const bool wide = format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA;
    const UINT pixelBytes = wide ? 4 : format == GUID_WICPixelFormat24bppBGR ? 3 : 1;
    // Scaling comes before cropping: the rectangle is in reduced pixels. The
    // whole band in one call, so the decoder reads the data once.
    if (wide && stride > 0)
        return transform_->CopyPixels(&rect, reduced.cx, reduced.cy, &format, WICBitmapTransformRotate0, stride,
                                      static_cast<UINT>(stride) * (rect.Height - 1) + rect.Width * 4, bits);
    const UINT bandStride = (rect.Width * pixelBytes + 3) & ~3u;
    std::unique_ptr<BYTE[]> band(new (std::nothrow) BYTE[static_cast<size_t>(bandStride) * rect.Height]);
    if (!band) return E_OUTOFMEMORY;
    const HRESULT result = transform_->CopyPixels(&rect, reduced.cx, reduced.cy, &format, WICBitmapTransformRotate0,
                                                  bandStride, bandStride * rect.Height, band.get());
    if (FAILED(result)) return result;
    if (wide) {
        for (int row = 0; row < rect.Height; ++row)
            memcpy(bits + static_cast<ptrdiff_t>(stride) * row, band.get() + bandStride * row, rect.Width * 4);
    } else {
        Widen(band.get(), bandStride, pixelBytes, rect.Width, rect.Height, bits, stride);
    }
    return S_OK;
}

HRESULT WicPicture::Copy(int denominator, int x, int y, int width, int height, BYTE* bits, int stride) const {
    SIZE whole;
    if (!bits || width <= 0 || height <= 0 || x < 0 || y < 0 || !ReducedSize(denominator, &whole) ||
        width > whole.cx - x || height > whole.cy - y)
        return E_INVALIDARG;
    const WICRect rect = {x, y, width, height};
    if (denominator > 1) return CopyReduced(denominator, rect, bits, stride);
    if (converted_) return CopyFrom(converted_, kBgr32, rect, bits, stride);
    return CopyFrom(frame_, layout_, rect, bits, stride);
}
