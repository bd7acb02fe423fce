// The dial, the hands and the digital text, in window and on the desktop.
#include <windows.h>

#include <climits>
#include <cstdlib>

#include "clock_face.h"
#include "clock_ids.h"
#include "clock_plugin.h"
#include "createpathfile.h"
#include "dravonel_plugin.h"
#include "scopedwin.h"

namespace {

void DrawStroke(HDC dc, const ClockStroke& stroke, COLORREF colour) {
    ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, stroke.width, colour));
    ScopedSelectObject selected(dc, pen.get());
    MoveToEx(dc, stroke.x1, stroke.y1, nullptr);
    LineTo(dc, stroke.x2, stroke.y2);
}

// The skin through the host's image loader, as a bitmap of the diameter.
HBITMAP LoadSkinBitmap(int diameter) {
    const std::string& skin = clockPlugin.options.skin;
    if (skin.empty()) return nullptr;
    HeapString path(CreatePathFile("Clock", skin.c_str(), nullptr));
    if (!path) return nullptr;
    SIZE size = {};
    s_loadpicture load = {&size, path.get()};
    void* picture = reinterpret_cast<void*>(HostService(KvSrvLoadPicture, &load));
    if (!picture) return nullptr;

    s_imgtobmp convert = {picture, &size, &size, 0, 0, 0};
    ScopedGdiObj<HBITMAP> full(reinterpret_cast<HBITMAP>(HostService(KvSrvImageToBitmap, &convert)));
    HBITMAP scaled = nullptr;
    if (full) {
        int width = diameter, height = diameter;
        char scratch[] = "KvtempClock";
        s_scalebitmap scale = {full.get(), &width, &height, scratch};
        scaled = reinterpret_cast<HBITMAP>(HostService(KvSrvScaleBitmap, &scale));
        if (!scaled) {
            // A loader without a scaler: stretch it here.
            ScopedGetDC screen(nullptr);
            scaled = CreateCompatibleBitmap(screen, diameter, diameter);
            ScopedMemoryDC from(screen), to(screen);
            if (scaled && from && to) {
                ScopedSelectObject a(from, full.get());
                ScopedSelectObject b(to, scaled);
                SetStretchBltMode(to, HALFTONE);
                SetBrushOrgEx(to, 0, 0, nullptr);
                StretchBlt(to, 0, 0, diameter, diameter, from, 0, 0, size.cx, size.cy, SRCCOPY);
            }
        }
    }
    HostServiceValue(KvSrvReleasePicture, reinterpret_cast<LPARAM>(picture));
    return scaled;
}

}  // namespace

void ReleaseDial() {
    if (clockPlugin.dial) DeleteObject(clockPlugin.dial);
    clockPlugin.dial = nullptr;
    clockPlugin.dialDiameter = 0;
}

void BuildDial() {
    ReleaseDial();
    const ClockOptions& o = clockPlugin.options;
    const int d = ClockDiameter(o.storedDiameter);
    ScopedGetDC screen(nullptr);
    ScopedGdiObj<HBITMAP> dial(CreateCompatibleBitmap(screen, d, d));
    ScopedMemoryDC dc(screen);
    if (!dial || !dc) return;
    ScopedSelectObject selectDial(dc, dial.get());

    ScopedGdiObj<HBITMAP> skin(LoadSkinBitmap(d));
    if (skin) {
        ScopedMemoryDC from(screen);
        ScopedSelectObject selectSkin(from, skin.get());
        BitBlt(dc, 0, 0, d, d, from, 0, 0, SRCCOPY);
    } else {
        ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(o.bottomColour));
        ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, 1, o.bottomColour));
        ScopedSelectObject b(dc, brush.get());
        ScopedSelectObject p(dc, pen.get());
        PatBlt(dc, 0, 0, d, d, BLACKNESS);
        RoundRect(dc, 0, 0, d, d, d, d);
    }

    if (o.marks)
        for (const ClockStroke& mark : HourMarks(d)) DrawStroke(dc, mark, o.markColour);
    if (o.rim) {
        ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, RimWidth(d), o.rimColour));
        ScopedSelectObject p(dc, pen.get());
        Arc(dc, 0, 0, d - 1, d - 1, d / 2, 0, d / 2, 0);
    }
    // Black corners: twice NOTSRCERASE with a white square holding a black disc.
    // Done last, so the outer half of the rim's pen does not tint the desktop
    // around a clock painted there.
    ScopedGdiObj<HBITMAP> mask(CreateCompatibleBitmap(screen, d, d));
    ScopedMemoryDC maskDc(screen);
    if (mask && maskDc) {
        ScopedSelectObject m(maskDc, mask.get());
        PatBlt(maskDc, 0, 0, d, d, WHITENESS);
        ScopedSelectObject b(maskDc, GetStockObject(BLACK_BRUSH));
        ScopedSelectObject p(maskDc, GetStockObject(BLACK_PEN));
        Ellipse(maskDc, 0, 0, d - 1, d - 1);
        BitBlt(dc, 0, 0, d, d, maskDc, 0, 0, NOTSRCERASE);
        BitBlt(dc, 0, 0, d, d, maskDc, 0, 0, NOTSRCERASE);
    }

    clockPlugin.dial = dial.release();
    clockPlugin.dialDiameter = d;
}

