// The calendar page (template 107): every option of the desktop calendar and
// the three layout records.
#pragma once

#include <windows.h>

#include <string>

#include "engine/calendar_drawing.h"
#include "pages/calendar_presets.h"

INT_PTR CALLBACK CalenFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Start-up defaults of the page's controls, before the settings are loaded.
void PrepareCalendarPage();
// Texts of the page, the day and month names, from the language file.
void ApplyCalendarPageTexts();
// Loads the calendar settings of the user's file (or of that file) into the
// page and the layout records.
void SettingCalen();
void SettingCalen(const char* file);

// Stores layout record index (0 previous, 1 current, 2 next month).
void SaveMonth(int index);
// Layout record text "%d %d %hd" and back; unreadable parts keep the
// defaults 1, 1, 4, and the size stays within the size box's entries.
std::string MonthRecordText(const s_month& record);
s_month ParseMonthRecord(const char* text);

// Export and import of the calendar settings through a file dialog.
void SaveSettingCalen();
void LoadSettingCalen();
// The calendar keys of file over the user's, then the page reloaded.
PresetImport ImportCalendarSettings(const char* file);

