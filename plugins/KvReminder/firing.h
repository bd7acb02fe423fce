// Firing reminders and the plug-in's hidden window, which runs the minute
// check and receives the reminders' hot keys.
#pragma once

#include <windows.h>

#include "reminder_record.h"

// Messages the hidden window handles later, outside the window that asked.
enum {
    WM_KV_RELOAD = WM_APP + 1,         // load all reminders again
    WM_KV_DELETE = WM_APP + 2,         // wParam: number; delete it, then reload
};

HWND CreateHiddenWindow();
void DestroyHiddenWindow();

// Runs the minute check now and sets the timer for the next minute.
void MinuteCheck();

// Fires the reminder with that number; nothing while the editor is open.
// Forced firings (menu, hot key) skip the busy check.
void FireReminder(int number, bool forced);
// Fires a record as it is (the editor's test).
void FireRecord(const ReminderRecord& record, bool forced);

// Closes every open reminder window (at exit).
void CloseReminderWindows();