void DrawAnalogClock(HDC target, int x, int y, bool seeThrough) {
    if (!clockPlugin.dial) BuildDial();
    if (!clockPlugin.dial || !target) return;
    const int d = clockPlugin.dialDiameter;
    const ClockOptions& o = clockPlugin.options;
    ScopedGdiObj<HBITMAP> frame(CreateCompatibleBitmap(target, d, d));
    ScopedMemoryDC dc(target), dialDc(target);
    if (!frame || !dc || !dialDc) return;
    ScopedSelectObject f(dc, frame.get());
    ScopedSelectObject g(dialDc, clockPlugin.dial);
    if (seeThrough) {
        BitBlt(dc, 0, 0, d, d, target, x, y, SRCCOPY);
        ScopedSelectObject b(dc, GetStockObject(BLACK_BRUSH));
        ScopedSelectObject p(dc, GetStockObject(BLACK_PEN));
        Ellipse(dc, 0, 0, d - 1, d - 1);
        BitBlt(dc, 0, 0, d, d, dialDc, 0, 0, SRCPAINT);
    } else {
        BitBlt(dc, 0, 0, d, d, dialDc, 0, 0, SRCCOPY);
    }
    const SYSTEMTIME& t = clockPlugin.now;
    const ClockHands hands = HandStrokes(d, t.wHour, t.wMinute, t.wSecond);
    if (o.secondHand) DrawStroke(dc, hands.second, o.secondColour);
    if (o.minuteHand) DrawStroke(dc, hands.minute, o.minuteColour);
    if (o.hourHand) DrawStroke(dc, hands.hour, o.hourColour);
    BitBlt(target, x, y, d, d, dc, 0, 0, SRCCOPY);
}

void ReleaseClockFont() {
    if (clockPlugin.font) DeleteObject(clockPlugin.font);
    clockPlugin.font = nullptr;
}

void EnsureClockFont() {
    if (clockPlugin.font) return;
    LOGFONTA font = {};
    HFONT box = clockPlugin.page ? reinterpret_cast<HFONT>(SendDlgItemMessageA(clockPlugin.page, IDC_FONTBOX, WM_GETFONT, 0, 0))
                                 : nullptr;
    if (!box || !GetObjectA(box, sizeof font, &font)) {
        lstrcpynA(font.lfFaceName, "System", LF_FACESIZE);
        font.lfCharSet = 204;
    }
    font.lfHeight = clockPlugin.options.fontHeight < 8 ? 8 : clockPlugin.options.fontHeight;
    font.lfWidth = 0;
    font.lfQuality = clockPlugin.options.smooth ? 5 : NONANTIALIASED_QUALITY;
    clockPlugin.font = CreateFontIndirectA(&font);
}

