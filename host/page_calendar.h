// The calendar page (template 107).
#pragma once

#include <windows.h>

INT_PTR CALLBACK CalenFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Start-up defaults of the page's controls, before the settings are loaded.
void PrepareCalendarPage();
// Texts of the page from the language file.
void ApplyCalendarPageTexts();
// Loads the calendar settings into the page.
void SettingCalen();
