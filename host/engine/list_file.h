// The wallpaper list file (Lists\<name>.lst): one "<path>#<digit>" per line,
// "<path>>" deletion records, comment lines starting with "#", and the count
// trailer "#<n>" as the last thing in the file. Lines are written with CR LF
// as Notepad expects; files with LF alone are read as well.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/wall_model.h"

// Pause the list loops take after every 1000 items so a long list does not
// starve the rest of the system (0 in benchmarks, which count our work).
extern unsigned listPauseMilliseconds;
void PauseEvery1000(size_t done);

struct ParsedList {
    std::vector<WallRow> rows;
    bool changed = false;  // duplicates or deletion records were applied
};

// One entry line as stored: the path and its placement digit. A line without
// the "#<digit>" tail is a bare path with placement '0'.
WallRow ParseEntryLine(const std::string& line);
// The whole text of a list file.
ParsedList ParseListText(const std::string& text);
// The file text for the rows, count trailer included.
std::string ListFileText(const std::vector<WallRow>& rows);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& text);
// Replaces the file by the text through a temporary file in the same folder,
// so a crash or a full disk leaves the old file whole. False on failure.
bool ReplaceFileText(const std::string& path, const std::string& text);

// The count trailer of an open list file (read from its last 20 bytes). A
// file without one gets "\r\n#<entries>" appended. *trailerStart receives the
// offset of the trailer's "#" (the end of the file when it was appended).
int GetCountFilesList(FILE* file, long* trailerStart = nullptr);

// Appends the paths with the suffix ("#0" adds, ">" records a deletion) to a
// list file that is not open, keeping the trailer last and the count right.
// Returns the new count, or -1 when the file cannot be opened.
int AppendToListFile(const std::string& file, const std::vector<std::string>& paths, const char* suffix, bool add);
