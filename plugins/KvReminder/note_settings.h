// The note settings dialog: on top or not, text and background colours,
// translucency. Changes the record only when confirmed.
#pragma once

#include <windows.h>

#include "reminder_record.h"

bool RunNoteSettings(HWND owner, ReminderRecord& record);
