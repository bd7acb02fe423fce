// PixGdip's JPEG path through the imaging component, driven by a scripted
// decoder: which reduced decoding it picks, what it asks the decoder for,
// and how the pixels reach the caller's memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "imaging_support.h"
#include "wicpicture.h"

namespace {

// A decoded frame whose pixel (x, y) at 1/d of the size is blue x, green y,
// red 10 d (low bytes). It offers the decoder's scaling when asked to, at the
// sizes the system's JPEG decoder gives (rounded up), or rounded down.
class ScriptedFrame : public IWICBitmapFrameDecode, public IKvWicSourceTransform {
public:
    ScriptedFrame(UINT width, UINT height, const GUID& format, bool scaling)
        : width_(width), height_(height), format_(format), scaling_(scaling) {}

    bool roundDown = false;
    GUID scaledFormat = GUID_WICPixelFormat24bppBGR;
    // What the last reduced copy asked for.
    WICRect lastRect = {};
    UINT lastWidth = 0, lastHeight = 0;
    int fullCopies = 0, scaledCopies = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IWICBitmapSource || iid == IID_IWICBitmapFrameDecode)
            *object = static_cast<IWICBitmapFrameDecode*>(this);
        else if (iid == IID_KvWicSourceTransform && scaling_)
            *object = static_cast<IKvWicSourceTransform*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    ULONG references() const { return references_; }

    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        *format = format_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        *x = *y = 96.0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return WINCODEC_ERR_PALETTEUNAVAILABLE; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT size, BYTE* buffer) override {
        ++fullCopies;
        return Fill(*rect, width_, height_, 1, format_, stride, size, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetMetadataQueryReader(IWICMetadataQueryReader**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetColorContexts(UINT, IWICColorContext**, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetThumbnail(IWICBitmapSource**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                         WICBitmapTransformOptions transform, UINT stride, UINT size,
                                         BYTE* buffer) override {
        ++scaledCopies;
        lastRect = *rect;
        lastWidth = width;
        lastHeight = height;
        const int denominator = static_cast<int>(width_ / width);
        UINT closestWidth = width, closestHeight = height;
        GetClosestSize(&closestWidth, &closestHeight);
        if (transform != WICBitmapTransformRotate0 || closestWidth != width || closestHeight != height ||
            *format != scaledFormat)
            return E_INVALIDARG;
        return Fill(*rect, width, height, denominator, *format, stride, size, buffer);
    }
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        // The nearest of 1/1, 1/2, 1/4, 1/8 not below the request.
        for (UINT d : {8u, 4u, 2u, 1u}) {
            const UINT w = roundDown ? width_ / d : (width_ + d - 1) / d, h = roundDown ? height_ / d : (height_ + d - 1) / d;
            if (w >= *width && h >= *height) {
                *width = w;
                *height = h;
                return S_OK;
            }
        }
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override {
        *format = scaledFormat;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

private:
    static HRESULT Fill(const WICRect& rect, UINT width, UINT height, int denominator, const GUID& format, UINT stride,
                        UINT size, BYTE* buffer) {
        const UINT bytes = format == GUID_WICPixelFormat8bppGray ? 1 : format == GUID_WICPixelFormat24bppBGR ? 3 : 4;
        if (rect.X < 0 || rect.Y < 0 || rect.X + rect.Width > static_cast<INT>(width) ||
            rect.Y + rect.Height > static_cast<INT>(height) || stride < rect.Width * bytes ||
            size < stride * (rect.Height - 1) + rect.Width * bytes)
            return E_INVALIDARG;
        for (int y = 0; y < rect.Height; ++y)
            for (int x = 0; x < rect.Width; ++x) {
                BYTE* pixel = buffer + stride * y + x * bytes;
                const BYTE values[4] = {static_cast<BYTE>(rect.X + x), static_cast<BYTE>(rect.Y + y),
                                        static_cast<BYTE>(10 * denominator), 0xFF};
                if (bytes == 1) pixel[0] = static_cast<BYTE>(rect.X + x + rect.Y + y);
                else memcpy(pixel, values, bytes);
            }
        return S_OK;
    }

    UINT width_, height_;
    GUID format_;
    bool scaling_;
    ULONG references_ = 1;
};

// Pixel (x, y) of a 32-bit buffer read as blue, green, red.
COLORREF At(const std::vector<BYTE>& bits, int stride, int origin, int x, int y) {
    const BYTE* pixel = bits.data() + origin + stride * y + x * 4;
    return RGB(pixel[2], pixel[1], pixel[0]);
}

TEST(WicPicture, TheLargestReductionThatStillCoversTheTargetIsChosen) {
    ScriptedFrame frame(6000, 4000, GUID_WICPixelFormat24bppBGR, true);
    std::unique_ptr<WicPicture> picture(WicPicture::FromFrame(&frame, nullptr));
    ASSERT_TRUE(picture);
    SIZE size;
    ASSERT_TRUE(picture->ReducedSize(2, &size));
    EXPECT_EQ(size.cx, 3000);
    EXPECT_EQ(size.cy, 2000);
    ASSERT_TRUE(picture->ReducedSize(8, &size));
    EXPECT_EQ(size.cx, 750);
    EXPECT_EQ(size.cy, 500);
    EXPECT_FALSE(picture->ReducedSize(3, &size));
    // Fill at 1920 x 1080 scales the picture to 1920 x 1280: 1/4 would give
    // 1500 x 1000, too small.
    EXPECT_EQ(picture->ReductionFor(6000, 4000, 1920, 1280), 2);
    EXPECT_EQ(picture->ReductionFor(6000, 4000, 800, 500), 4);
    EXPECT_EQ(picture->ReductionFor(6000, 4000, 750, 500), 8);
    EXPECT_EQ(picture->ReductionFor(6000, 4000, 6000, 4000), 1);
    EXPECT_EQ(picture->ReductionFor(6000, 4000, 3001, 100), 1) << "one side is enough to need the whole";
    // A part of the picture shrinks with it.
    EXPECT_EQ(picture->ReductionFor(3000, 2000, 700, 400), 4);

    // Odd sizes round up, as the decoder does; a decoder that rounds
    // otherwise is not used, its pixels would not line up.
    ScriptedFrame odd(6001, 4001, GUID_WICPixelFormat24bppBGR, true);
    std::unique_ptr<WicPicture> oddPicture(WicPicture::FromFrame(&odd, nullptr));
    ASSERT_TRUE(oddPicture->ReducedSize(8, &size));
    EXPECT_EQ(size.cx, 751);
    EXPECT_EQ(size.cy, 501);
    odd.roundDown = true;
    EXPECT_FALSE(oddPicture->ReducedSize(8, &size));
    EXPECT_EQ(oddPicture->ReductionFor(6001, 4001, 100, 100), 1);
}

TEST(WicPicture, ReducedPixelsComeFromTheDecodersOwnScalingInTheCallersRows) {
    ScriptedFrame frame(6000, 4000, GUID_WICPixelFormat24bppBGR, true);
    std::unique_ptr<WicPicture> picture(WicPicture::FromFrame(&frame, nullptr));
    ASSERT_TRUE(picture);
    // Top-down memory, then bottom-up memory (negative stride).
    for (bool bottomUp : {false, true}) {
        SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
        const int width = 5, height = 3, stride = width * 4;
        std::vector<BYTE> bits(stride * height, 0xCC);
        const int origin = bottomUp ? stride * (height - 1) : 0;
        const int step = bottomUp ? -stride : stride;
        ASSERT_EQ(picture->Copy(4, 10, 20, width, height, bits.data() + origin, step), S_OK);
        EXPECT_EQ(frame.lastWidth, 1500u);
        EXPECT_EQ(frame.lastHeight, 1000u);
        EXPECT_EQ(frame.lastRect.X, 10) << "the rectangle is in reduced pixels";
        EXPECT_EQ(frame.lastRect.Y, 20);
        EXPECT_EQ(frame.lastRect.Width, width);
        EXPECT_EQ(frame.lastRect.Height, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(At(bits, step, origin, x, y), RGB(40, 20 + y, 10 + x)) << x << "," << y;
        EXPECT_EQ(bits[origin + 3], 0) << "the fourth byte of a widened pixel";
    }
    EXPECT_EQ(frame.fullCopies, 0) << "nothing was decoded at full size";
    // Rectangles beyond the reduced picture are refused before the decoder.
    std::vector<BYTE> bits(16);
    EXPECT_TRUE(FAILED(picture->Copy(8, 749, 0, 2, 1, bits.data(), 8)));
    EXPECT_TRUE(FAILED(picture->Copy(2, -1, 0, 1, 1, bits.data(), 4)));
}

TEST(WicPicture, WithoutTheDecodersScalingThePictureIsCopiedAtItsOwnSize) {
    for (const GUID& format : {GUID_WICPixelFormat24bppBGR, GUID_WICPixelFormat8bppGray, GUID_WICPixelFormat32bppBGR}) {
        ScriptedFrame frame(300, 200, format, false);
        std::unique_ptr<WicPicture> picture(WicPicture::FromFrame(&frame, nullptr));
        ASSERT_TRUE(picture);
        SIZE size;
        EXPECT_FALSE(picture->ReducedSize(2, &size));
        EXPECT_EQ(picture->ReductionFor(300, 200, 10, 10), 1);
        const int width = 4, height = 2;
        std::vector<BYTE> bits(width * 4 * height);
        ASSERT_EQ(picture->Copy(1, 7, 9, width, height, bits.data(), width * 4), S_OK);
        const bool grey = format == GUID_WICPixelFormat8bppGray;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const BYTE g = static_cast<BYTE>(7 + x + 9 + y);
                EXPECT_EQ(At(bits, width * 4, 0, x, y), grey ? RGB(g, g, g) : RGB(10, 9 + y, 7 + x));
            }
        EXPECT_TRUE(FAILED(picture->Copy(2, 0, 0, 1, 1, bits.data(), 4)));
        EXPECT_EQ(frame.scaledCopies, 0);
    }
    // A pixel format it cannot widen itself needs the component's converter.
    ScriptedFrame cmyk(30, 20, GUID_WICPixelFormat32bppCMYK, false);
    EXPECT_EQ(WicPicture::FromFrame(&cmyk, nullptr), nullptr);
    EXPECT_EQ(cmyk.references(), 1u) << "a refused frame is not kept";
}

// The real component: JPEGs load through it where it is there, and Windows
// Vista and later decode them at reduced sizes; Wine's decoder cannot.
TEST(WicPicture, TheSystemsJpegDecoderReducesWhereThePlatformCan) {
    ComScope com;
    const std::string path = TestPicture("quad.jpg");
    std::wstring wide(path.begin(), path.end());
    std::unique_ptr<WicPicture> picture(WicPicture::OpenJpeg(wide.c_str()));
    ASSERT_TRUE(picture) << "the imaging component reads the JPEG";
    EXPECT_EQ(picture->size().cx, 40);
    EXPECT_EQ(picture->size().cy, 30);
    const std::string png = TestPicture("quad.png");
    EXPECT_EQ(WicPicture::OpenJpeg(std::wstring(png.begin(), png.end()).c_str()), nullptr) << "JPEGs only";
    SIZE half;
    if (!picture->ReducedSize(2, &half)) {
        if (RunningOnWine()) GTEST_SKIP() << "Wine's JPEG decoder offers no IWICBitmapSourceTransform (no reduced decoding)";
        FAIL() << "the system's JPEG decoder offers 1/2 size";
    }
    EXPECT_EQ(half.cx, 20);
    EXPECT_EQ(half.cy, 15);
    std::vector<BYTE> bits(20 * 15 * 4);
    ASSERT_EQ(picture->Copy(2, 0, 0, 20, 15, bits.data(), 20 * 4), S_OK);
    EXPECT_PRED3(Near, At(bits, 80, 0, 2, 2), RGB(255, 0, 0), 40);
    EXPECT_PRED3(Near, At(bits, 80, 0, 17, 12), RGB(255, 255, 0), 40);
}

}  // namespace
