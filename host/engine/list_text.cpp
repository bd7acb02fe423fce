// The list file's text: reading entries, writing them, and the count
// trailer. No window or file-system calls: it is also built natively and
// fuzzed, since people edit list files by hand and copy them around.
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

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

int GetCountFilesList(FILE* file, long* trailerStart) {
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
    fseek(file, 0, SEEK_END);
    if (trailerStart) *trailerStart = size + 2;
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
