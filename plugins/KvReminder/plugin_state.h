// What the plug-in keeps for its whole life: the host's window, the language
// file, its own windows, the schedule.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "reminder_record.h"
#include "schedule.h"

extern HINSTANCE hInstance;    // this module
extern HWND hHost;             // where service requests go (command 0's window)
extern std::string languageFile;
extern HWND hHidden;           // timers and hot keys
extern HWND hEditor;           // the reminder editor while it is open
extern LocalTime startTime;    // when command 0 arrived
extern Schedule schedule;

// Numbered text of a language section ("REMINDER" unless given); a missing
// text shows its number. The buffer is shared: copy before the next call.
const char* Text(int id, const char* section = "REMINDER");
std::string TextCopy(int id, const char* section = "REMINDER");

LocalTime Now();
LocalTime FromSystemTime(const SYSTEMTIME& time);

// The user's ".rms" file, chosen like the settings file.
std::string RmsPath();
ReminderRecord ReadRecord(int number);
bool RecordExists(int number);

// A dialog procedure that lets no exception out into the system's code.
template <INT_PTR (*Procedure)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK Guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Procedure(window, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

// Window text as a std::string.
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int control);
