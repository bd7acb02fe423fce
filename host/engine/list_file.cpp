#include "engine/list_file.h"

#include <windows.h>

#include "file_replace.h"

unsigned listPauseMilliseconds = 40;
unsigned listHoldMilliseconds = 100;
unsigned long listLongestHold = 0;

namespace {

unsigned long TickCount() { return GetTickCount(); }
void SleepFor(unsigned long milliseconds) { Sleep(milliseconds); }

// The clock is read every this many items.
const unsigned kItemsPerLook = 256;
// A gap this long between looks means the thread was idle in between: the
// next work starts a fresh stretch.
const unsigned long kIdleGap = 250;

unsigned long stretchStart;
unsigned long lastLook;
unsigned sinceLook;

}  // namespace

unsigned long (*listClock)() = TickCount;
void (*listSleep)(unsigned long milliseconds) = SleepFor;

void PaceListWork() {
    if (++sinceLook < kItemsPerLook) return;
    sinceLook = 0;
    const unsigned long now = listClock();
    if (now - lastLook > kIdleGap) stretchStart = now;
    lastLook = now;
    const unsigned long held = now - stretchStart;
    if (held > listLongestHold) listLongestHold = held;
    if (!listPauseMilliseconds || held < listHoldMilliseconds) return;
    listSleep(listPauseMilliseconds);
    stretchStart = lastLook = listClock();
}

bool ReadWholeFile(const std::string& path, std::string& text) { return ReadFileBytes(path.c_str(), text); }

bool ReplaceFileText(const std::string& path, const std::string& text) { return ReplaceFileBytes(path.c_str(), text); }

bool WriteListFile(const std::string& path, const std::vector<WallRow>& rows) {
    return ReplaceFileBlocks(path.c_str(), [&](const BlockSink& put) { return ListFileBlocks(rows, put); });
}

int AppendToListFile(const std::string& path, const std::vector<std::string>& paths, const char* suffix, bool add) {
    std::string text;
    if (!ReadWholeFile(path, text)) return LIST_FILE_MISSING;
    int count = 0;
    if (!ReplaceFileText(path, AppendedListText(text, paths, suffix, add, &count))) return LIST_FILE_NOT_SAVED;
    return count;
}
