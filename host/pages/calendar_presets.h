// Copying the block of calendar keys between settings files (presets).
#pragma once

// The calendar keys of section "set", in their order.
extern const char* const kCalendarKeys[45];

// Copies the calendar keys from filein to fileout; a key missing in filein
// is deleted in fileout. fileout is changed as a whole: its other keys stay,
// and a failure leaves it as it was. False when fileout could not be written.
bool CopyKeyFile2File(const char* filein, const char* fileout);
