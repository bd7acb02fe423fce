// Timers of the main window and the periodic work they drive.
#pragma once

#include <windows.h>

#include "base/timer_ids.h"

void OnTimer04();
void OnTimer08();
// Saves that failed are tried again (every few seconds unless now), so what
// the user did is kept once the disk has room or the file may be written.
void RetrySaves(bool now);
// The taskbar's translucency as the general page sets it (timer 8's part).
void TaskbarCare();


// Value in [low, high) when bounded, else value >= low.
bool CheckInterval(int value, int low, int high, bool bounded);

// What the day-change step of timer 8 decided.
struct DayChange {
    bool changed;   // a new day was seen
    bool store;     // KvLastDay must be written
    int day;        // the new currentDay
};
DayChange NextDay(int currentDay, int dayOfMonth);
