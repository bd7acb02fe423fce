// The reminder editor: every key of every reminder. While it is open the
// reminders are unloaded, so nothing fires; closing it loads them again.
#pragma once

#include <windows.h>

#include "reminder_record.h"

// Opens the editor, or brings it to the front when it is open.
void OpenEditor();
// Saves what is being edited and closes the editor; the reminders are loaded
// again unless the plug-in is ending.
void CloseEditor(bool reload = true);

// From the editor's own note.
void EditorNoteChanged(HWND note, const ReminderRecord& record);
void EditorNoteClosed(HWND note);
void EditorNoteHidden(HWND note);
// Fires the reminder as the editor shows it now.
void EditorTest();
