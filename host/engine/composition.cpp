#include "engine/composition.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/globals.h"
#include "createpathfile.h"
#include "dib_section.h"
#include "ids_wall.h"
#include "kvinifunction.h"
#include "scopedwin.h"

int positionType = -1;

namespace {

// Rows of a picture drawn at a time at its own size.
const size_t kBandBytes = 8 * 1024 * 1024;
// Rows of a picture handed to the scaler at a time.
const size_t kScaleBandBytes = 4 * 1024 * 1024;
// The largest copy of a picture at its own size: the system's drawing
// functions count a bitmap's bytes in 32-bit signed numbers. A 32-bit
// process never gets that much; an x64 one would, and must not try.
const unsigned long long kLargestOwnCopyBytes = 0x7FFFFFFF;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Size of the bitmap selected into dc.
RECT SelectedBounds(HDC dc) {
    BITMAP bitmap = {};
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
    if (selected) GetObjectA(selected, sizeof bitmap, &bitmap);
    return {0, 0, bitmap.bmWidth, bitmap.bmHeight};
}

void FillWithColour(HDC dc, const RECT& rect, COLORREF colour) {
    // Opaque text output takes the nearest colour of an 8-bit palette instead
    // of dithering as a brush would.
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
}

// Mirrors the part of rect that lies on the bitmap: a picture that overflows
// the screen (centre, fill) must not be mirrored from pixels that do not exist.
void MirrorVisible(HDC dc, const RECT& rect, const CompositionOptions& options) {
    if (!options.mirrorTopBottom && !options.mirrorLeftRight) return;
    RECT visible;
    const RECT bounds = SelectedBounds(dc);
    if (!IntersectRect(&visible, &rect, &bounds)) return;
    GorVer(dc, visible.left, visible.top, Width(visible), Height(visible), options.mirrorTopBottom,
           options.mirrorLeftRight);
}

// The picture drawn by its loader into its place, then mirrored there.
void DrawStraight(HDC dc, s_picture* picture, SIZE size, const RECT& place, const CompositionOptions& options) {
    tStretchImg(picture, dc, place.left, place.top, Width(place), Height(place), 0, 0, size.cx, size.cy, SRCCOPY);
    MirrorVisible(dc, place, options);
}

// The picture handed to the module's scaler a band of rows at a time, so no
// copy of the whole picture exists: copied by its loader where the loader
// can, else drawn 1:1 into a small section.
class PictureBands {
public:
    PictureBands(HDC dc, s_picture* picture, int denominator, SIZE size)
        : picture_(picture), denominator_(denominator), memory_(dc) {
        source_.width = size.cx;
        source_.height = size.cy;
        source_.rows = Rows;
        source_.owner = this;
    }
    ~PictureBands() {
        if (old_) SelectObject(memory_, old_);
    }
    PictureBands(const PictureBands&) = delete;
    PictureBands& operator=(const PictureBands&) = delete;
    KvRowSource* source() { return &source_; }

private:
    struct Source : KvRowSource {
        PictureBands* owner;
    };

    static const BYTE* WINAPI Rows(KvRowSource* self, int left, int right, int row, int* rows, int* stride) {
        return static_cast<Source*>(self)->owner->Band(left, right, row, rows, stride);
    }

