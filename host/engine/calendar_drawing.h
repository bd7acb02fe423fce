// The desktop calendar: month calendars drawn into the wallpaper being
// composed, and the transparent blending that the calendar, its plate and the
// plug-ins use. The drawing takes its options as a CalendarContext so it runs
// without the pages; CurrentCalendarContext() (wallpaper_options.h) reads
// them from the pages' controls.
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

#include <ctime>
#include <string>

// Calendar layout record s_month (x, y and size stored as "%d %d %hd"; month
// and year filled in just before drawing) is part of the plug-in protocol.

enum { KV_MONTH_PREV = 0, KV_MONTH_CURRENT = 1, KV_MONTH_NEXT = 2 };
// The host's three records, previous, current and next month.
extern s_month sMonth[3];

// Shapes that mark today (KvObjectVid).
enum {
    KV_SHAPE_ELLIPSE = 0,
    KV_SHAPE_POLYGON = 1,
    KV_SHAPE_STAR = 2,
    KV_SHAPE_ARC = 3,
    KV_SHAPE_POLYGON_OUTLINE = 4,
    KV_SHAPE_STAR_OUTLINE = 5,
};

// Everything the calendar page (and the wallpaper page's work-area box) says
// about how a calendar looks.
struct CalendarStyle {
    bool drawPlate = false;                 // KvCheckFon
    bool roundPlate = false;                // KvRound
    COLORREF plateColour = 0xC0C0C0;        // KvColFon
    int plateAlpha = 5;                     // KvAlpha, tenths
    int textAlpha = 0;                      // KvAlphaText, tenths
    COLORREF mainColour = 0xFFFF00;         // KvColBoth
    bool outline = false;                   // KvKaima
    COLORREF outlineColour = 0;             // KvColKaimBoth
    bool yearOwn = false;                   // KvColYCh
    COLORREF yearColour = 0x8080FF;         // KvColY
    bool monthOwn = false;                  // KvColMCh
    COLORREF monthColour = 0xFF8000;        // KvColM
    bool weekdayOwn = false;                // KvColDnCh
    COLORREF weekdayColour = 0x40FF00;      // KvColDn
    bool weekendOwn = false;                // KvColWCh
    COLORREF weekendColour = 0xFF80FF;      // KvColW
    bool alternateOwn = false;              // KvColChCh
    COLORREF alternateColour = 0xFFBFBF;    // KvColCh
    bool todayColours = true;               // KvCheckDate (stored inverted)
    COLORREF todayColour = 0x00FFFF;        // KvColDate
    bool todayOutlineOwn = false;           // KvKaimaDate
    COLORREF todayOutlineColour = 0;        // KvColKaimDate
    bool todayShape = true;                 // KvCheckObj (stored inverted)
    int shape = KV_SHAPE_ELLIPSE;           // KvObjectVid
    COLORREF shapeColour = 0xFF0000;        // KvColObject
    int corners = 3;                        // KvOjectKol, 3..10
    int penWidth = 0;                       // KvOjectPen, width - 1
    int angle = 0;                          // KvOjectAngl, degrees
    int enlarge = 0;                        // KvCfUp: factor 1 + enlarge / 10
    int type = 0;                           // KvType: 0 weekdays in a row, 1 in a column
    int letterCase = 0;                     // KvRegistr (StrToLowOrUp mode)
    int placeYM = 0;                        // KvPlaceYM: 0 one line, 1 two lines, 2 no year
    int alignYear = 0;                      // KvPlain
    int alignMonth = 1;                     // KvPlain1
    int colourMode = 0;                     // KvRevCol
    LOGFONTA font = {};                     // face, weight, italic, charset of the font box
    bool stack = false;                     // KvIsVDel
    int gap = 0;                            // KvVDel
};

// A style with every default of the calendar page ("MS Sans Serif", 204).
CalendarStyle DefaultCalendarStyle();

// What one drawing needs beyond the style.
struct CalendarContext {
    CalendarStyle style;
    RECT area = {};      // work area or desktop (KvUspz), units come from it
    RECT desktop = {};   // stacking keeps calendars inside it
    SYSTEMTIME today = {};
    std::string monthNames[12];
    std::string weekdayNames[7];  // Monday first
};


