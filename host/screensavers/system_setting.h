// The system's own screen-saver setting: "SCRNSAVE.EXE" and
// "ScreenSaveActive" under "Control Panel\Desktop" of the current user, and
// for older systems "SCRNSAVE.EXE" in section "boot" of "system.ini".
#pragma once

#include <string>

// With a path: it becomes the system's saver and the saver is active.
// Without: no saver, not active.
void SCRNSAVE_EXE_reg(const char* scrn);
// The path into "system.ini" (none deletes the key); the cache is flushed.
void SCRNSAVE_EXE_ini(const char* scrn);

// The registry's saver; "" when missing or empty.
std::string SystemSaverReg();
// The registry's "ScreenSaveActive"; "" when missing.
std::string SystemSaverActive();
// The "system.ini" saver (up to 255 characters); "" when missing.
std::string SystemSaverIni();
