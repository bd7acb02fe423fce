// Geometry of the analog clock: the diameter rule, the hour marks and the
// hands. Plain code so the figures can be checked without drawing.
#pragma once

#include <string>
#include <vector>

enum { KV_CLOCK_MIN_DIAMETER = 50, KV_CLOCK_MAX_DIAMETER = 400 };

// A stored diameter outside 50..400 gives a 50-pixel clock.
int ClockDiameter(int stored);

struct ClockStroke {
    int x1, y1, x2, y2;
    int width;  // pen width (0 draws one pixel wide)
};

// Twelve thin strokes (thirteen, as the angle runs up to a full turn) and
// the four thick ones at 12, 6, 9 and 3 o'clock, for a dial diameter wide.
std::vector<ClockStroke> HourMarks(int diameter);
// Pen width of the rim.
int RimWidth(int diameter);

struct ClockHands {
    ClockStroke second;
    ClockStroke minute;
    ClockStroke hour;
};
// Each hand runs from its tip to the centre; hour is 0..23.
ClockHands HandStrokes(int diameter, int hour, int minute, int second);

// "x y" as stored for a desktop position; missing numbers keep the fallback.
void ParsePoint(const std::string& text, int& x, int& y);
