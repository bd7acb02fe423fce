// The window of a fired reminder: picture, text, the time on its OK button,
// its sound.
#pragma once

#include <windows.h>

#include "reminder_record.h"

HWND ShowReminderWindow(const ReminderRecord& record);
void CloseAllReminderWindows();
// A font from a record's face, height, character set and style.
HFONT CreateReminderFont(const std::string& face, int height, int charSet, int weight);
