// JPEG pictures through the system's imaging component (WIC): decoded row
// band by row band into the caller's memory, and, where the decoder can
// (Windows Vista and later), at 1/2, 1/4 or 1/8 of their size straight from
// the compressed data. Windows XP without the component, or a file it
// refuses, stays with GDI+.
#pragma once

#include <windows.h>
#include <wincodec.h>

// The decoder's scaling interface (IWICBitmapSourceTransform), which
// MinGW's headers lack; the method order is the system's.
struct IKvWicSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format, WICBitmapTransformOptions transform,
                                                 UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
extern const IID IID_KvWicSourceTransform;

class WicPicture {
public:
    // A JPEG file (by its first bytes) the component decodes; null for any
    // other file, without the component, without COM on this thread, or
    // when the component refuses it.
    static WicPicture* OpenJpeg(const WCHAR* path);
    // The first frame of a decoder's; factory (may be null) makes format
    // converters for pixel formats read here without one.
    static WicPicture* FromFrame(IWICBitmapFrameDecode* frame, IWICImagingFactory* factory);
    ~WicPicture();
    WicPicture(const WicPicture&) = delete;
    WicPicture& operator=(const WicPicture&) = delete;

    SIZE size() const { return size_; }
    // The size decoded at 1/denominator (1, 2, 4, 8); false when the decoder
    // cannot give that reduction exactly.
    bool ReducedSize(int denominator, SIZE* size) const;
    // The largest denominator whose reduced picture still has a source
    // rectangle of sourceWidth x sourceHeight (in full-size pixels) at least
    // targetWidth x targetHeight; 1 when none does.
    int ReductionFor(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) const;
    // The rectangle (x, y, width, height) of the picture at 1/denominator as
    // 32-bit BGRX rows, the top one at bits and stride bytes between rows.
    HRESULT Copy(int denominator, int x, int y, int width, int height, BYTE* bits, int stride) const;

private:
    enum Layout { kBgr32, kBgr24, kGray8, kNone };
    WicPicture() = default;
    // Rows of a source in layout, widened to 32 bits into bits.
    HRESULT CopyFrom(IWICBitmapSource* source, Layout layout, const WICRect& rect, BYTE* bits, int stride) const;
    HRESULT CopyReduced(int denominator, const WICRect& rect, BYTE* bits, int stride) const;

    IWICBitmapFrameDecode* frame_ = nullptr;
    IWICBitmapSource* converted_ = nullptr;  // the frame as 32-bit BGR, where read through a converter
    IKvWicSourceTransform* transform_ = nullptr;
    Layout layout_ = kNone;
    SIZE size_ = {0, 0};
};
