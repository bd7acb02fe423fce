// Copying the block of calendar keys between settings files (presets).
#pragma once

// The calendar keys of section "set", in their order.
extern const char* const kCalendarKeys[45];

// Copies the calendar keys from filein to fileout; a key missing in filein
// is deleted in fileout. fileout is changed as a whole: its other keys stay,
// and a failure leaves it as it was. False when fileout could not be written.
bool CopyKeyFile2File(const char* filein, const char* fileout);

// Takes the calendar keys of file into the user's settings file, through the
// settings store like every other write (a failure there is told and kept
// by the store). Nothing changes when file holds none of them: a missing or
// foreign file must not wipe the user's calendar.
enum class PresetImport { Imported, NoCalendarKeys, NotSaved };
PresetImport ImportCalendarKeys(const char* file, const char* userSettings);
