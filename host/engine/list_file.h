// The wallpaper list file (Lists\<name>.lst): one "<path>#<digit>" per line,
// "<path>>" deletion records, comment lines starting with "#", and the count
// trailer "#<n>" as the last thing in the file. Lines are written with CR LF
// as Notepad expects; files with LF alone are read as well.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "engine/wall_model.h"

// Long list work runs on the window thread. Once it has held the processor
// for listHoldMilliseconds without a break it pauses listPauseMilliseconds,
// so the rest of the system keeps running; work that ends sooner never
// waits. 0 as the pause switches pausing off (benchmarks count our work).
extern unsigned listPauseMilliseconds;
extern unsigned listHoldMilliseconds;
// Called by the list loops for every item.
void PaceListWork();
// The longest the list work held the processor between two pauses (since it
// was last set to 0), in milliseconds.
extern unsigned long listLongestHold;
// The clock (milliseconds) and the pause the pacing uses; tests drive them.
extern unsigned long (*listClock)();
extern void (*listSleep)(unsigned long milliseconds);

struct ParsedList {
    std::vector<WallRow> rows;
    bool changed = false;  // duplicates or deletion records were applied
    // The path hashes of the rows and their index, made while reading, so
    // the open list need not make them again.
    std::vector<uint32_t> hashes;
    PathIndex index;
};

// One entry line as stored: the path and its placement digit. A line without
// the "#<digit>" tail is a bare path with placement '0'.
WallRow ParseEntryLine(const std::string& line);
// The whole text of a list file.
ParsedList ParseListText(const std::string& text);
// The file text for the rows, count trailer included, handed to put() a
// block of about 1 MB at a time (a million rows make 50 MB of text); false
// when put() fails.
bool ListFileBlocks(const std::vector<WallRow>& rows, const std::function<bool(const std::string&)>& put);
// The same text whole.
std::string ListFileText(const std::vector<WallRow>& rows);

// Reads a whole file; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& text);
// Replaces the file by the text through a temporary file in the same folder,
// so a crash or a full disk leaves the old file whole. False on failure.
bool ReplaceFileText(const std::string& path, const std::string& text);
// The same with the list file text of the rows, written a block at a time.
bool WriteListFile(const std::string& path, const std::vector<WallRow>& rows);

// The count trailer of an open list file (read from its last 20 bytes). A
// file without one gets "\r\n#<entries>" appended when appendTrailer says it
// was opened for writing. *trailerStart receives the offset of the trailer's
// "#" (the end of the file when it was appended).
int GetCountFilesList(FILE* file, long* trailerStart = nullptr, bool appendTrailer = true);

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
