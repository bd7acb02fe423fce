// The wallpaper page's change-cycle options: the change period (drop-down
// 10434 and the period menu), random order, hold-back conditions, deleting
// files, the program that opens pictures and the start command.
#pragma once

#include <windows.h>

// The period menu (a submenu of the main menu), items 0 .. 14.
extern HMENU hPeriodMenu;

// Milliseconds of a period entry (0 = off; entry 14 has no fixed value).
unsigned PeriodMilliseconds(int index);
// Seconds answered for "other", as a period in milliseconds (0 = none);
// periods longer than the system's timers allow are cut to the longest.
unsigned OtherPeriodMilliseconds(long seconds);

void PrepareWallCycle();
void ApplyWallCycleTexts();
// The page's cycle settings; the period's selection-change starts timer 3.
void LoadWallCyclePeriod(const char* settingsFile);
void LoadWallCycleOptions(const char* settingsFile);
// True when the command belonged to the cycle's controls.
bool OnWallCycleCommand(HWND page, int control, int notification);
// Chooses a period by its index, as the period menu does.
void SelectPeriod(int index);
// The stored start command (KvCmdStart), or "".
const char* StartCommand();
