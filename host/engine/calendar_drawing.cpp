#include "engine/calendar_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "dib_section.h"
#include "scopedwin.h"
#include "searchandpast.h"

s_month sMonth[3] = {{1, 1, 4, 0, 0}, {1, 1, 4, 0, 0}, {1, 1, 4, 0, 0}};

namespace {

const double kPi = 3.14159265358979323846;
const DWORD kRgbMask = 0x00FFFFFF;

DayColourFunction dayColour = nullptr;

// While a calendar is drawn, outlines go into this mask (each text once, in
// its outline colour) and are spread by one diagonal pixel afterwards: the
// same pixels as four offset copies of every text, for a quarter of the work.
HDC outlineMask = nullptr;

// COLORREF (0x00BBGGRR) <-> DIB word (0x00RRGGBB).
DWORD ToWord(COLORREF colour) { return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Monday 0 .. Sunday 6 (Gregorian calendar).
int WeekdayIndex(int year, int month, int day) {
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    int sunday0 = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    return (sunday0 + 6) % 7;
}

float CfOf(const CalendarStyle& style) { return 1.0f + static_cast<float>(style.enlarge) / 10.0f; }

COLORREF DayPluginColour(int command, int monthNumber, int day) {
    if (!dayColour) return 0;
    char monthText[8], dayText[8];
    snprintf(monthText, sizeof monthText, "%02d", monthNumber);
    snprintf(dayText, sizeof dayText, "%02d", day);
    COLORREF answer = dayColour(command, monthText, dayText);
    return (answer > 0 && answer < 0xFFFFFF) ? answer : 0;
}

// 32 bits per pixel, top row first in memory.
HBITMAP CreateTopDownSection(int width, int height, DWORD** bits) {
    void* memory = nullptr;
    HBITMAP bitmap = CreateDibSection32(width, height, true, &memory);
    if (bits) *bits = static_cast<DWORD*>(memory);
    return bitmap;
}

// Every pixel of a bitmap as top-down DIB words.
bool ReadBitmapWords(HBITMAP bitmap, int width, int height, std::vector<DWORD>& words) {
    words.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ScopedGetDC screen(nullptr);
    return GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), words.data(), &info, DIB_RGB_COLORS) ==
           height;
}

bool Matches(DWORD pixel, DWORD key, int tolerance) {
    if (pixel == key) return true;
    if (tolerance <= 0) return false;
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((pixel >> shift) & 0xFF), b = static_cast<int>((key >> shift) & 0xFF);
        if (std::abs(a - b) >= tolerance) return false;
    }
    return true;
}

HFONT CalendarFont(const CalendarStyle& style, float v, float cf) {
    LOGFONTA font = style.font;
    font.lfHeight = static_cast<LONG>(2.0f * v * cf);
    font.lfWidth = 0;
    font.lfQuality = NONANTIALIASED_QUALITY;  // no edge pixels that blend with the black key
    return CreateFontIndirectA(&font);
}

std::string CasedName(const std::string& name, int letterCase) {
    std::vector<char> text(name.begin(), name.end());
    text.push_back('\0');
    StrToLowOrUp(text.data(), letterCase);
    return text.data();
}

// Colours of the texts after the switches and the colour mode.
struct TextColours {
    COLORREF main, outline, year, month, weekday, weekend, alternate, today, todayOutline, shape;
    int yearMode, monthMode, weekdayMode, dayMode;
};

TextColours ResolveColours(const CalendarStyle& style) {
    TextColours c;
    const int mode = style.colourMode == 1 ? 1 : 0;
    // Mode 2 inverts pure white while blending: the main colour is that white
    // and deliberately not corrected.
    c.main = style.colourMode == 2 ? 0xFFFFFF : CorrectColor(style.mainColour);
    c.outline = CorrectColor(style.outlineColour);
    c.year = style.yearOwn ? CorrectColor(style.yearColour) : c.main;
    c.yearMode = style.yearOwn ? 0 : mode;
    c.month = style.monthOwn ? CorrectColor(style.monthColour) : c.main;
    c.monthMode = style.monthOwn ? 0 : mode;
    c.weekday = style.weekdayOwn ? CorrectColor(style.weekdayColour) : c.main;
    c.weekdayMode = style.weekdayOwn ? 0 : mode;
    c.weekend = CorrectColor(style.weekendColour);
    c.alternate = CorrectColor(style.alternateColour);
    c.today = CorrectColor(style.todayColour);
    c.todayOutline = style.todayOutlineOwn ? CorrectColor(style.todayOutlineColour) : c.outline;
    c.shape = CorrectColor(style.shapeColour);
    c.dayMode = mode;
    return c;
}

