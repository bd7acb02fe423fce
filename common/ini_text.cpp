#include "ini_text.h"

#include <cstring>
#include <vector>

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // Cyrillic of code page 1251
    if (c == 0xA8) return 0xB8;                                              // YO
    return c;
}

bool SameName(const char* a, size_t aLength, const std::string& b) {
    if (aLength != b.size()) return false;
    for (size_t i = 0; i < aLength; ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string Trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && Blank(text[begin])) ++begin;
    while (end > begin && Blank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

struct Line {
    size_t begin;    // first byte
    size_t end;      // end of the content (before CR LF or LF)
    size_t next;     // first byte of the next line
    bool header;     // a section header
    size_t nameBegin, nameEnd;  // header: the section name; key line: the key
    bool blank;      // nothing but blanks
};

// Position of c in [from, to), or to.
size_t FindIn(const std::string& text, char c, size_t from, size_t to) {
    if (from >= to) return to;
    const void* hit = memchr(text.data() + from, c, to - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : to;
}

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t at = 0;
    // A UTF-8 mark at the very start belongs to no line's content.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) at = 3;
    while (at < text.size()) {
        Line line = {};
        line.begin = at;
        size_t feed = FindIn(text, '\n', at, text.size());
        line.next = feed == text.size() ? feed : feed + 1;
        line.end = feed;
        if (line.end > line.begin && text[line.end - 1] == '\r') --line.end;
        size_t first = line.begin;
        while (first < line.end && Blank(text[first])) ++first;
        line.blank = first == line.end;
        size_t close = first < line.end && text[first] == '[' ? FindIn(text, ']', first + 1, line.end) : line.end;
        if (close < line.end) {
            line.header = true;
            line.nameBegin = first + 1;
            line.nameEnd = close;
        } else {
            line.nameBegin = first;
            line.nameEnd = FindIn(text, '=', first, line.end);
        }
        while (line.nameBegin < line.nameEnd && Blank(text[line.nameBegin])) ++line.nameBegin;
        while (line.nameEnd > line.nameBegin && Blank(text[line.nameEnd - 1])) --line.nameEnd;
        lines.push_back(line);
        at = line.next;
    }
    return lines;
}

bool LineNamed(const std::string& text, const Line& line, const std::string& name) {
    return SameName(text.data() + line.nameBegin, line.nameEnd - line.nameBegin, name);
}

// Lines [first, last) of the first section of that name; false when absent.
bool FindSection(const std::string& text, const std::vector<Line>& lines, const std::string& name, size_t* first,
                 size_t* last) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].header || !LineNamed(text, lines[i], name)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !lines[end].header) ++end;
        *first = i;
        *last = end;
        return true;
    }
    return false;
}

std::string FirstLine(const char* value) {
    std::string line = value;
    size_t cut = line.find_first_of("\r\n");
    if (cut != std::string::npos) line.erase(cut);
    return line;
}

const char kLineEnd[] = "\r\n";

// Ends the text's last line, as it reads now (a lone CR is already half of
// a line end).
void EndLastLine(std::string& text) {
    if (text.empty() || text.back() == '\n') return;
    text += text.back() == '\r' ? "\n" : kLineEnd;
}

}  // namespace

bool IniNameUsable(const std::string& name, bool section) {
    const std::string trimmed = Trimmed(name);
    if (trimmed.empty() || name.find_first_of("\r\n") != std::string::npos || name.find('\0') != std::string::npos)
        return false;
    // A key line that starts with "[" would read as a section header.
    if (section) return name.find(']') == std::string::npos;
    return name.find('=') == std::string::npos && trimmed[0] != '[';
}

bool EditIniText(std::string& text, const char* section, const char* key, const char* value) {
    if (!section || !IniNameUsable(section, true) || (key && !IniNameUsable(key, false))) return false;
    const std::string sectionName = Trimmed(section);
    const std::vector<Line> lines = SplitLines(text);

    if (!key) {
        // Every section of the name goes, with its lines.
        std::string kept;
        kept.reserve(text.size());
        size_t copied = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].header || !LineNamed(text, lines[i], sectionName)) continue;
            size_t end = i + 1;
            while (end < lines.size() && !lines[end].header) ++end;
            kept.append(text, copied, lines[i].begin - copied);
            copied = end < lines.size() ? lines[end].begin : text.size();
            i = end - 1;
        }
        kept.append(text, copied, std::string::npos);
        text.swap(kept);
        return true;
    }

    const std::string keyName = Trimmed(key);
    size_t first = 0, last = 0;
    if (!FindSection(text, lines, sectionName, &first, &last)) {
        if (!value) return true;
        EndLastLine(text);
        text += "[" + sectionName + "]" + kLineEnd + keyName + "=" + FirstLine(value) + kLineEnd;
        return true;
    }

    if (!value) {
        std::string kept;
        kept.reserve(text.size());
        size_t copied = 0;
        for (size_t i = first + 1; i < last; ++i) {
            if (!LineNamed(text, lines[i], keyName)) continue;
            kept.append(text, copied, lines[i].begin - copied);
            copied = lines[i].next;
        }
        kept.append(text, copied, std::string::npos);
        text.swap(kept);
        return true;
    }

    const std::string line = keyName + "=" + FirstLine(value);
    for (size_t i = first + 1; i < last; ++i) {
        if (!LineNamed(text, lines[i], keyName)) continue;
        // The key keeps its spelling in the file.
        std::string stored(text, lines[i].nameBegin, lines[i].nameEnd - lines[i].nameBegin);
        text.replace(lines[i].begin, lines[i].end - lines[i].begin, stored + "=" + FirstLine(value));
        return true;
    }
    // After the section's last line that is not blank.
    size_t after = first;
    for (size_t i = first + 1; i < last; ++i)
        if (!lines[i].blank) after = i;
    const Line& anchor = lines[after];
    if (anchor.next == text.size()) {  // the text's last line
        EndLastLine(text);
        text += line + kLineEnd;
    } else {
        text.insert(anchor.next, line + kLineEnd);
    }
    return true;
}

bool ReadIniText(const std::string& text, const std::string& section, const std::string& key, std::string* value) {
    const std::vector<Line> lines = SplitLines(text);
    size_t first = 0, last = 0;
    if (!FindSection(text, lines, Trimmed(section), &first, &last)) return false;
    const std::string keyName = Trimmed(key);
    for (size_t i = first + 1; i < last; ++i) {
        if (!LineNamed(text, lines[i], keyName)) continue;
        std::string found;
        size_t equals = FindIn(text, '=', lines[i].nameEnd, lines[i].end);
        if (equals < lines[i].end)
            found = Trimmed(text.substr(equals + 1, lines[i].end - equals - 1));
        if (found.size() >= 2 && (found[0] == '"' || found[0] == '\'') && found.back() == found[0])
            found = found.substr(1, found.size() - 2);
        if (value) *value = found;
        return true;
    }
    return false;
}

bool HasIniSection(const std::string& text, const std::string& section) {
    size_t first = 0, last = 0;
    return FindSection(text, SplitLines(text), Trimmed(section), &first, &last);
}
