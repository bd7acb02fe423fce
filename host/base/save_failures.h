// Saving that failed, told to the user in the user's language: the file on
// disk is then whole and holds what it held before. Told once, not at every
// later attempt (timers and plug-ins save again and again), until a save of
// the same kind works again.
#pragma once

// Texts of section "STRING".
enum { SAVE_FAILED_LIST = 61, SAVE_FAILED_SETTINGS = 62, OLD_SETTINGS_KEPT = 63, SAVE_FAILED_WALLPAPER = 64 };

// A message box (titled with the file) unless one of that kind is already
// shown or was shown since the last save of its kind that worked. The text
// is the kind's own unless a more telling one is named.
void ReportSaveFailure(int kind, const char* file, int text = 0);
// The same, shown once the message loop runs (start-up does not wait for
// the user); the kind counts as told from now on.
void ReportSaveFailureSoon(int kind, const char* file, int text = 0);
// A save of that kind worked: its next failure is told again.
void ReportSaveSuccess(int kind);

// The program folder takes no files and the user was told so at start-up:
// every save would fail, and one box per file would say it again.
void QuietSaveFailures();

// Has the settings store report the host's own writes this way.
void WatchSettingsWrites();

// How a report reaches the user (text, title); a message box owned by the
// main window unless a test puts a recorder in. Returns the previous one.
typedef void (*SaveFailureNotice)(const char* text, const char* file);
SaveFailureNotice SetSaveFailureNotice(SaveFailureNotice notice);
