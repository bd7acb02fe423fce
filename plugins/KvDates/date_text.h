// Date file texts, print settings and the block a text makes on the
// wallpaper. Plain code: measuring goes through DateTextMeasure, so tests
// use made-up widths and any bytes are safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class IniDocument;

// A text's lines: "|" separates them.
std::vector<std::string> SplitDateLines(const std::string& text);
// "|" to line breaks for the edit box, and back (any CR, LF or CR LF).
std::string DateTextToEdit(const std::string& text);
std::string DateTextFromEdit(const std::string& text);
// ">o" in a fixed text stands for the current wallpaper.
std::string ReplaceDateVariables(const std::string& text, const std::string& wallpaper);

// Text and outline colours keep clear of the host's transparency keys:
// black becomes RGB(1, 0, 0), white RGB(254, 255, 255).
uint32_t CorrectDateColour(uint32_t colour);

// "MM" and "DD" as the date files name their sections and keys.
std::string TwoDigits(int value);

// The month view: weekday of the 1st (Monday 0 .. Sunday 6) and days.
int DaysInMonth(int year, int month);
int WeekdayMonday0(int year, int month, int day);
struct DateCell {
    int day;
    int column;  // 0 Monday .. 6 Sunday
    int row;     // week row, 0 first
};
std::vector<DateCell> MonthCells(int year, int month);

// Print settings of one date file: its section of the ".dst" file.
struct DatePrintSettings {
    bool print = false;            // KvPrintP
    int type = 0;                  // KvTypDate: 0 today's entry, 1 the "SCRIPT" text
    int anchorX = 1, anchorY = 1;  // KvPosP
    int corner = 0;                // KvTypPos: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right
    int shift = 0;                 // KvTypShift: 0 none, 1 above, 2 below, 3 left, 4 right
    int gap = 12;                  // KvPix
    bool autoWrap = false;         // KvAutoCar
    std::string face = "MS Sans Serif";  // KvFontBoxP
    int style = 0;                 // KvStyleP: 1 italic, 2 bold, 3 both
    int charset = 204;             // KvCharsetP
    int height = 16;               // KvHeight, at least 8
    uint32_t colour = 0x00FFFF;    // KvColPBoth
    bool outline = false;          // KvKaimaP
    uint32_t outlineColour = 0;    // KvColPKaimBoth
    int colourMode = 0;            // KvRevPCol: 0 colour, 1 negative of the wallpaper, 2 white
    int alpha = 0;                 // KvAlphaPText, tenths
    uint32_t dayColour = 0x59ACFF; // KvColPW
    bool dayColourOn = false;      // KvColPWCh
    uint32_t frameColour = 0;      // KvColKaimPW
    bool frameColourOn = false;    // KvColKaimPWCh
};
DatePrintSettings ReadDatePrintSettings(const IniDocument& dst, const std::string& name);

// "x y"; missing or absurd numbers keep the fallback.
void ParseDatePoint(const std::string& text, int& x, int& y);

class DateTextMeasure {
public:
    virtual ~DateTextMeasure() = default;
    virtual int Width(const std::string& text) = 0;
    // Height of "W": the line height.
    virtual int LineHeight() = 0;
};

// Breaks a line into lines no wider than width where it can: after the last
// space that fits, else after as many characters as fit (at least one).
std::vector<std::string> WrapDateLine(const std::string& line, int width, DateTextMeasure& measure);

struct DateRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct DateBlock {
    std::vector<std::string> lines;  // after wrapping
    int width = 0, height = 0;
    int lineHeight = 0;
    int margin = 0;    // each side, for italic overhang
    int frame = 0;     // 1 with an outline
    int anchorX = 0, anchorY = 0;  // the corner's point after shifting
    DateRect rect;
    bool wrapped = false;
};

// Where a text goes: its anchor and corner, moved beside the block printed
// before it (previous may be none) and wrapped to the room left on screen.
DateBlock LayoutDateBlock(const std::vector<std::string>& lines, const DatePrintSettings& settings,
                          const DateRect* previous, const DateRect& screen, DateTextMeasure& measure);