    const BYTE* Band(int left, int right, int row, int* rows, int* stride) {
        const int width = right - left;
        if (width <= 0 || left < 0 || right > source_.width || row < 0 || row >= source_.height || !memory_)
            return nullptr;
        if (!band_ || width != bandWidth_) {
            if (old_) SelectObject(memory_, old_);
            old_ = nullptr;
            const size_t fit = kScaleBandBytes / (static_cast<size_t>(width) * 4);
            bandRows_ = static_cast<int>(std::min<size_t>(source_.height, std::max<size_t>(1, fit)));
            band_.reset(TopDownSection(width, bandRows_));
            if (!band_) return nullptr;
            bandWidth_ = width;
            old_ = SelectObject(memory_, band_.get());
        }
        const int count = std::min(bandRows_, source_.height - row);
        *rows = count;
        *stride = width * 4;
        if (!drawOnly_ && tCopyImgPixels(picture_, denominator_, left, row, width, count, bits_, *stride)) return bits_;
        // Drawing works at the picture's own size only.
        if (denominator_ != 1) return nullptr;
        drawOnly_ = true;
        GdiFlush();
        // As a fresh section is: what the picture leaves transparent is black.
        memset(bits_, 0, static_cast<size_t>(*stride) * count);
        tStretchImg(picture_, memory_, 0, 0, width, count, left, row, width, count, SRCCOPY);
        GdiFlush();
        return bits_;
    }

    HBITMAP TopDownSection(int width, int height) {
        void* bits = nullptr;
        HBITMAP bitmap = CreateDibSection32(width, height, true, &bits);
        bits_ = static_cast<BYTE*>(bits);
        return bitmap;
    }

    Source source_;
    s_picture* picture_;
    int denominator_;
    ScopedMemoryDC memory_;
    ScopedGdiObj<HBITMAP> band_;
    HGDIOBJ old_ = nullptr;
    BYTE* bits_ = nullptr;
    int bandWidth_ = 0, bandRows_ = 0;
    bool drawOnly_ = false;  // the loader could not copy: drawn from then on
};

// Smooth scaling through the module's banded scaler: only the part of the
// picture that shows is read and scaled (fill and overflowing placements cut
// the rest), from a reduced decoding where the loader offers one that still
// covers the destination; mirroring is done on the screen-sized result.
// False when the scaler could not make it.
bool ScaleInBands(HDC dc, s_picture* picture, SIZE size, const RECT& destination,
                  const CompositionOptions& options) {
    const int W = Width(destination), H = Height(destination);
    RECT visible;
    const RECT bounds = SelectedBounds(dc);
    if (W <= 0 || H <= 0 || !IntersectRect(&visible, &destination, &bounds)) return true;
    // Where the visible part lies in the scaled picture before mirroring:
    // the scaled picture of a mirrored picture is the mirrored scaled one.
    RECT window = {visible.left - destination.left, visible.top - destination.top, visible.right - destination.left,
                   visible.bottom - destination.top};
    if (options.mirrorLeftRight) window = {W - window.right, window.top, W - window.left, window.bottom};
    if (options.mirrorTopBottom) window = {window.left, H - window.bottom, window.right, H - window.top};

    int denominator = 1;
    SIZE source = size;
    for (int reduction : {8, 4, 2}) {
        SIZE reduced;
        if (tReducedImgSize(picture, reduction, &reduced) && reduced.cx >= W && reduced.cy >= H) {
            denominator = reduction;
            source = reduced;
            break;
        }
    }
    ScopedGdiObj<HBITMAP> scaled;
    {
        PictureBands bands(dc, picture, denominator, source);
        scaled.reset(pScaleRows(bands.source(), W, H, &window));
    }
    if (!scaled && denominator != 1) {
        PictureBands bands(dc, picture, 1, size);
        scaled.reset(pScaleRows(bands.source(), W, H, &window));
    }
    if (!scaled) return false;
    ScopedMemoryDC memory(dc);
    if (!memory) return false;
    {
        ScopedSelectObject select(memory, scaled.get());
        BitBlt(dc, visible.left, visible.top, Width(visible), Height(visible), memory, 0, 0, SRCCOPY);
    }
    GorVer(dc, visible.left, visible.top, Width(visible), Height(visible), options.mirrorTopBottom,
           options.mirrorLeftRight);
    return true;
}

// The picture drawn 1:1, mirrored, scaled by the image module to the
// destination size and copied there: for modules without the banded scaler.
void DrawScaled(HDC dc, s_picture* picture, SIZE size, const RECT& destination, const CompositionOptions& options) {
    if (pScaleRows && ScaleInBands(dc, picture, size, destination, options)) return;
    // 32 bits whatever the wallpaper's depth: the scaler reads 32-bit
    // sections in place and would otherwise copy the whole picture again.
    const bool copyFits =
        4ull * static_cast<unsigned>(size.cx) * static_cast<unsigned>(size.cy) <= kLargestOwnCopyBytes;
    ScopedGdiObj<HBITMAP> own(copyFits ? CreateWallSection(dc, size.cx, size.cy, 32) : nullptr);
    ScopedMemoryDC memory(dc);
    if (!own || !memory) {
        // No room for the picture at its own size: drawn straight into its
        // place it is at least there.
        DrawStraight(dc, picture, size, destination, options);
        return;
    }
    {
        ScopedSelectObject select(memory, own.get());
        // In bands of rows: a loader may need a working copy of what it
        // draws (GDI+ does), and a band's copy is small where the whole
        // picture's would double the memory a large picture takes.
        const int band = std::max(1, static_cast<int>(kBandBytes / (static_cast<size_t>(size.cx) * 4)));
        for (int top = 0; top < size.cy; top += band) {
            const int rows = std::min(band, static_cast<int>(size.cy) - top);
            tStretchImg(picture, memory, 0, top, size.cx, rows, 0, top, size.cx, rows, SRCCOPY);
        }
        GorVer(memory, 0, 0, size.cx, size.cy, options.mirrorTopBottom, options.mirrorLeftRight);
    }
    int width = size.cx, height = size.cy;
    if (pScaleBitmap && (Width(destination) != width || Height(destination) != height)) {
        int scaledWidth = Width(destination), scaledHeight = Height(destination);
        if (HBITMAP scaled = pScaleBitmap(own.get(), &scaledWidth, &scaledHeight, "Kvtemp")) {
            own.reset(scaled);
            width = scaledWidth;
            height = scaledHeight;
        }
    }
    // Without a scaler (or when it fails) the picture is still stretched to
    // its place rather than cut.
    ScopedSelectObject select(memory, own.get());
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, destination.left, destination.top, Width(destination), Height(destination), memory, 0, 0, width,
               height, SRCCOPY);
    if (oldMode) SetStretchBltMode(dc, oldMode);
}