// The outline around the letters: the mask holds every letter once, in its
// outline colour, where it was drawn; each of its pixels is copied to the
// four diagonal neighbours that are no letter themselves, in the order the
// four offset copies of a text are drawn.
void SpreadOutline(DWORD* text, const DWORD* mask, int width, int height) {
    static const int offsets[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int y = 0; y < height; ++y) {
        const DWORD* maskRow = mask + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            const DWORD colour = maskRow[x] & kRgbMask;
            if (!colour) continue;
            for (const auto& offset : offsets) {
                const int qx = x + offset[0], qy = y + offset[1];
                if (qx < 0 || qy < 0 || qx >= width || qy >= height) continue;
                const size_t q = static_cast<size_t>(qy) * width + qx;
                if (!(mask[q] & kRgbMask)) text[q] = colour;
            }
        }
    }
}

// Routes outlines into a mask for the life of the object.
class OutlineToMask {
public:
    explicit OutlineToMask(HDC mask) : previous_(outlineMask) { outlineMask = mask; }
    ~OutlineToMask() { outlineMask = previous_; }
    OutlineToMask(const OutlineToMask&) = delete;
    OutlineToMask& operator=(const OutlineToMask&) = delete;

private:
    HDC previous_;
};

void DrawTodayShape(HDC dc, const CalendarStyle& style, const TextColours& colours, double cx, double cy, float u,
                    float v, float cf) {
    ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, std::min(std::max(style.penWidth, 0), 50) + 1, colours.shape));
    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colours.shape));
    ScopedSelectObject selectPen(dc, pen.get());
    ScopedSelectObject selectBrush(dc, brush.get());
    const int corners = std::min(std::max(style.corners, 3), 10);
    const int angle = std::min(std::max(style.angle, 0), 360);
    switch (style.shape) {
        case KV_SHAPE_ELLIPSE:
        case KV_SHAPE_ARC: {
            const double r = 0.4 * (u + v) * cf;
            const int left = static_cast<int>(cx - r), top = static_cast<int>(cy - r);
            const int right = static_cast<int>(cx + r), bottom = static_cast<int>(cy + r);
            if (style.shape == KV_SHAPE_ELLIPSE) Ellipse(dc, left, top, right, bottom);
            else Arc(dc, left, top, right, bottom, 0, 0, 0, 0);
            break;
        }
        case KV_SHAPE_POLYGON:
        case KV_SHAPE_POLYGON_OUTLINE:
            PolygonKv(dc, &corners, &angle, 0.5 * (u + v) * cf, &cx, &cy, style.shape == KV_SHAPE_POLYGON);
            break;
        case KV_SHAPE_STAR:
        case KV_SHAPE_STAR_OUTLINE:
            StarKv(dc, &corners, &angle, 0.5 * (u + v) * cf, &cx, &cy, style.shape == KV_SHAPE_STAR);
            break;
        default:
            break;
    }
}

void DrawShape(HDC dc, const POINT* points, int count, int fill) {
    if (count < 2) return;
    if (fill) {
        Polygon(dc, points, count);
    } else {
        MoveToEx(dc, points[count - 1].x, points[count - 1].y, nullptr);
        PolylineTo(dc, points, static_cast<DWORD>(count));
    }
}

}  // namespace

DayColourFunction SetDayColourFunction(DayColourFunction function) {
    DayColourFunction previous = dayColour;
    dayColour = function;
    return previous;
}

