// The screen-saver menu: "<no>" (id 0), then one owner-drawn item per
// installed saver, with ids equal to their positions. Each saver item
// carries a menudata record: display name, the shell's small icon and the
// file's short path.
#pragma once

#include <windows.h>

#include <string>

extern HMENU hSCRMenu;

// Creates the menu holding "<no>" only.
void CreateScreenSaverMenu();
// Rebuilds items 1..n from the Windows folder, then the system folder (and,
// for a 32-bit program on 64-bit Windows, the real System32 past it).
void FindScreenSavers();
// Adds an item per file of the pattern ext in dir, numbering on from c;
// returns the last id used. With namedAs, each file is recorded in that
// folder instead (dir is another name of it) and skipped when listed there.
int FindFile(const char* dir, const char* ext, int c, const char* namedAs = nullptr);
// Number of savers in the menu (items 1..n).
int ScreenSaverCount();
// Path (short form) and display name of item id; none for "<no>" or a
// missing item.
const char* ScreenSaverPath(int id);
const char* ScreenSaverName(int id);
// Opens the menu at the pointer, owned by the hidden owner window.
void TrackScreenSaverMenu();

// A saver's display name: its description, or the part between the first
// and the last double quote when it holds two; without a description (or
// when nothing is left) the file name without its extension.
std::string SaverDisplayName(const char* description, const char* fileName);
// The "FileDescription" of a file's version resource, or "".
std::string FileDescription(const char* path);
// The short (8.3) form of a path; the path itself where the file system
// keeps no short names.
std::string ShortPathOf(const char* path);