void RefreshClockFigures() {
    const unsigned used = clockPlugin.sources;
    ClockFigures& f = clockPlugin.figures;
    const ClockOptions& o = clockPlugin.options;
    char text[256];
    if (used & CLOCK_NEEDS_TIME) {
        int n = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &clockPlugin.now, o.timePicture.c_str(), text, sizeof text);
        f.time.assign(text, n > 0 ? n - 1 : 0);
    }
    if (used & CLOCK_NEEDS_WEEKDAY) {
        int n = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &clockPlugin.now, o.weekdayPicture.c_str(), text, sizeof text);
        f.weekday.assign(text, n > 0 ? n - 1 : 0);
    }
    if (used & CLOCK_NEEDS_DATE) {
        int n = GetDateFormatA(LOCALE_USER_DEFAULT, 0, &clockPlugin.now, o.datePicture.c_str(), text, sizeof text);
        f.date.assign(text, n > 0 ? n - 1 : 0);
    }
    if (used & CLOCK_NEEDS_MEMORY) {
        MEMORYSTATUS memory = {};
        memory.dwLength = sizeof memory;
        GlobalMemoryStatus(&memory);
        f.freeMemoryMb = static_cast<unsigned>(memory.dwAvailPhys >> 20);
        f.memoryLoad = static_cast<int>(memory.dwMemoryLoad);
        f.pageFileMb = static_cast<unsigned>((memory.dwTotalPageFile - memory.dwAvailPageFile) >> 20);
    }
    if (used & CLOCK_NEEDS_PROCESSOR) f.processor = static_cast<int>(HostServiceValue(KvSrvProcessorLoad, 0));
    if (used & CLOCK_NEEDS_UPTIME) f.uptimeSeconds = GetTickCount() / 1000;
    if (used & CLOCK_NEEDS_WALLPAPER) f.wallpaper = HostText(KvSrvCurrentWallpaper);
    if (used & CLOCK_NEEDS_SAVER) f.saver = HostText(KvSrvCurrentSaver);
}

namespace {

class GdiClockCanvas : public ClockCanvas {
public:
    explicit GdiClockCanvas(HDC dc) : dc_(dc) {}
    int LineHeight() override {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, " ", 1, &size);
        return size.cy;
    }
    int TextWidth(const char* text, size_t length) override {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text, Length(length), &size);
        return size.cx;
    }
    void Text(int x, int y, const char* text, size_t length, uint32_t colour) override {
        SetTextColor(dc_, colour);
        TextOutA(dc_, x, y, text, Length(length));
    }
    void Fill(int left, int top, int right, int bottom, uint32_t colour) override {
        RECT box = {left, top, right, bottom};
        ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colour));
        FillRect(dc_, &box, brush.get());
    }

private:
    static int Length(size_t length) { return length > 32767 ? 32767 : static_cast<int>(length); }
    HDC dc_;
};

}  // namespace

void DrawDigitalClock(HDC dc, int x, int y) {
    EnsureClockFont();
    if (!dc || !clockPlugin.font) return;
    ScopedSelectObject font(dc, clockPlugin.font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    GdiClockCanvas canvas(dc);
    const ClockSize size = RenderClockFormat(clockPlugin.options.format, clockPlugin.figures,
                                             clockPlugin.options.colours, canvas, clockPlugin.contentWidth, x, y);
    SetBkMode(dc, oldMode);
    clockPlugin.contentWidth = size.width > 0 ? size.width : 1;
    clockPlugin.contentHeight = size.height > 0 ? size.height : 1;
}

namespace {

// Screen point p in the desktop window's client coordinates.
POINT DesktopPoint(HWND desktop, POINT p) {
    ScreenToClient(desktop, &p);
    return p;
}

}  // namespace

void PaintAnalogOnDesktop(HWND desktop) {
    const POINT at = DesktopPoint(desktop, clockPlugin.options.analogPrint);
    ScopedGetDC dc(desktop);
    if (dc) DrawAnalogClock(dc, at.x, at.y, true);
}

void PaintDigitalOnDesktop(HWND desktop) {
    const ClockOptions& o = clockPlugin.options;
    const int width = clockPlugin.contentWidth, height = clockPlugin.contentHeight;
    POINT at = DesktopPoint(desktop, o.digitalPrint);
    if (o.rightAnchored) at.x -= width;
    RECT content = {at.x, at.y, at.x + width, at.y + height};
    // Wipe last second's text, with room for text that grew.
    RECT wipe = content;
    if (o.rightAnchored) wipe.left -= width / 2;
    else wipe.right += width / 2;
    InvalidateRect(desktop, &wipe, TRUE);
    UpdateWindow(desktop);
    if (clockPlugin.suspendDesktop) return;
    ScopedGetDC dc(desktop);
    if (!dc) return;
    if (!o.transparent) {
        ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(o.colours[CLOCK_BOTTOM]));
        FillRect(dc, &content, brush.get());
    }
    DrawDigitalClock(dc, content.left, content.top);
}
