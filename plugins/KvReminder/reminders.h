// The loaded reminders: their submenu items, hot keys, notes and schedule
// entries, made from the reminder file and cleared again.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reminder_record.h"

struct LoadedReminder {
    int number = 0;
    int position = 0;  // in "LIST_REMAINDERS"; the submenu id is position + 1, the hot key id position
    HWND note = nullptr;
    bool hotKey = false;
};
const std::vector<LoadedReminder>& Loaded();

// The connection state probed when the reminders were loaded or last checked.
extern uint8_t connectionState;

// The plug-in's submenu; made again if the host destroyed it.
HMENU SubMenu();
bool IsOurSubMenu(HMENU menu);
HMENU CurrentSubMenu();  // none when not made
void DestroySubMenu();

void LoadReminders();
// Closes the notes, removes the submenu items, hot keys and schedule entries.
void ClearReminders();
void ReloadReminders();

// The submenu's first item: a new note for now, saved and shown at once.
void NewNote();
// Deletes the reminder from the file, then loads everything again.
void DeleteAndReload(int number);

// The number at a list position, from the reminder file (0 when none).
int NumberAtPosition(int position);
// A note closed itself.
void ForgetNote(HWND note);
// A note's name changed: its submenu text follows.
void RenameReminder(int number, const std::string& name);
// The reminder's schedule entry made again from the record.
void RebuildEntry(const ReminderRecord& record);
