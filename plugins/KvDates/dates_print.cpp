// Date texts printed on the wallpaper being composed, and the colours of
// calendar days that have an entry.
#include <windows.h>

#include <cstring>

#include "dates_plugin.h"
#include "dib_section.h"
#include "dravonel_plugin.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

class GdiDateMeasure : public DateTextMeasure {
public:
    explicit GdiDateMeasure(HDC dc) : dc_(dc) {}
    int Width(const std::string& text) override { return Extent(text.data(), text.size()).cx; }
    int LineHeight() override { return Extent("W", 1).cy; }

private:
    SIZE Extent(const char* text, size_t length) {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text, length > 32767 ? 32767 : static_cast<int>(length), &size);
        return size;
    }
    HDC dc_;
};

DateRect ScreenRect() {
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    // The host's KvUspz key is present when the picture takes the whole screen.
    const bool wholeScreen = !datesPlugin.settingsFile.empty() &&
                             GetKeyYes(datesPlugin.settingsFile.c_str(), "set", "KvUspz") != 0;
    if (!wholeScreen) SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    DateRect screen;
    screen.left = area.left;
    screen.top = area.top;
    screen.right = area.right;
    screen.bottom = area.bottom;
    return screen;
}

std::string TextToPrint(const std::string& name, const DatePrintSettings& settings, const SYSTEMTIME& now) {
    const IniDocument& file = DateFile(name);
    if (settings.type == 0) return file.Get(TwoDigits(now.wMonth), TwoDigits(now.wDay));
    const std::string script = file.Get("SCRIPT", "s");
    if (script.find(">o") == std::string::npos) return script;
    return ReplaceDateVariables(script, HostText(KvSrvCurrentWallpaper));
}

COLORREF NegativeUnder(HDC wallpaper, int x, int y, COLORREF fallback) {
    const COLORREF under = GetPixel(wallpaper, x, y);
    if (under == CLR_INVALID) return fallback;
    return CorrectDateColour(~under & 0xFFFFFF);
}

void DrawLine(HDC dc, const std::string& line, int x, int y, const DatePrintSettings& settings, COLORREF text,
              COLORREF outline, HDC wallpaper, const DateRect& rect, DateTextMeasure& measure, int lineHeight) {
    const int length = line.size() > 32767 ? 32767 : static_cast<int>(line.size());
    if (settings.outline) {
        SetTextColor(dc, outline);
        for (int dx : {-1, 1})
            for (int dy : {-1, 1}) TextOutA(dc, x + dx, y + dy, line.data(), length);
    }
    if (settings.colourMode != 1) {
        SetTextColor(dc, text);
        TextOutA(dc, x, y, line.data(), length);
        return;
    }
    // Each character in the negative of the wallpaper under its centre.
    for (int i = 0; i < length; ++i) {
        const int before = measure.Width(line.substr(0, i));
        const int width = measure.Width(line.substr(i, 1));
        SetTextColor(dc, NegativeUnder(wallpaper, rect.left + x + before + width / 2, rect.top + y + lineHeight / 2,
                                       text));
        TextOutA(dc, x + before, y, line.data() + i, 1);
    }
}

