// A reminder on the desktop: a strip with its time, date and name that
// unfolds to its text, edited in place and saved when it loses the focus.
#pragma once

#include <windows.h>

#include "reminder_record.h"

// Messages of a note window.
enum {
    WM_NOTE_OPEN = WM_USER + 1,  // lParam: the record (copied); fills, places and shows the note
};

// editorNote: the note belongs to the open editor, which gets its changes
// instead of the reminder file.
HWND CreateNote(const ReminderRecord& record, bool editorNote = false);
// The record as the note holds it now.
bool NoteRecord(HWND note, ReminderRecord& record);
