// The list file's text: reading entries, writing them, and the count
// trailer. No window or file-system calls: it is also built natively and
// fuzzed, since people edit list files by hand and copy them around.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/list_file.h"

WallRow ParseEntryLine(const std::string& line) {
    const size_t length = line.size();
    if (length < 2 || line[length - 2] != '#') return {line, '0'};
    // A zero byte is no placement: the row would be dropped by the next save.
    const char placement = line[length - 1] ? line[length - 1] : '0';
    return {line.substr(0, length - 2), placement};
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
        // A zero byte is no placement: the row would be dropped by the next save.
        parsed.rows.push_back({std::string(line, pathLength), tail && line[length - 1] ? line[length - 1] : '0'});
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

bool ListFileBlocks(const std::vector<WallRow>& rows, const std::function<bool(const std::string&)>& put) {
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

std::string ListFileText(const std::vector<WallRow>& rows) {
    std::string text;
    ListFileBlocks(rows, [&](const std::string& block) {
        text += block;
        return true;
    });
    return text;
}

bool FindCountTrailer(const char* tail, size_t length, bool fromStart, size_t* mark, int* count) {
    // The trailer is the last line: "#" and digits up to the very end of the
    // file (a comment line near the end is not one). Any byte may come
    // before it, a zero byte too.
    size_t hash = length;
    for (size_t i = length; i-- > 1;) {
        if (tail[i] == '#' && tail[i - 1] == '\n') {
            hash = i;
            break;
        }
    }
    // An empty list is saved as the trailer alone, with no line before it.
    if (hash == length && fromStart && length && tail[0] == '#') hash = 0;
    if (hash + 1 >= length) return false;
    long long value = 0;
    for (size_t i = hash + 1; i < length; ++i) {
        if (tail[i] < '0' || tail[i] > '9') return false;
        if (value < INT_MAX) value = value * 10 + (tail[i] - '0');
    }
    *mark = hash;
    *count = value < INT_MAX ? static_cast<int>(value) : INT_MAX;
    return true;
}

int CountListLines(const char* bytes, size_t length) {
    int count = 0;
    bool lineStart = true;
    for (size_t i = 0; i < length; ++i) {
        const char c = bytes[i];
        if (lineStart && c != '#' && c != '\r' && c != '\n') ++count;
        lineStart = c == '\n';
    }
    return count;
}

int GetCountFilesList(FILE* file, long* trailerStart, bool appendTrailer) {
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    // The last 21 bytes, up to the very end: the line end, "#" and the count.
    long from = size > 21 ? size - 21 : 0;
    fseek(file, from, SEEK_SET);
    char tail[22] = {};
    size_t got = fread(tail, 1, 21, file);
    tail[got] = '\0';
    size_t mark = 0;
    int count = 0;
    if (FindCountTrailer(tail, got, from == 0, &mark, &count)) {
        if (trailerStart) *trailerStart = from + static_cast<long>(mark);
        return count;
    }
    // No trailer yet: count the entries and append one.
    fseek(file, 0, SEEK_SET);
    std::string bytes;
    char block[4096];
    for (size_t read; (read = fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, read);
    count = CountListLines(bytes.data(), bytes.size());
    if (trailerStart) *trailerStart = appendTrailer ? size + 2 : size;
    if (!appendTrailer) return count;
    fseek(file, 0, SEEK_END);
    fprintf(file, "\r\n#%d", count);
    fflush(file);
    return count;
}

std::string AppendedListText(const std::string& text, const std::vector<std::string>& paths, const char* suffix,
                             bool add, int* count) {
    const size_t from = text.size() > 21 ? text.size() - 21 : 0;
    const std::string tail = text.substr(from);
    size_t mark = 0;
    int entries = 0;
    std::string result;
    if (FindCountTrailer(tail.c_str(), tail.size(), from == 0, &mark, &entries)) {
        result = text.substr(0, from + mark);
    } else {
        entries = CountListLines(text.data(), text.size());
        result = text + "\r\n";
    }
    for (const std::string& entry : paths) {
        result += entry;
        result += suffix;
        result += "\r\n";
        if (add && entries < INT_MAX) ++entries;
        if (!add) --entries;
    }
    if (entries < 0) entries = 0;
    result += '#';
    result += std::to_string(entries);
    if (count) *count = entries;
    return result;
}

std::string ListNameOfFile(const std::string& fileName) { return fileName.substr(0, fileName.rfind('.')); }