// Plug-in colour of a day (commands 20 and 22): the first answer strictly
// between 0 and 0xFFFFFF, else 0. The plug-in host installs its dispatcher.
enum { KV_DAY_TEXT_COLOUR = 20, KV_DAY_OUTLINE_COLOUR = 22 };
typedef COLORREF (*DayColourFunction)(int command, const char* month, const char* day);
DayColourFunction SetDayColourFunction(DayColourFunction function);

// Pure black is drawn as 1 and pure white as 0xFFFFFE, so drawn pixels never
// equal the black key nor the white that colour mode 2 inverts.
COLORREF CorrectColor(COLORREF colour);

// Shape of a month: weekday of the 1st (Monday 0 .. Sunday 6), days, and week
// rows (weeks start on Monday). False for a month outside 1..12 or a year the
// clock cannot express.
struct MonthShape {
    int firstWeekday;
    int days;
    int weeks;
};
bool GetMonthShape(int month, int year, MonthShape& shape);

// Geometry of a calendar: units u, v, the month's shape, and its box at the
// record's position. 0 for an invalid record.
int GetParamMonth(float* u, float* v, int* days, int* weeks, RECT* box, struct tm* first, const s_month* record,
                  const CalendarContext& context);
int GetParamMonth2(RECT* box, const s_month* record, const CalendarContext& context);

// Draws the record's month into dc (the wallpaper, screen coordinates).
// 1 when drawn (or hidden by full transparency), 0 for an invalid record.
int PrintCalendar(HDC dc, s_month* record, const CalendarContext& context);
// The plate behind a calendar's box.
void PrintFonCalendar(HDC dc, const RECT* box, const s_month* record, const CalendarContext& context);

// Moves `moved` next to `fixed` when vertical stacking is on (KvIsVDel).
void correctSMonth(s_month* moved, const s_month* fixed, const CalendarContext& context);

// Moves month/year by delta months (-1 or +1 in practice), across years.
void ShiftMonth(int* month, int* year, int delta);

// The three calendars of a composition (previous, current, next month as the
// boxes say), each record filled with its month and stacked as configured.
void DrawCalendars(HDC dc, bool previous, bool next, const CalendarContext& context);

// Text helpers. PrintSimbol draws one text at (x, y) (outlined when asked;
// colour mode 1 takes the inverse of the wallpaper under the text's centre,
// at offset + position) and returns its width. PrintString draws the year or
// month line with alignment 0 left, 1 centre, 2 right.
int PrintSimbol(const char* text, HDC dc, int x, int y, COLORREF colour, bool outline, COLORREF outlineColour,
                int colourMode, HDC wallpaper, int offsetX, int offsetY);
void PrintString(const char* text, HDC dc, int x0, int y0, float u, float v, float cf, int alignment,
                 COLORREF colour, bool outline, COLORREF outlineColour, int colourMode, HDC wallpaper, int offsetX,
                 int offsetY);

// Vertices of a regular polygon (n) and of a star (2n, odd ones at half the
// radius), angle in degrees; points must hold n or 2n entries.
void PolygonPoints(int corners, int angle, double radius, double cx, double cy, POINT* points);
void StarPoints(int corners, int angle, double radius, double cx, double cy, POINT* points);
void PolygonKv(HDC dc, const int* corners, const int* angle, double radius, const double* cx, const double* cy,
               int fill);
void StarKv(HDC dc, const int* corners, const int* angle, double radius, const double* cx, const double* cy, int fill);

// Blends w x h of bmp onto dst at (x, y). transparent: pixels equal to the
// key (or within tolerance on every channel) show what lies beneath; alpha:
// share of what lies beneath in the other pixels (>= 1.0 draws nothing);
// anchor: 1 x is the right edge, 2 y is the bottom edge, 3 both; colour mode
// 2 turns pure white into the inverse of what lies beneath; keySource: 0 the
// first pixel, 1 the end of the first row, 2 the start of the last row, 3 the
// last pixel, 4 or 5 keyColour (rows as seen, top first).
enum { KV_ANCHOR_RIGHT = 1, KV_ANCHOR_BOTTOM = 2 };
void DrawBitmapWithTransparent(HDC dst, HBITMAP bmp, int x, int y, int w, int h, BYTE transparent, float alpha,
                               BYTE anchor, BYTE colourMode, BYTE tolerance, BYTE keySource, COLORREF keyColour);

// Position after the anchor.
void SelPosImage(int* x, int* y, int w, int h, BYTE anchor);
