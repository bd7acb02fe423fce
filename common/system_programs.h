// The system's helper programs (Notepad, rundll32, Explorer) by their full
// path. Started by bare name they are looked for in the current folder
// before the system's, and the current folder is often one of the user's
// picture folders: a program of that name put there would run instead.
#pragma once

#include <string>

// name in the system folder (System32), e.g. "notepad.exe".
std::string SystemProgramPath(const char* name);
// name in the Windows folder, e.g. "explorer.exe".
std::string WindowsProgramPath(const char* name);
