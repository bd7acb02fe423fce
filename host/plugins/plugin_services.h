// What plug-ins ask of the host: the services of message WM_USER+2, answered
// on the GUI thread while the plug-in's SendMessage waits.
#pragma once

#include <windows.h>

#include <functional>

#include "engine/unique_order.h"
#include "dravonel_plugin.h"

// Requests the application answers itself (it sits above the plug-in host):
// showing the settings window on a page, opening a popup menu owned by the
// hidden owner window, running a command line. Unset, they do nothing.
struct PluginHostCommands {
    void (*showSettings)(HWND page) = nullptr;
    void (*trackMenu)(HMENU menu) = nullptr;
    void (*runCommandLine)(const char* line) = nullptr;
};
void SetPluginHostCommands(const PluginHostCommands& commands);

// The service dispatcher: code 0..32 with its argument (a record in the
// caller's memory, read during the call only). Unknown codes and null
// records answer 0.
LRESULT RunFuncFromPlagin(int code, LPARAM param);

// Service 31's month: the month and year texts ("" or none: now; "5",
// "2030": absolute; "+3", "-1": relative to now) against the current month
// and year. The result is a month 1..12 of a year the clock can express.
struct CalendarMonth {
    int month;
    int year;
};
CalendarMonth CalendarMonthFromText(const char* smonth, const char* syear, int currentMonth, int currentYear);

// Service 30's row: the one a forward step would show, without moving. Row 0
// for fewer than two rows; in random order the queue's head (drawNew fills
// an empty queue first), else the row after the selected one, wrapping.
int NextWallpaperRow(int rows, int selected, bool random, const IndexList& queue,
                     const std::function<void()>& drawNew);

// Service 25: the chosen screen saver (the saver menu's selection, also
// while the chooser stands in for it or savers are switched off), a heap
// path or none.
char* CurrentScreenSaverPath();