// One file's block; false when nothing could be drawn.
bool PrintBlock(HDC wallpaper, const DatePrintSettings& settings, const std::string& text, const DateRect* previous,
                const DateRect& screen, DateRect& printed) {
    ScopedGdiObj<HFONT> font(CreateDateFont(settings));
    ScopedMemoryDC dc(wallpaper);
    if (!font || !dc) return false;
    ScopedSelectObject selectFont(dc, font.get());
    GdiDateMeasure measure(dc);
    const DateBlock block = LayoutDateBlock(SplitDateLines(text), settings, previous, screen, measure);
    if (block.width <= 0 || block.height <= 0 || static_cast<long long>(block.width) * block.height > (1 << 25))
        return false;

    void* bits = nullptr;
    ScopedGdiObj<HBITMAP> bitmap(CreateDibSection32(block.width, block.height, true, &bits));
    if (!bitmap || !bits) return false;
    {
        ScopedSelectObject selectBitmap(dc, bitmap.get());
        SetBkMode(dc, TRANSPARENT);
        // Mode 2 prints pure white: the host turns it into the negative of the wallpaper.
        const COLORREF text = settings.colourMode == 2 ? RGB(255, 255, 255) : CorrectDateColour(settings.colour);
        const COLORREF outline = CorrectDateColour(settings.outlineColour);
        const bool rightAligned = settings.corner & 1;
        for (size_t i = 0; i < block.lines.size(); ++i) {
            const std::string& line = block.lines[i];
            const int x = rightAligned ? block.width - block.margin - block.frame - measure.Width(line)
                                       : block.margin + block.frame;
            const int y = block.frame + static_cast<int>(i) * block.lineHeight;
            DrawLine(dc, line, x, y, settings, text, outline, wallpaper, block.rect, measure, block.lineHeight);
        }
        GdiFlush();
    }

    s_drawbit draw = {};
    draw.hDC = wallpaper;
    draw.hBit = bitmap.get();
    draw.xbit = block.anchorX;
    draw.ybit = block.anchorY;
    draw.wbit = block.width;
    draw.hbit = block.height;
    draw.trans = 1;
    draw.alpha = static_cast<float>(settings.alpha) / 10.0f;
    draw.otnpos = static_cast<BYTE>(settings.corner);
    draw.RevCol = static_cast<BYTE>(settings.colourMode);
    // The background is black whatever glyph touches the first pixel.
    draw.Angle = 4;
    draw.TransCol = 0;
    HostService(KvSrvDrawBitmap, &draw);
    printed = block.rect;
    return true;
}

}  // namespace

HFONT CreateDateFont(const DatePrintSettings& settings) {
    LOGFONTA font = {};
    font.lfHeight = settings.height;
    font.lfWeight = (settings.style == 2 || settings.style == 3) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (settings.style == 1 || settings.style == 3) ? TRUE : FALSE;
    font.lfCharSet = static_cast<BYTE>(settings.charset);
    // Smoothed edges would blend with the black key and leave dark fringes.
    font.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(font.lfFaceName, settings.face.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

void PrintDateFiles(HDC wallpaper) {
    if (!wallpaper) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    ListDateFiles();
    const std::vector<std::string> names = datesPlugin.names;
    const DateRect screen = ScreenRect();
    DateRect previous;
    bool hasPrevious = false;
    for (const std::string& name : names) {
        const DatePrintSettings settings = ReadDatePrintSettings(DateSettings(), name);
        if (!settings.print) continue;
        const std::string text = TextToPrint(name, settings, now);
        if (text.empty()) continue;
        DateRect printed;
        if (PrintBlock(wallpaper, settings, text, hasPrevious ? &previous : nullptr, screen, printed)) {
            previous = printed;
            hasPrevious = true;
        }
    }
}

COLORREF DayColour(int command, const char* month, const char* day) {
    if (!month || !day) return 0;
    const std::string monthKey(month, strnlen(month, 8));
    const std::string dayKey(day, strnlen(day, 8));
    for (const std::string& name : CurrentDateFiles()) {
        const DatePrintSettings settings = ReadDatePrintSettings(DateSettings(), name);
        const bool wanted = command == KvDAYTEXTCOLOUR ? settings.dayColourOn : settings.frameColourOn;
        if (!wanted || DateFile(name).Get(monthKey, dayKey).empty()) continue;
        return CorrectDateColour(command == KvDAYTEXTCOLOUR ? settings.dayColour : settings.frameColour);
    }
    return 0;
}

SIZE DateBlockSize(const std::string& name) {
    SIZE size = {100, 20};
    SYSTEMTIME now;
    GetLocalTime(&now);
    const DatePrintSettings settings = ReadDatePrintSettings(DateSettings(), name);
    std::string text = TextToPrint(name, settings, now);
    if (text.empty()) text = "W";
    ScopedGetDC screen(nullptr);
    ScopedGdiObj<HFONT> font(CreateDateFont(settings));
    ScopedMemoryDC dc(screen);
    if (!font || !dc) return size;
    ScopedSelectObject selectFont(dc, font.get());
    GdiDateMeasure measure(dc);
    DatePrintSettings still = settings;
    still.autoWrap = false;
    const DateBlock block = LayoutDateBlock(SplitDateLines(text), still, nullptr, DateRect(), measure);
    size.cx = block.width > 0 ? block.width : 1;
    size.cy = block.height > 0 ? block.height : 1;
    return size;
}
