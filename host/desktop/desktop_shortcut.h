// The program's shortcut on the user's desktop, "Dravonel.lnk", made through
// the shell's link object.
#pragma once

#include <string>

// The shortcut's path in the folder that the current user's "Shell Folders"
// key names "Desktop"; empty when that cannot be read.
std::string GetLabelPath();
// A shortcut at lpszPathLink to lpszPathObj with the description lpszDesc;
// failures are ignored. COM must be initialised on the thread.
void CreateLink(const char* lpszPathObj, const char* lpszPathLink, const char* lpszDesc);
// The program's own shortcut, described "MalvorenSoft".
void CreateLabel();
// Deletes it; nothing when the desktop folder cannot be read.
void DeleteLabel();
