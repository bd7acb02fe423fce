// The digital clock's format string: "%" codes insert the time, the date,
// memory and processor figures, the uptime, the wallpaper and the screen
// saver; "%\" and "%/" start lines that run left-to-right or right-to-left;
// "%a" and "%b" draw small bar diagrams. One routine draws and measures, so
// the window takes the size of what it showed.
//
// Plain code: the text goes through a ClockCanvas, so a test can measure
// with made-up widths and the format string may hold any bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Colour slots, in the order of the colour list on the settings page.
enum ClockColourSlot {
    CLOCK_TIME = 0,      // %t
    CLOCK_WEEKDAY,       // %w
    CLOCK_DATE,          // %d
    CLOCK_FREE_MEMORY,   // %u
    CLOCK_MEMORY_LOAD,   // %p
    CLOCK_MEMORY_BAR,    // %a
    CLOCK_PAGE_FILE,     // %f
    CLOCK_PROCESSOR,     // %c
    CLOCK_PROCESSOR_BAR, // %b
    CLOCK_UPTIME,        // %n
    CLOCK_WALLPAPER,     // %o
    CLOCK_SAVER,         // %s
    CLOCK_OTHER,         // literal text, unknown codes, the diagrams' frame
    CLOCK_BOTTOM,        // background
    KV_CLOCK_COLOURS
};

struct ClockColourInfo {
    char code;        // letter after "%", 0 for the last two slots
    const char* key;  // key in section "digitalclock"
    uint32_t colour;  // default, red in the low byte
};
extern const ClockColourInfo kClockColours[KV_CLOCK_COLOURS];

const char kDefaultClockFormat[] = "%t %w %d %a%";

// Which figures a format needs refreshed each tick.
enum : unsigned {
    CLOCK_NEEDS_TIME = 1u << 0,
    CLOCK_NEEDS_WEEKDAY = 1u << 1,
    CLOCK_NEEDS_DATE = 1u << 2,
    CLOCK_NEEDS_MEMORY = 1u << 3,
    CLOCK_NEEDS_PROCESSOR = 1u << 4,
    CLOCK_NEEDS_UPTIME = 1u << 5,
    CLOCK_NEEDS_WALLPAPER = 1u << 6,
    CLOCK_NEEDS_SAVER = 1u << 7,
};
unsigned ClockSourcesUsed(const std::string& format);

struct ClockFigures {
    std::string time;
    std::string weekday;
    std::string date;
    std::string wallpaper;
    std::string saver;
    unsigned freeMemoryMb = 0;
    int memoryLoad = 0;  // percent
    unsigned pageFileMb = 0;
    int processor = 0;   // percent as the host reports it (may be out of range)
    unsigned long long uptimeSeconds = 0;
};

// The text a code shows ("%02d" figures and so on); empty for bars and
// unknown letters.
std::string ClockCodeText(char code, const ClockFigures& figures);

class ClockCanvas {
public:
    virtual ~ClockCanvas() = default;
    // Height of the line (the extent of " ").
    virtual int LineHeight() = 0;
    virtual int TextWidth(const char* text, size_t length) = 0;
    virtual void Text(int x, int y, const char* text, size_t length, uint32_t colour) = 0;
    // Fills left <= x < right, top <= y < bottom.
    virtual void Fill(int left, int top, int right, int bottom, uint32_t colour) = 0;
};

struct ClockSize {
    int width;
    int height;
};

// Lays the format out with (x0, y0) as origin inside a box currentWidth
// wide, drawing the items that fit, and returns the size the box needs.
ClockSize RenderClockFormat(const std::string& format, const ClockFigures& figures,
                            const uint32_t (&colours)[KV_CLOCK_COLOURS], ClockCanvas& canvas, int currentWidth,
                            int x0, int y0);
