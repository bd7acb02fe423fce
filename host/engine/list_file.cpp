#include "engine/list_file.h"

#include <windows.h>

#include "file_replace.h"

unsigned listPauseMilliseconds = 40;

void PauseEvery1000(size_t done) {
    if (done && done % 1000 == 0 && listPauseMilliseconds) Sleep(listPauseMilliseconds);
}

bool ReadWholeFile(const std::string& path, std::string& text) { return ReadFileBytes(path.c_str(), text); }

bool ReplaceFileText(const std::string& path, const std::string& text) { return ReplaceFileBytes(path.c_str(), text); }

int AppendToListFile(const std::string& path, const std::vector<std::string>& paths, const char* suffix, bool add) {
    std::string text;
    if (!ReadWholeFile(path, text)) return LIST_FILE_MISSING;
    int count = 0;
    if (!ReplaceFileText(path, AppendedListText(text, paths, suffix, add, &count))) return LIST_FILE_NOT_SAVED;
    return count;
}
