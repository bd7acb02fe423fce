// Timers of the main window and the periodic work they drive.
#pragma once

#include <windows.h>

enum {
    Timer02 = 2,  // exit 15 s after a start command with "/ex"
    Timer03 = 3,  // wallpaper change period
    Timer04 = 4,  // desktop icon care, 2 s
    Timer05 = 5,  // hot-key polling, 100 ms
    Timer06 = 6,  // screen-saver enforcement, 2 s
    Timer07 = 7,  // tray icon shown only over the taskbar, KvTrayUp s
    Timer08 = 8,  // housekeeping, 1 s
};

void OnTimer04();
void OnTimer07();
void OnTimer08();

// Period of timer 7 for a KvTrayUp value: seconds, at least one.
UINT TrayUpPeriod(int seconds);
// (Re)starts timer 7 from the general page's seconds field.
void StartTrayUpTimer();

// 1 when a window other than the desktop covers the work area (10 pixels of
// tolerance on every side), else 0.
int CheckFullWind();
// Pure test behind CheckFullWind.
bool CoversWorkArea(const RECT& window, const RECT& workArea);
// True when the pointer is over the taskbar.
bool IfShell_TrayWnd();
// Value in [low, high) when bounded, else value >= low.
bool CheckInterval(int value, int low, int high, bool bounded);

// What the day-change step of timer 8 decided.
struct DayChange {
    bool changed;   // a new day was seen
    bool store;     // KvLastDay must be written
    int day;        // the new currentDay
};
DayChange NextDay(int currentDay, int dayOfMonth);