// Tiles from the area's top-left corner until its right and bottom edges;
// the first tile is drawn, the others are copies of it.
void DrawTiles(HDC dc, s_picture* picture, SIZE size, const RECT& area) {
    if (size.cx <= 0 || size.cy <= 0) return;
    tStretchImg(picture, dc, area.left, area.top, size.cx, size.cy, 0, 0, size.cx, size.cy, SRCCOPY);
    const int across = (Width(area) + size.cx - 1) / size.cx;
    const int down = (Height(area) + size.cy - 1) / size.cy;
    const int rowWidth = across * size.cx, columnHeight = down * size.cy;
    for (int filled = size.cx; filled < rowWidth;) {
        const int copy = std::min(filled, rowWidth - filled);
        BitBlt(dc, area.left + filled, area.top, copy, size.cy, dc, area.left, area.top, SRCCOPY);
        filled += copy;
    }
    for (int filled = size.cy; filled < columnHeight;) {
        const int copy = std::min(filled, columnHeight - filled);
        BitBlt(dc, area.left, area.top + filled, rowWidth, copy, dc, area.left, area.top, SRCCOPY);
        filled += copy;
    }
}

// Margins beside a fitted picture: its outermost column or row stretched out.
void SmearEdges(HDC dc, const RECT& area, const RECT& picture) {
    const int x = picture.left, y = picture.top, width = Width(picture), height = Height(picture);
    const int left = area.left, top = area.top, W = Width(area), H = Height(area);
    if (x > left) {
        StretchBlt(dc, left, y, x - left, height, dc, x, y, 1, height, SRCCOPY);
        StretchBlt(dc, x + width, y, left + W - x - width, height, dc, x + width - 1, y, 1, height, SRCCOPY);
    }
    if (y > top) {
        StretchBlt(dc, x, top, width, y - top, dc, x, y, width, 1, SRCCOPY);
        StretchBlt(dc, x, y + height, width, top + H - y - height, dc, x, y + height - 1, width, 1, SRCCOPY);
    }
}

