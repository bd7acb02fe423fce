// The smooth scaler the host uses for "KvIncrease" and plug-ins use for
// skins. The result is always exactly the size asked for.
#include <windows.h>

#include "bitmappixels.h"
#include "imgload_exports.h"
#include "resample.h"
#include "scopedwin.h"

namespace {

// Rows from the caller's source, a band at a time as it hands them.
class SourceRows : public RowSupply {
public:
    SourceRows(KvRowSource* source, const SourceArea& area) : source_(source), area_(area) {}
    const uint8_t* Row(int y) override {
        if (y < bandRow_ || y >= bandRow_ + bandRows_) {
            int rows = 0, stride = 0;
            const BYTE* first = source_->rows(source_, area_.left, area_.right, y, &rows, &stride);
            if (!first || rows < 1) return nullptr;
            band_ = first;
            bandRow_ = y;
            bandRows_ = rows;
            stride_ = stride;
        }
        return band_ + static_cast<ptrdiff_t>(stride_) * (y - bandRow_);
    }

private:
    KvRowSource* source_;
    SourceArea area_;
    const BYTE* band_ = nullptr;
    int bandRow_ = 0, bandRows_ = 0, stride_ = 0;
};

}  // namespace

// name is a scratch file name for scalers that work through files; this one
// works in memory and does not use it.
extern "C" HBITMAP WINAPI ScaleBitmap(HBITMAP bitmap, int* width, int* height, const char*) {
    if (!bitmap || !width || !height || *width <= 0 || *height <= 0) return nullptr;
    BitmapPixels source;
    if (!source.Read(bitmap)) return nullptr;
    uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    ScopedGdiObj<HBITMAP> scaled(CreateSection32(*width, *height, &top, &stride));
    if (!scaled) return nullptr;
    const PixelRows from = {source.row(0), source.height() > 1 ? source.row(1) - source.row(0) : 0, source.width(),
                            source.height()};
    const MutablePixelRows to = {top, stride, *width, *height};
    if (!Resample(from, to)) return nullptr;
    GdiFlush();
    return scaled.release();
}

extern "C" HBITMAP WINAPI ScaleRows(KvRowSource* source, int width, int height, const RECT* window) {
    if (!source || !source->rows || source->width <= 0 || source->height <= 0 || width <= 0 || height <= 0)
        return nullptr;
    const RECT whole = {0, 0, width, height};
    if (!window) window = &whole;
    const ScaleJob job = {source->width, source->height, width, height,
                          static_cast<int>(window->left), static_cast<int>(window->top),
                          static_cast<int>(window->right), static_cast<int>(window->bottom)};
    SourceArea area;
    if (!ReadArea(job, &area)) return nullptr;
    uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    ScopedGdiObj<HBITMAP> scaled(CreateSection32(job.right - job.left, job.bottom - job.top, &top, &stride));
    if (!scaled) return nullptr;
    SourceRows rows(source, area);
    if (!ResampleWindow(job, rows, {top, stride, job.right - job.left, job.bottom - job.top})) return nullptr;
    GdiFlush();
    return scaled.release();
}
