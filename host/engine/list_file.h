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

// The count trailer in the last bytes of a file (at most 21 of them; any
// bytes), fromStart when they are the whole file: the offset of its "#" in
// tail and the count (held at the largest int). False when there is none.
bool FindCountTrailer(const char* tail, size_t length, bool fromStart, size_t* mark, int* count);
// The entries a file without trailer is counted as: lines that do not start
// with "#" and are not blank.
int CountListLines(const char* bytes, size_t length);

// A list file's text with the paths appended with the suffix ("#0" adds,
// ">" records a deletion), the trailer last with the count moved by one per
// path (never below 0). *count receives the new count.
std::string AppendedListText(const std::string& text, const std::vector<std::string>& paths, const char* suffix,
                             bool add, int* count);
// The list's name for its file name: the name up to its last ".".
std::string ListNameOfFile(const std::string& fileName);

enum { LIST_FILE_MISSING = -1, LIST_FILE_NOT_SAVED = -2 };
// Appends to a list file that is not open (AppendedListText), replacing it
// whole. Returns the new count, LIST_FILE_MISSING when it cannot be read, or
// LIST_FILE_NOT_SAVED when it could not be written (it is then unchanged).
int AppendToListFile(const std::string& file, const std::vector<std::string>& paths, const char* suffix, bool add);
