// Loading every setting into the pages at start-up, and the one-time move
// of an older version's settings out of the registry.
#pragma once

// Loads all settings into the pages; once, during start-up.
void Settings();
// Moves string values of HKCU\Software\Malvoren\Dravonel into the user's
// settings file and deletes the key (and "Software\Malvoren" when empty).
void RezSaveReg();
