// The clock plug-in's state and the pieces its page, windows and timer share.
// Everything runs on the host's GUI thread.
#pragma once

#include <windows.h>

#include <string>

#include "clock_format.h"

enum { CLOCK_TIMER = 14, CLOCK_TIMER_PERIOD = 1000 };

// What the page says, kept here so the timer and the windows need not read
// controls. Every field is written to the settings file as it changes.
struct ClockOptions {
    int storedDiameter = 80;  // KvRClock as stored; ClockDiameter() applies the rule
    int analogX = 100, analogY = 100;
    int digitalX = 100, digitalY = 100;  // x is the right edge when rightAnchored
    bool rim = true, marks = true;
    bool hourHand = true, minuteHand = true, secondHand = true;
    bool analogTop = true, digitalTop = true;
    COLORREF rimColour = RGB(0, 64, 128);
    COLORREF markColour = RGB(0, 64, 128);
    COLORREF bottomColour = RGB(255, 255, 255);
    COLORREF hourColour = 0, minuteColour = 0, secondColour = 0;
    int analogAlpha = 100, digitalAlpha = 100;  // percent opacity
    std::string skin;
    std::string format = kDefaultClockFormat;
    std::string timePicture = "HH:mm:ss";
    std::string weekdayPicture = "dddd";
    std::string datePicture = "dd MMMM yyyy";
    int fontHeight = 16;
    bool smooth = false;
    bool transparent = false;
    bool rightAnchored = false;
    POINT analogPrint = {1, 1};
    POINT digitalPrint = {1, 1};
    uint32_t colours[KV_CLOCK_COLOURS] = {};
};

struct ClockPlugin {
    HINSTANCE instance = nullptr;
    HWND host = nullptr;  // where service requests go
    std::string languageFile;
    std::string settingsFile;
    HWND page = nullptr;
    HWND analog = nullptr;
    HWND digital = nullptr;
    HBITMAP dial = nullptr;  // diameter x diameter, black outside the circle
    int dialDiameter = 0;
    HFONT font = nullptr;     // the digital clock's font
    HFONT boxFont = nullptr;  // the font box's font, when this plug-in made it
    HMENU menu = nullptr;
    HWND menuOpener = nullptr;  // the clock window that showed the menu
    SYSTEMTIME now = {};
    ClockFigures figures;
    unsigned sources = 0;  // figures the format needs
    int contentWidth = 1;  // measured digital content
    int contentHeight = 1;
    bool suspendDesktop = false;  // while a position is being picked
    bool draggingDigital = false;
    bool loaded = false;  // changes before this are not written back
    bool analogShown = false, analogPrinted = false;
    bool digitalShown = false, digitalPrinted = false;
    ClockOptions options;
};
extern ClockPlugin clockPlugin;

// A service of the host (0 when there is no host).
LRESULT HostService(int code, const void* record);
LRESULT HostServiceValue(int code, LPARAM value);
// A heap text a service returned, copied and freed.
std::string HostText(int code);

// Page (clock_page.cpp).
HWND CreateClockPage(HWND panel);
void LoadClockSettings(const char* settingsFile);
void SyncClockTimer();
void OnClockTimer();
void ReleaseUnusedClockObjects();

// Windows (clock_windows.cpp).
enum ClockKind { ANALOG_CLOCK = 0, DIGITAL_CLOCK = 1 };
void ShowClockWindow(ClockKind kind, bool show);
void CloseClockWindow(ClockKind kind);
void ApplyClockTranslucency(ClockKind kind);
void ApplyClockTopMost(ClockKind kind);
void PlaceAnalogWindow();
void PlaceDigitalWindow();
void BuildClockMenu();
void DestroyClockMenu();

// Drawing (clock_drawing.cpp).
void BuildDial();
void ReleaseDial();
void EnsureClockFont();
void ReleaseClockFont();
void RefreshClockFigures();
// The analog clock with its hands into dc at (x, y); seeThrough lets the
// pixels already there show outside the circle.
void DrawAnalogClock(HDC dc, int x, int y, bool seeThrough);
// Renders the format at (x, y) with the digital font and updates the
// measured content size.
void DrawDigitalClock(HDC dc, int x, int y);
void PaintDigitalOnDesktop(HWND desktop);
void PaintAnalogOnDesktop(HWND desktop);
