// Loading every setting into the pages at start-up, and the one-time move
// of an older version's settings out of the registry.
#pragma once

// Loads all settings into the pages; once, during start-up.
void Settings();
// Moves string values of HKCU\Software\Malvoren\Dravonel into the user's
// settings file and deletes the key (and "Software\Malvoren" when empty).
// The key is deleted only when every value was written and read back;
// otherwise it is kept for the next start.
void RezSaveReg();
// Tells the user once that the older settings stayed in the registry (in
// the user's language, so only once the language is known).
void TellOldSettingsKept();