// Margins beside a fitted picture in the average colour of the picture's
// outermost column or row on that side.
void AverageEdges(HDC dc, const RECT& area, const RECT& picture) {
    const int x = picture.left, y = picture.top, width = Width(picture), height = Height(picture);
    const int left = area.left, top = area.top, W = Width(area), H = Height(area);
    // Each band is painted from a pixel of its own, so even a band one pixel
    // wide gets its colour.
    auto band = [&](const RECT& edge, int bx, int by, int bw, int bh) {
        if (bw <= 0 || bh <= 0) return;
        SetPixel(dc, bx, by, GetAverageColor(dc, &edge));
        StretchBlt(dc, bx, by, bw, bh, dc, bx, by, 1, 1, SRCCOPY);
    };
    if (x > left) {
        RECT leftColumn = {x, y, x + 1, y + height};
        band(leftColumn, left, y, x - left, height);
        RECT rightColumn = {x + width - 1, y, x + width, y + height};
        band(rightColumn, x + width, y, left + W - x - width, height);
    }
    if (y > top) {
        RECT topRow = {x, y, x + width, y + 1};
        band(topRow, x, top, width, y - top);
        RECT bottomRow = {x, y + height - 1, x + width, y + height};
        band(bottomRow, x, y + height, width, top + H - y - height);
    }
}

}  // namespace

int DepthForIndex(int index, int screenBits) {
    switch (index) {
        case 1: return 32;
        case 2: return 24;
        case 3: return 16;
        case 4: return 8;
        default: return screenBits > 0 ? screenBits : 32;
    }
}

float ParseSizeFactor(const char* text) {
    if (!text) return 2.0f;
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    char* end = nullptr;
    const double value = strtod(number.c_str(), &end);
    if (end == number.c_str() || !(value > 0.0) || value > 1e6) return 2.0f;
    return static_cast<float>(value);
}

int ResolvePlacement(int global, int pagePlacement, SIZE picture, int areaWidth, int areaHeight, float f) {
    int placement = global > 8 ? -1 : global;
    if (placement < 0) placement = pagePlacement;
    if (placement < 0 || placement > 8) placement = KV_PLACE_FIT;
    if (placement == KV_PLACE_AUTO_STRETCH || placement == KV_PLACE_AUTO_FIT) {
        if (!(f > 0.0f)) f = 2.0f;
        const bool larger = static_cast<float>(areaWidth) / f < static_cast<float>(picture.cx) ||
                            static_cast<float>(areaHeight) / f < static_cast<float>(picture.cy);
        if (placement == KV_PLACE_AUTO_STRETCH) placement = larger ? KV_PLACE_STRETCH : KV_PLACE_TILE;
        else placement = larger ? KV_PLACE_FIT : KV_PLACE_CENTRE;
    }
    return placement;
}

RECT PlacementRect(int placement, const RECT& area, SIZE picture) {
    const int W = Width(area), H = Height(area);
    int width = picture.cx, height = picture.cy;
    switch (placement) {
        case KV_PLACE_STRETCH:
            return area;
        case KV_PLACE_TILE:
            return {area.left, area.top, area.left + width, area.top + height};
        case KV_PLACE_FIT:
        case KV_PLACE_FIT_SMEARED:
        case KV_PLACE_FIT_AVERAGE:
        case KV_PLACE_FILL: {
            if (width <= 0 || height <= 0) return {area.left, area.top, area.left, area.top};
            const float across = static_cast<float>(W) / static_cast<float>(width);
            const float down = static_cast<float>(H) / static_cast<float>(height);
            const float s = placement == KV_PLACE_FILL ? std::max(across, down) : std::min(across, down);
            width = static_cast<int>(static_cast<float>(picture.cx) * s);
            height = static_cast<int>(static_cast<float>(picture.cy) * s);
            break;
        }
        default:
            break;
    }
    const int x = area.left + (W - width) / 2, y = area.top + (H - height) / 2;
    return {x, y, x + width, y + height};
}

