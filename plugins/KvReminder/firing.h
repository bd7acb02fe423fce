// Firing reminders and the plug-in's hidden window, which runs the minute
// check and receives the reminders' hot keys.
#pragma once

#include <windows.h>

#include "reminder_record.h"

// Deleting a reminder reloads every note, the asking one too: the hidden
// window does it later, outside the note. wParam: the reminder's number.
enum { WM_KV_DELETE = WM_APP + 2 };

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
