#include "engine/list_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "scopedwin.h"

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

WallRow ParseEntryLine(const std::string& line) {
    const size_t length = line.size();
    if (length >= 2 && line[length - 2] == '#') return {line.substr(0, length - 2), line[length - 1]};
    return {line, '0'};
}

ParsedList ParseListText(const std::string& text) {
    ParsedList parsed;
    // Rows only grow at the end while the file is read, so row numbers stay
    // valid for the index until the final compaction.
    PathIndex& where = parsed.index;
    std::vector<uint32_t>& hashes = parsed.hashes;
    std::vector<bool> deleted;
    const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    parsed.rows.reserve(lines);
    hashes.reserve(lines);
    where.Reserve(lines);
    const char* data = text.data();
    size_t begin = 0;
    while (begin < text.size()) {
        const char* found = static_cast<const char*>(memchr(data + begin, '\n', text.size() - begin));
        const size_t end = found ? static_cast<size_t>(found - data) : text.size();
        const char* line = data + begin;
        size_t length = end - begin;
        begin = end + 1;
        if (!length || line[0] == '#') continue;
        while (length && (line[length - 1] == '\r' || line[length - 1] == '\n')) --length;
        PaceListWork();
        if (length <= 4) continue;

        const char* arrow = nullptr;
        for (size_t i = length; i-- > 0;)
            if (line[i] == '>') {
                arrow = line + i;
                break;
            }
        if (arrow) {
            const size_t pathLength = static_cast<size_t>(arrow - line);
            const uint32_t hash = PathHash(line, pathLength);
            const int row = where.Find(hash, [&](uint32_t candidate) {
                const std::string& path = parsed.rows[candidate].path;
                return !deleted[candidate] && SamePath(path.data(), path.size(), line, pathLength);
            });
            if (row >= 0) {
                deleted[row] = true;
                where.Erase(static_cast<uint32_t>(row), hash);
                parsed.changed = true;
            }
            continue;
        }
        // "<path>#<digit>", or a bare path.
        const bool tail = length >= 2 && line[length - 2] == '#';
        const size_t pathLength = tail ? length - 2 : length;
        const uint32_t hash = PathHash(line, pathLength);
        const int row = where.FindOrInsert(static_cast<uint32_t>(parsed.rows.size()), hash, [&](uint32_t candidate) {
            const std::string& path = parsed.rows[candidate].path;
            return SamePath(path.data(), path.size(), line, pathLength);
        });
        if (row >= 0) {
            parsed.changed = true;
            continue;
        }
        parsed.rows.push_back({std::string(line, pathLength), tail ? line[length - 1] : '0'});
        hashes.push_back(hash);
        deleted.push_back(false);
    }
    if (parsed.changed) {
        size_t kept = 0;
        for (size_t i = 0; i < parsed.rows.size(); ++i) {
            if (deleted[i]) continue;
            if (kept != i) {
                parsed.rows[kept] = std::move(parsed.rows[i]);
                hashes[kept] = hashes[i];
            }
            ++kept;
        }
        parsed.rows.resize(kept);
        hashes.resize(kept);
        where.Rebuild(hashes);
    }
    return parsed;
}

namespace {

// Hands the text of a list's lines to put() a block of about 1 MB at a
// time: a million rows would make 50 MB of text at once.
template <typename Put>
bool ListFileBlocks(const std::vector<WallRow>& rows, Put put) {
    const size_t kBlock = 1024 * 1024;
    std::string block;
    block.reserve(kBlock + 1024);
    for (const WallRow& row : rows) {
        PaceListWork();
        if (row.path.empty() || !row.placement) continue;
        block.append(row.path);
        block += '#';
        block += row.placement;
        block += "\r\n";
        if (block.size() >= kBlock) {
            if (!put(block)) return false;
            block.clear();
        }
    }
    block += '#';
    block += std::to_string(rows.size());
    return put(block);
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return text.empty() ||
           (WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size());
}

// Writes a temporary file beside path with write(handle), flushes it and
// moves it over path; the old file stays whole on any failure.
template <typename Write>
bool ReplaceFileWith(const std::string& path, Write write) {
    const std::string temporary = path + ".new";
    {
        ScopedHandle file(
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        if (!write(file.get()) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace

std::string ListFileText(const std::vector<WallRow>& rows) {
    std::string text;
    ListFileBlocks(rows, [&](const std::string& block) {
        text += block;
        return true;
    });
    return text;
}

bool WriteListFile(const std::string& path, const std::vector<WallRow>& rows) {
    return ReplaceFileWith(path, [&](HANDLE file) {
        return ListFileBlocks(rows, [&](const std::string& block) { return WriteAll(file, block); });
    });
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    text.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return text.empty() || (ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) &&
                            read == text.size());
}

bool ReplaceFileText(const std::string& path, const std::string& text) {
    return ReplaceFileWith(path, [&](HANDLE file) { return WriteAll(file, text); });
}

int GetCountFilesList(FILE* file, long* trailerStart) {
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    // The last 21 bytes, up to the very end: the line end, "#" and the count.
    long from = size > 21 ? size - 21 : 0;
    fseek(file, from, SEEK_SET);
    char tail[22] = {};
    size_t got = fread(tail, 1, 21, file);
    tail[got] = '\0';
    // The trailer is the last line: "#" and digits up to the end of the file
    // (a comment line near the end is not one).
    const char* mark = nullptr;  // the trailer's "#"
    for (const char* hit = strstr(tail, "\n#"); hit; hit = strstr(hit + 1, "\n#")) mark = hit + 1;
    // An empty list is saved as the trailer alone, with no line before it.
    if (!mark && from == 0 && tail[0] == '#') mark = tail;
    if (mark && mark[1] && strspn(mark + 1, "0123456789") == strlen(mark + 1)) {
        if (trailerStart) *trailerStart = from + static_cast<long>(mark - tail);
        return atoi(mark + 1);
    }
    // No trailer yet: count the entries and append one.
    fseek(file, 0, SEEK_SET);
    int count = 0;
    bool lineStart = true;
    for (int c; (c = fgetc(file)) != EOF;) {
        if (lineStart && c != '#' && c != '\r' && c != '\n') ++count;
        lineStart = c == '\n';
    }
    fseek(file, 0, SEEK_END);
    if (trailerStart) *trailerStart = size + 2;
    fprintf(file, "\r\n#%d", count);
    fflush(file);
    return count;
}

int AppendToListFile(const std::string& path, const std::vector<std::string>& paths, const char* suffix, bool add) {
    FILE* file = fopen(path.c_str(), "r+b");
    if (!file) return -1;
    long trailer = 0;
    int count = GetCountFilesList(file, &trailer);
    fseek(file, trailer, SEEK_SET);
    for (const std::string& entry : paths) {
        fprintf(file, "%s%s\r\n", entry.c_str(), suffix);
        count += add ? 1 : -1;
    }
    if (count < 0) count = 0;
    fprintf(file, "#%d", count);
    fflush(file);
    // Cut whatever the old trailer left behind the new end.
    long end = ftell(file);
    fclose(file);
    ScopedHandle handle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (handle.valid()) {
        LARGE_INTEGER position;
        position.QuadPart = end;
        if (SetFilePointerEx(handle.get(), position, nullptr, FILE_BEGIN)) SetEndOfFile(handle.get());
    }
    return count;
}