CalendarStyle DefaultCalendarStyle() {
    CalendarStyle style;
    lstrcpynA(style.font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    style.font.lfWeight = FW_NORMAL;
    style.font.lfCharSet = 204;
    return style;
}

COLORREF CorrectColor(COLORREF colour) {
    colour &= 0xFFFFFF;
    if (colour == 0) return 1;
    if (colour == 0xFFFFFF) return 0xFFFFFE;
    return colour;
}

bool GetMonthShape(int month, int year, MonthShape& shape) {
    if (month < 1 || month > 12 || year < 1601 || year > 30827) return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    shape.days = lengths[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    shape.firstWeekday = WeekdayIndex(year, month, 1);
    // A row starts after every Sunday but the last day.
    shape.weeks = 1;
    for (int day = 1; day < shape.days; ++day)
        if ((shape.firstWeekday + day - 1) % 7 == 6) ++shape.weeks;
    return true;
}

int GetParamMonth(float* u, float* v, int* days, int* weeks, RECT* box, struct tm* first, const s_month* record,
                  const CalendarContext& context) {
    MonthShape shape;
    if (!record || !GetMonthShape(record->imonth, record->iyear, shape)) return 0;
    const CalendarStyle& style = context.style;
    const float unitU = static_cast<float>(context.area.right - context.area.left) / (0.5f * record->size + 1.0f) / 20.0f;
    const float unitV = static_cast<float>(context.area.bottom - context.area.top) / (0.5f * record->size + 1.0f) / 20.0f;
    const float cf = CfOf(style);
    int width = static_cast<int>(20.0f * unitU + unitU * (3.0f * cf - 2.0f) / 2.0f);
    int height = static_cast<int>(20.0f * unitV + unitV * (3.0f * cf - 2.0f) / 2.0f);
    if (style.placeYM == 1) height = static_cast<int>(height + 2.5f * unitV);
    if (style.type == 1 || (style.type == 0 && shape.weeks == 6)) height = static_cast<int>(height + 2.5f * unitV);
    if (u) *u = unitU;
    if (v) *v = unitV;
    if (days) *days = shape.days;
    if (weeks) *weeks = shape.weeks;
    if (box) *box = {record->x, record->y, record->x + width, record->y + height};
    if (first) {
        *first = {};
        first->tm_year = record->iyear - 1900;
        first->tm_mon = record->imonth - 1;
        first->tm_mday = 1;
        first->tm_hour = 12;
        first->tm_wday = (shape.firstWeekday + 1) % 7;
    }
    return 1;
}

int GetParamMonth2(RECT* box, const s_month* record, const CalendarContext& context) {
    return GetParamMonth(nullptr, nullptr, nullptr, nullptr, box, nullptr, record, context);
}

int PrintSimbol(const char* text, HDC dc, int x, int y, COLORREF colour, bool outline, COLORREF outlineColour,
                int colourMode, HDC wallpaper, int offsetX, int offsetY) {
    if (!text || !dc) return 0;
    const int length = lstrlenA(text);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    if (colourMode == 1 && wallpaper) {
        const int px = static_cast<int>(offsetX + x + extent.cx / 2.0);
        const int py = static_cast<int>(offsetY + y + extent.cy / 2.0);
        COLORREF under = GetPixel(wallpaper, px, py);
        if (under != CLR_INVALID) colour = CorrectColor(~under & 0xFFFFFF);
    }
    if (outline && outlineMask) {
        SetTextColor(outlineMask, outlineColour);
        TextOutA(outlineMask, x, y, text, length);
    } else if (outline) {
        SetTextColor(dc, outlineColour);
        for (int dy = -1; dy <= 1; dy += 2)
            for (int dx = -1; dx <= 1; dx += 2) TextOutA(dc, x + dx, y + dy, text, length);
    }
    SetTextColor(dc, colour);
    TextOutA(dc, x, y, text, length);
    return extent.cx;
}

void PrintString(const char* text, HDC dc, int x0, int y0, float u, float v, float cf, int alignment,
                 COLORREF colour, bool outline, COLORREF outlineColour, int colourMode, HDC wallpaper, int offsetX,
                 int offsetY) {
    if (!text) return;
    const int length = lstrlenA(text);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    const float U = static_cast<float>(static_cast<int>(u));
    int left;
    switch (alignment) {
        case 1:
            left = x0 + static_cast<int>(8.75f * U + U * cf - 0.5f * extent.cx);
            break;
        case 2:
            left = x0 + static_cast<int>(17.5f * U + 2.0f * cf * U - extent.cx);
            break;
        default:
            left = x0 + static_cast<int>(1.5f * U);
            break;
    }
    const int top = y0 + static_cast<int>(v);
    if (colourMode == 0) {
        PrintSimbol(text, dc, left, top, colour, outline, outlineColour, 0, wallpaper, offsetX, offsetY);
        return;
    }
    // Each character takes the inverse of the wallpaper under itself.
    for (int i = 0; i < length; ++i) {
        char one[2] = {text[i], '\0'};
        left += PrintSimbol(one, dc, left, top, colour, outline, outlineColour, colourMode, wallpaper, offsetX,
                            offsetY);
    }
}

void PolygonPoints(int corners, int angle, double radius, double cx, double cy, POINT* points) {
    for (int i = 0; i < corners; ++i) {
        const double a = i * 2.0 * kPi / corners + angle * kPi / 180.0;
        points[i].x = static_cast<LONG>(cx + radius * std::cos(a));
        points[i].y = static_cast<LONG>(cy + radius * std::sin(a));
    }
}

void StarPoints(int corners, int angle, double radius, double cx, double cy, POINT* points) {
    for (int k = 0; k < 2 * corners; ++k) {
        const double a = k * kPi / corners + angle * kPi / 180.0;
        const double r = (k % 2 == 0) ? radius : radius / 2.0;
        points[k].x = static_cast<LONG>(cx + r * std::cos(a));
        points[k].y = static_cast<LONG>(cy + r * std::sin(a));
    }
}

void PolygonKv(HDC dc, const int* corners, const int* angle, double radius, const double* cx, const double* cy,
               int fill) {
    const int n = std::min(std::max(*corners, 3), 10);
    POINT points[10];
    PolygonPoints(n, *angle, radius, *cx, *cy, points);
    DrawShape(dc, points, n, fill);
}

void StarKv(HDC dc, const int* corners, const int* angle, double radius, const double* cx, const double* cy,
            int fill) {
    const int n = std::min(std::max(*corners, 3), 10);
    POINT points[20];
    StarPoints(n, *angle, radius, *cx, *cy, points);
    DrawShape(dc, points, 2 * n, fill);
}

namespace {

// One channel of the alpha rule, truncated.
int MixChannel(DWORD source, DWORD beneath, float alpha) {
    const int channel = static_cast<int>(static_cast<float>(source) * (1.0f - alpha) + static_cast<float>(beneath) * alpha);
    return std::min(std::max(channel, 0), 255);
}

}  // namespace

void SelPosImage(int* x, int* y, int w, int h, BYTE anchor) {
    if (anchor & KV_ANCHOR_RIGHT) *x -= w;
    if (anchor & KV_ANCHOR_BOTTOM) *y -= h;
}

namespace {

// Mixing table of one alpha: entry (source << 8 | beneath) is the channel the
// pixel rule gives, so a large box costs three lookups a pixel. Calendars and
// plates use a few alphas (tenths) again and again: the tables are kept.
const std::vector<BYTE>& MixTable(float alpha) {
    static std::vector<std::pair<float, std::vector<BYTE>>> tables;
    for (const auto& entry : tables)
        if (entry.first == alpha) return entry.second;
    if (tables.size() >= 16) tables.erase(tables.begin());
    std::vector<BYTE> table(65536);
    for (DWORD source = 0; source < 256; ++source)
        for (DWORD beneath = 0; beneath < 256; ++beneath)
            table[source << 8 | beneath] = static_cast<BYTE>(MixChannel(source, beneath, alpha));
    tables.emplace_back(alpha, std::move(table));
    return tables.back().second;
}

// The pixels of dc's bitmap when it is a plain 32-bit section drawn without
// transforms or clipping, so blending can work in place.
struct DirectSurface {
    DWORD* bits = nullptr;
    int width = 0, height = 0;
    bool topDown = false;
    DWORD* Row(int y) const { return bits + static_cast<size_t>(topDown ? y : height - 1 - y) * width; }
};

bool DirectAccess(HDC dc, DirectSurface& surface) {
    POINT origin;
    if (GetMapMode(dc) != MM_TEXT || !GetViewportOrgEx(dc, &origin) || origin.x || origin.y ||
        !GetWindowOrgEx(dc, &origin) || origin.x || origin.y)
        return false;
    ScopedGdiObj<HRGN> clip(CreateRectRgn(0, 0, 0, 0));
    if (GetClipRgn(dc, clip.get()) != 0) return false;
    DIBSECTION section;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectA(bitmap, sizeof section, &section) != sizeof section) return false;
    if (section.dsBmih.biBitCount != 32 || section.dsBmih.biCompression != BI_RGB || !section.dsBm.bmBits) return false;
    surface.bits = static_cast<DWORD*>(section.dsBm.bmBits);
    surface.width = section.dsBm.bmWidth;
    surface.height = std::abs(section.dsBm.bmHeight);
    if (surface.width <= 0 || surface.height <= 0) return false;
    if (section.dsBmih.biHeight < 0 || surface.height == 1) {
        surface.topDown = true;
        return true;
    }
    // Wine reports top-down sections with a positive height as well: a probe
    // of the top-left pixel tells which row in memory is the top one.
    GdiFlush();
    const COLORREF original = GetPixel(dc, 0, 0);
    if (original == CLR_INVALID) return false;
    const DWORD first = surface.bits[0], last = surface.bits[static_cast<size_t>(surface.height - 1) * surface.width];
    SetPixel(dc, 0, 0, original ^ 1);
    GdiFlush();
    const bool firstChanged = surface.bits[0] != first;
    const bool lastChanged = surface.bits[static_cast<size_t>(surface.height - 1) * surface.width] != last;
    SetPixel(dc, 0, 0, original);
    GdiFlush();
    if (firstChanged == lastChanged) return false;
    surface.topDown = firstChanged;
    return true;
}

// The blending of w x h of a bitmap whose pixels (top row first, bw x bh)
// are at hand. On a 32-bit section the pixels beneath are processed in
// place; otherwise they are copied once into a section, processed there and
// copied back.
void BlendWords(HDC dst, const DWORD* source, int bw, int bh, int x, int y, int w, int h, bool transparent,
                float alpha, int colourMode, int tolerance, BYTE keySource, COLORREF keyColour) {
    DirectSurface surface;
    const bool direct = DirectAccess(dst, surface);
    int firstRow = 0, lastRow = h, firstColumn = 0, lastColumn = w;
    DWORD* beneath = nullptr;
    ScopedGdiObj<HBITMAP> destination;
    ScopedMemoryDC memory(direct ? nullptr : dst);
    if (direct) {
        GdiFlush();
        firstRow = std::max(0, -y);
        lastRow = std::min(h, surface.height - y);
        firstColumn = std::max(0, -x);
        lastColumn = std::min(w, surface.width - x);
        if (firstRow >= lastRow || firstColumn >= lastColumn) return;
    } else {
        destination.reset(CreateTopDownSection(w, h, &beneath));
        if (!destination || !beneath || !memory) return;
        SelectObject(memory, destination.get());
        BitBlt(memory, 0, 0, w, h, dst, x, y, SRCCOPY);
        GdiFlush();
    }
    auto rowBeneath = [&](int row) {
        return direct ? surface.Row(y + row) + x : beneath + static_cast<size_t>(row) * w;
    };

    DWORD key;
    switch (keySource) {
        case 0: key = source[0]; break;
        case 1: key = source[static_cast<size_t>(bw) - 1]; break;
        case 2: key = source[static_cast<size_t>(bh - 1) * bw]; break;
        case 3: key = source[static_cast<size_t>(bh) * bw - 1]; break;
        default: key = ToWord(keyColour); break;
    }
    key &= kRgbMask;
    const bool mixing = alpha > 0.0f;
    static const std::vector<BYTE> none;
    const std::vector<BYTE>& mix = mixing ? MixTable(alpha) : none;
    const BYTE* table = mixing ? mix.data() : nullptr;
    auto mixed = [table](DWORD pixel, DWORD below) {
        return static_cast<DWORD>(table[(pixel >> 8 & 0xFF00) | (below >> 16 & 0xFF)]) << 16 |
               static_cast<DWORD>(table[(pixel & 0xFF00) | (below >> 8 & 0xFF)]) << 8 |
               table[(pixel << 8 & 0xFF00) | (below & 0xFF)];
    };
    // The common cases get loops of their own; the last one is the rule in full.
    const bool exactKey = transparent && tolerance <= 0 && colourMode != 2;
    for (int row = firstRow; row < lastRow; ++row) {
        const DWORD* from = source + static_cast<size_t>(row) * bw;
        DWORD* under = rowBeneath(row);
        if (exactKey && !mixing) {
            for (int column = firstColumn; column < lastColumn; ++column) {
                const DWORD pixel = from[column] & kRgbMask;
                if (pixel != key) under[column] = pixel;
            }
        } else if (exactKey) {
            for (int column = firstColumn; column < lastColumn; ++column) {
                const DWORD pixel = from[column] & kRgbMask;
                if (pixel != key) under[column] = mixed(pixel, under[column]);
            }
        } else if (!transparent && mixing && colourMode != 2) {
            for (int column = firstColumn; column < lastColumn; ++column)
                under[column] = mixed(from[column], under[column]);
        } else {
            for (int column = firstColumn; column < lastColumn; ++column) {
                DWORD pixel = from[column] & kRgbMask;
                const DWORD below = under[column] & kRgbMask;
                // The key is judged on the pixel as drawn, before any
                // inversion, so a pixel inverted to the key colour stays.
                if (transparent && Matches(pixel, key, tolerance)) {
                    under[column] = below;
                    continue;
                }
                if (colourMode == 2 && pixel == kRgbMask) pixel = ~below & kRgbMask;
                under[column] = mixing ? mixed(pixel, below) : pixel;
            }
        }
    }
    if (!direct) BitBlt(dst, x, y, w, h, memory, 0, 0, SRCCOPY);
}

// A bitmap of our own (32-bit, top-down, bits at hand) blended or copied.
void DrawOwnSection(HDC dst, HBITMAP bitmap, const DWORD* bits, int x, int y, int w, int h, bool transparent,
                    float alpha, int colourMode) {
    if (alpha >= 1.0f) return;
    GdiFlush();
    if (!(alpha > 0.0f) && !transparent) {
        ScopedMemoryDC memory(dst);
        ScopedSelectObject select(memory, bitmap);
        BitBlt(dst, x, y, w, h, memory, 0, 0, SRCCOPY);
        return;
    }
    BlendWords(dst, bits, w, h, x, y, w, h, transparent, alpha, colourMode, 0, 0, 0);
}

}  // namespace

void DrawBitmapWithTransparent(HDC dst, HBITMAP bmp, int x, int y, int w, int h, BYTE transparent, float alpha,
                               BYTE anchor, BYTE colourMode, BYTE tolerance, BYTE keySource, COLORREF keyColour) {
    if (!dst || !bmp || alpha >= 1.0f) return;
    BITMAP info = {};
    if (!GetObjectA(bmp, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    SelPosImage(&x, &y, w, h, anchor);
    w = std::min(w, static_cast<int>(info.bmWidth));
    h = std::min(h, static_cast<int>(info.bmHeight));
    if (w <= 0 || h <= 0) return;

    if (!(alpha > 0.0f) && !transparent) {
        ScopedMemoryDC memory(dst);
        ScopedSelectObject select(memory, bmp);
        BitBlt(dst, x, y, w, h, memory, 0, 0, SRCCOPY);
        return;
    }
    std::vector<DWORD> source;
    if (!ReadBitmapWords(bmp, info.bmWidth, info.bmHeight, source)) return;
    BlendWords(dst, source.data(), info.bmWidth, info.bmHeight, x, y, w, h, transparent != 0, alpha, colourMode,
               tolerance, keySource, keyColour);
}

namespace {

// One colour over a rectangle, by the alpha rule (opaque for alpha 0).
void BlendSolid(HDC dc, COLORREF colour, int x, int y, int w, int h, float alpha) {
    if (w <= 0 || h <= 0) return;
    const std::vector<DWORD> row(static_cast<size_t>(w), ToWord(colour));
    BlendWords(dc, row.data(), 0, 1, x, y, w, h, false, alpha, 0, 0, 4, 0);
}

}  // namespace

void PrintFonCalendar(HDC dc, const RECT* box, const s_month* record, const CalendarContext& context) {
    const CalendarStyle& style = context.style;
    const float b = static_cast<float>(style.plateAlpha) / 10.0f;
    if (!dc || !box || !record || b >= 1.0f) return;
    const int width = box->right - box->left, height = box->bottom - box->top;
    if (width <= 0 || height <= 0) return;
    const int x = record->x, y = record->y;
    if (!style.roundPlate) {
        BlendSolid(dc, style.plateColour & 0xFFFFFF, x, y, width, height, b);
        return;
    }
    // Rounded: the rectangles (r, 0)-(W - r, H), (0, r)-(r, H - r) and
    // (W - r, r)-(W, H - r) and a quarter circle of radius r in each corner.
    // A black plate is drawn as 1 so it never equals the black key.
    const COLORREF colour = (style.plateColour & 0xFFFFFF) ? (style.plateColour & 0xFFFFFF) : 1;
    const int r = width / 10;
    BlendSolid(dc, colour, x + r, y, width - 2 * r, height, b);
    BlendSolid(dc, colour, x, y + r, r, height - 2 * r, b);
    BlendSolid(dc, colour, x + width - r, y + r, r, height - 2 * r, b);
    if (r <= 0) return;
    // Each quarter circle is drawn into a bitmap of its own corner square,
    // black around it, and blended with black as the key.
    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    const POINT corners[] = {{0, 0}, {width - r, 0}, {0, height - r}, {width - r, height - r}};
    for (int i = 0; i < 4; ++i) {
        DWORD* bits = nullptr;
        ScopedGdiObj<HBITMAP> corner(CreateTopDownSection(r, r, &bits));
        ScopedMemoryDC memory(dc);
        if (!corner || !bits || !memory) return;
        {
            ScopedSelectObject select(memory, corner.get());
            ScopedSelectObject selectBrush(memory, brush.get());
            ScopedSelectObject selectPen(memory, pen.get());
            SetViewportOrgEx(memory, -corners[i].x, -corners[i].y, nullptr);
            // The whole circle of the corner: the bitmap keeps its quarter,
            // and no radial edge of a pie can leave a seam against the bands.
            const int left = i % 2 ? width - 2 * r : 0, top = i / 2 ? height - 2 * r : 0;
            Ellipse(memory, left, top, left + 2 * r, top + 2 * r);
            GdiFlush();
        }
        BlendWords(dc, bits, r, r, x + corners[i].x, y + corners[i].y, r, r, true, b, 0, 0, 4, 0);
    }
}

int PrintCalendar(HDC dc, s_month* record, const CalendarContext& context) {
    float u = 0, v = 0;
    int days = 0, weeks = 0;
    RECT box;
    struct tm first;
    if (!dc || !GetParamMonth(&u, &v, &days, &weeks, &box, &first, record, context)) return 0;
    const CalendarStyle& style = context.style;
    if (style.drawPlate) PrintFonCalendar(dc, &box, record, context);
    const float a = static_cast<float>(style.textAlpha) / 10.0f;
    if (a >= 1.0f) return 1;

    const int width = box.right - box.left, height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return 1;
    DWORD* bits = nullptr;
    ScopedGdiObj<HBITMAP> picture(CreateTopDownSection(width, height, &bits));
    if (!picture || !bits) return 1;
    {
        ScopedMemoryDC memory(dc);
        if (!memory) return 1;
        ScopedSelectObject selectPicture(memory, picture.get());
        SetBkMode(memory, TRANSPARENT);
        const float cf = CfOf(style);
        ScopedGdiObj<HFONT> font(CalendarFont(style, v, cf));
        ScopedSelectObject selectFont(memory, font.get());
        DWORD* maskBits = nullptr;
        ScopedGdiObj<HBITMAP> maskBitmap(style.outline ? CreateTopDownSection(width, height, &maskBits) : nullptr);
        ScopedMemoryDC maskDc(maskBitmap ? dc : nullptr);
        std::unique_ptr<ScopedSelectObject> selectMask, selectMaskFont;
        std::unique_ptr<OutlineToMask> outlines;
        if (maskBitmap && maskBits && maskDc) {
            selectMask.reset(new ScopedSelectObject(maskDc, maskBitmap.get()));
            selectMaskFont.reset(new ScopedSelectObject(maskDc, font.get()));
            SetBkMode(maskDc, TRANSPARENT);
            outlines.reset(new OutlineToMask(maskDc));
        }
        const TextColours colours = ResolveColours(style);
        const int ox = record->x, oy = record->y;

        int x0 = 0, y0 = 0;
        if (style.placeYM != 2) {
            char year[16];
            snprintf(year, sizeof year, "%d", record->iyear);
            PrintString(year, memory, x0, y0, u, v, cf, style.alignYear, colours.year, style.outline,
                        colours.outline, colours.yearMode, dc, ox, oy);
            if (style.placeYM == 1) y0 = static_cast<int>(y0 + 2.5f * v);
        }
        const std::string monthName = CasedName(context.monthNames[record->imonth - 1], style.letterCase);
        PrintString(monthName.c_str(), memory, x0, y0, u, v, cf, style.alignMonth, colours.month, style.outline,
                    colours.outline, colours.monthMode, dc, ox, oy);

        for (int i = 0; i < 7; ++i) {
            const std::string name = CasedName(context.weekdayNames[i], style.letterCase);
            int x, y;
            if (style.type == 0) {
                x = static_cast<int>(x0 + 1.5f * u + 2.67f * i * u);
                y = static_cast<int>(y0 + 4.0f * v);
            } else {
                x = static_cast<int>(x0 + 1.5f * u);
                y = static_cast<int>(y0 + 4.0f * v + 2.67f * i * v);
            }
            PrintSimbol(name.c_str(), memory, x, y, colours.weekday, style.outline, colours.outline,
                        colours.weekdayMode, dc, ox, oy);
        }

        const int firstWeekday = (first.tm_wday + 6) % 7;
        int row = 1;
        for (int day = 1; day <= days; ++day) {
            const int d = (firstWeekday + day - 1) % 7;
            char text[8];
            snprintf(text, sizeof text, "%2d", day);
            int x, y;
            if (style.type == 0) {
                x = static_cast<int>(x0 + 1.5f * u + 2.67f * d * u);
                y = static_cast<int>(y0 + 4.0f * v + 2.67f * row * v);
            } else {
                x = static_cast<int>(x0 + 1.5f * u + 2.67f * row * u);
                y = static_cast<int>(y0 + 4.0f * v + 2.67f * d * v);
            }
            const bool isToday = day == context.today.wDay && record->imonth == context.today.wMonth &&
                                 record->iyear == context.today.wYear;
            if (isToday && style.todayShape) {
                SIZE extent = {};
                GetTextExtentPoint32A(memory, text, lstrlenA(text), &extent);
                DrawTodayShape(memory, style, colours, x + extent.cx / 2.0, y + extent.cy / 2.0, u, v, cf);
            }
            if (isToday && style.todayColours) {
                PrintSimbol(text, memory, x, y, colours.today, style.outline, colours.todayOutline, 0, dc, ox, oy);
            } else {
                COLORREF colour = DayPluginColour(KV_DAY_TEXT_COLOUR, record->imonth, day);
                COLORREF outlineColour = DayPluginColour(KV_DAY_OUTLINE_COLOUR, record->imonth, day);
                if (!outlineColour) outlineColour = colours.outline;
                int mode = 0;
                if (!colour) {
                    const int weekRow = (day - (d - firstWeekday)) / 7;
                    if (style.weekendOwn && d >= 5) colour = colours.weekend;
                    else if (style.alternateOwn && weekRow % 2 == 0) colour = colours.alternate;
                    else {
                        colour = colours.main;
                        mode = colours.dayMode;
                    }
                }
                PrintSimbol(text, memory, x, y, colour, style.outline, outlineColour, mode, dc, ox, oy);
            }
            if (d == 6) ++row;
        }
        GdiFlush();
        if (outlines) SpreadOutline(bits, maskBits, width, height);
    }
    DrawOwnSection(dc, picture.get(), bits, record->x, record->y, width, height, true, a, style.colourMode);
    return 1;
}

void correctSMonth(s_month* moved, const s_month* fixed, const CalendarContext& context) {
    if (!moved || !fixed || !context.style.stack) return;
    RECT fixedBox, movedBox;
    if (!GetParamMonth2(&fixedBox, fixed, context) || !GetParamMonth2(&movedBox, moved, context)) return;
    const int gap = context.style.gap;
    const int fixedHeight = fixedBox.bottom - fixedBox.top, movedHeight = movedBox.bottom - movedBox.top;
    if (fixed->y + fixedHeight / 2.0 < moved->y) {
        const int below = fixed->y + fixedHeight + gap;
        if (below > moved->y && below + movedHeight <= context.desktop.bottom) moved->y = below;
    } else {
        const int above = fixed->y - gap - movedHeight;
        if (above < moved->y && above > 0) moved->y = above;
    }
}

void ShiftMonth(int* month, int* year, int delta) {
    *month += delta;
    while (*month < 1) {
        *month += 12;
        --*year;
    }
    while (*month > 12) {
        *month -= 12;
        ++*year;
    }
}

void DrawCalendars(HDC dc, bool previous, bool next, const CalendarContext& context) {
    const int monthNow = context.today.wMonth, yearNow = context.today.wYear;
    s_month prev = sMonth[KV_MONTH_PREV], current = sMonth[KV_MONTH_CURRENT], following = sMonth[KV_MONTH_NEXT];
    if (previous) {
        prev.imonth = monthNow;
        prev.iyear = yearNow;
        ShiftMonth(&prev.imonth, &prev.iyear, -1);
        PrintCalendar(dc, &prev, context);
    }
    current.imonth = monthNow;
    current.iyear = yearNow;
    if (previous) correctSMonth(&current, &prev, context);
    PrintCalendar(dc, &current, context);
    if (next) {
        following.imonth = monthNow;
        following.iyear = yearNow;
        ShiftMonth(&following.imonth, &following.iyear, 1);
        correctSMonth(&following, &current, context);
        PrintCalendar(dc, &following, context);
    }
}