HBITMAP CreateWallSection(HDC dc, int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 0) return nullptr;
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24) bitsPerPixel = 32;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitsPerPixel == 8) {
        // Inverting an 8-bit section inverts its indices, so index 255 - i
        // holds the complement of index i: 20 dark greys, the 6 x 6 x 6
        // colour cube (itself symmetric) and the 20 light greys that
        // complement the dark ones.
        for (int i = 0; i < 20; ++i) {
            const BYTE grey = static_cast<BYTE>((i + 1) * 255 / 41);
            info.colours[i] = {grey, grey, grey, 0};
            const BYTE light = static_cast<BYTE>(255 - grey);
            info.colours[255 - i] = {light, light, light, 0};
        }
        int n = 20;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b, ++n)
                    info.colours[n] = {static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(r * 51), 0};
        info.header.biClrUsed = 256;
    }
    void* bits = nullptr;
    return CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
}

void GorVer(HDC dc, int x, int y, int width, int height, int mirrorTopBottom, int mirrorLeftRight) {
    if (!dc || width <= 0 || height <= 0) return;
    if (mirrorTopBottom && mirrorLeftRight)
        StretchBlt(dc, x, y, width, height, dc, x + width - 1, y + height - 1, -width, -height, SRCCOPY);
    else if (mirrorTopBottom)
        StretchBlt(dc, x, y, width, height, dc, x, y + height - 1, width, -height, SRCCOPY);
    else if (mirrorLeftRight)
        StretchBlt(dc, x, y, width, height, dc, x + width - 1, y, -width, height, SRCCOPY);
}

COLORREF GetAverageColor(HDC dc, const RECT* rect) {
    if (!dc || !rect || rect->right <= rect->left || rect->bottom <= rect->top) return 0;
    unsigned long long red = 0, green = 0, blue = 0, count = 0;
    for (int y = rect->top; y < rect->bottom; ++y)
        for (int x = rect->left; x < rect->right; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == CLR_INVALID) continue;
            red += GetRValue(pixel);
            green += GetGValue(pixel);
            blue += GetBValue(pixel);
            ++count;
        }
    if (!count) return 0;
    return RGB(red / count, green / count, blue / count);
}

void ComposePicture(HDC dc, const RECT& desktop, const RECT& workArea, s_picture* picture, SIZE size,
                    const CompositionOptions& options) {
    const RECT all = {0, 0, desktop.right, desktop.bottom};
    FillWithColour(dc, all, options.background);
    if (options.invert) PatBlt(dc, 0, 0, all.right, all.bottom, DSTINVERT);
    const RECT area = options.useWorkArea ? workArea : desktop;

    if (picture && size.cx > 0 && size.cy > 0) {
        const int placement =
            ResolvePlacement(positionType, options.pagePlacement, size, Width(area), Height(area), options.sizeFactor);
        const RECT place = PlacementRect(placement, area, size);
        if (placement == KV_PLACE_TILE) {
            DrawTiles(dc, picture, size, area);
            GorVer(dc, area.left, area.top, Width(area), Height(area), options.mirrorTopBottom,
                   options.mirrorLeftRight);
        } else if (placement != KV_PLACE_CENTRE && options.increase) {
            DrawScaled(dc, picture, size, place, options);
        } else {
            DrawStraight(dc, picture, size, place, options);
        }
        if (placement == KV_PLACE_FIT_SMEARED) SmearEdges(dc, area, place);
        if (placement == KV_PLACE_FIT_AVERAGE) AverageEdges(dc, area, place);
    }

    if (options.invert) PatBlt(dc, 0, 0, all.right, all.bottom, DSTINVERT);
    GdiFlush();
}
