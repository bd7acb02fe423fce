// A plug-in's saves that failed (its own files and its writes through the
// settings store): each failure is told once through the host, as the
// host's own are, until that file saves again; what failed is kept, tried
// again every few seconds in the order it was made, and once more at exit.
// GUI thread only, as every plug-in command is.
#pragma once

#include <windows.h>

#include <string>

// From command 0: the host window that tells the user. Watches this
// module's writes through the settings store from now on.
void WatchPluginSaves(HWND host);

// Replaces the file by the bytes (common/file_replace). When that fails the
// bytes are kept and written later; a newer save of the same file takes
// their place. False when the file was not saved now.
bool SaveWholeFile(const std::string& path, const std::string& bytes);
// The bytes a kept save of the file still waits to write.
bool KeptFileBytes(const std::string& path, std::string& bytes);

// A save that was refused, not kept (the file is there but cannot be read
// now, so nothing sound could be written): told as a failed save.
void TellSaveRefused(const std::string& path);

// Tries everything kept again now; true when nothing is left.
bool RetryPluginSaves();
// Command 11: a last try, then the retries stop (the module goes next).
void EndPluginSaves();
