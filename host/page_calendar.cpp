#include "page_calendar.h"

#include "globals.h"
#include "language.h"

INT_PTR CALLBACK CalenFunc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void PrepareCalendarPage() {}

void ApplyCalendarPageTexts() { SetControlTexts(hCalen, "CALEN", 10700, 10735); }

void SettingCalen() {}
