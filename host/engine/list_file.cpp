#include "engine/list_file.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "scopedwin.h"

unsigned listPauseMilliseconds = 40;

void PauseEvery1000(size_t done) {
    if (done && done % 1000 == 0 && listPauseMilliseconds) Sleep(listPauseMilliseconds);
}

WallRow ParseEntryLine(const std::string& line) {
    const size_t length = line.size();
    if (length >= 2 && line[length - 2] == '#') return {line.substr(0, length - 2), line[length - 1]};
    return {line, '0'};
}

ParsedList ParseListText(const std::string& text) {
    ParsedList parsed;
    // Position of each path's row while the file is read (rows only grow
    // at the end here, so positions stay valid until the final compaction).
    std::unordered_map<std::string, size_t> where;
    std::vector<bool> deleted;
    size_t entries = 0;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        if (line.empty() || line[0] == '#') continue;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        PauseEvery1000(++entries);
        if (line.size() <= 4) continue;

        size_t arrow = line.rfind('>');
        if (arrow != std::string::npos) {
            auto found = where.find(PathKey(line.substr(0, arrow)));
            if (found != where.end()) {
                deleted[found->second] = true;
                where.erase(found);
                parsed.changed = true;
            }
            continue;
        }
        WallRow row = ParseEntryLine(line);
        std::string key = PathKey(row.path);
        if (where.count(key)) {
            parsed.changed = true;
            continue;
        }
        where.emplace(std::move(key), parsed.rows.size());
        parsed.rows.push_back(std::move(row));
        deleted.push_back(false);
    }
    if (parsed.changed) {
        size_t kept = 0;
        for (size_t i = 0; i < parsed.rows.size(); ++i) {
            if (deleted[i]) continue;
            if (kept != i) parsed.rows[kept] = std::move(parsed.rows[i]);
            ++kept;
        }
        parsed.rows.resize(kept);
    }
    return parsed;
}

std::string ListFileText(const std::vector<WallRow>& rows) {
    std::string text;
    size_t bytes = 16;
    for (const WallRow& row : rows) bytes += row.path.size() + 4;
    text.reserve(bytes);
    for (const WallRow& row : rows) {
        if (row.path.empty() || !row.placement) continue;
        text += row.path;
        text += '#';
        text += row.placement;
        text += "\r\n";
    }
    text += '#';
    text += std::to_string(rows.size());
    return text;
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
    const std::string temporary = path + ".new";
    {
        ScopedHandle file(
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        DWORD written = 0;
        bool ok = text.empty() || (WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                                             nullptr) &&
                                   written == text.size());
        ok = ok && FlushFileBuffers(file.get());
        if (!ok) {
            file.reset();
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temporary.c_str());
    return false;
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
