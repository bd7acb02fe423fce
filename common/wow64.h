#pragma once

// A 32-bit program on 64-bit Windows runs under WOW64: the system shows it a
// registry view and a System32 folder of its own (the 32-bit ones). What the
// whole system uses (the Run value, the logon screen's wallpaper, the
// screen savers in the real System32) must be reached past that. For an x64
// program, or on 32-bit Windows, all of this is the plain view.

#include <windows.h>

#include <string>

// True for a 32-bit process on 64-bit Windows.
bool RunningUnderWow64();
// KEY_WOW64_64KEY under WOW64 (the system's own view), else nothing: the flag
// is added to a key's access rights.
REGSAM NativeRegistryView();
// The folder through which this process sees the real System32 ("Sysnative"
// under WOW64 where the system has it), or "" when that is the system folder
// itself.
std::string NativeSystemFolderAlias();
// path as this process can open it: under WOW64 a file named in the system
// folder that only the real System32 holds is reached through Sysnative.
std::string OpenablePath(const std::string& path);
