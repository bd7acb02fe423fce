// The system's folder and file dialogs as the pages use them.
#pragma once

#include <windows.h>

// Folder browser starting at `start` (the program folder when none); a heap
// copy of the chosen folder, or none.
char* GetFolder(HWND owner, const char* start, const char* title);
int CALLBACK BrowseCallbackProc(HWND hwnd, UINT message, LPARAM lParam, LPARAM data);

// Multi-select picture dialog starting at currentDir: the chosen files go to
// the pending files and their folder becomes currentDir. True on OK.
bool GetOpenFileNameKv(const char* title);
UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Splits the dialog's file-name text ("a.jpg" or "\"a.jpg\" \"b.png\"") into
// full paths below folder, last name first; names of 4 characters or fewer
// are skipped.
void CollectChosenFiles(const char* folder, const char* names);

// A single file; OpenSave 1 opens, 0 saves (appending ext unless the name
// ends in it). A heap copy of the path, or none.
char* OpenSingleFileDialog(HWND howner, const char* filter, const char* title, const char* ext, int OpenSave);
