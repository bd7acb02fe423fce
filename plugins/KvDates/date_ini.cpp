#include "date_ini.h"

namespace {

unsigned char Fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // Cyrillic capitals
    if (c == 0xA8) return 0xB8;                                             // YO
    return c;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

bool SameIniName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

IniDocument IniDocument::Parse(const char* bytes, size_t size) {
    IniDocument document;
    if (!bytes) return document;
    const char* at = bytes;
    const char* end = bytes + size;
    if (size >= 3 && static_cast<unsigned char>(at[0]) == 0xEF && static_cast<unsigned char>(at[1]) == 0xBB &&
        static_cast<unsigned char>(at[2]) == 0xBF)
        at += 3;
    Section* current = nullptr;
    while (at < end) {
        const char* lineEnd = at;
        while (lineEnd < end && *lineEnd != '\n') ++lineEnd;
        const char* begin = at;
        at = lineEnd < end ? lineEnd + 1 : end;
        while (begin < lineEnd && IsBlank(*begin)) ++begin;
        if (begin == lineEnd || *begin == ';') continue;

        if (*begin == '[') {
            const char* close = begin + 1;
            while (close < lineEnd && *close != ']') ++close;
            document.sections_.push_back({Trim(begin + 1, close), {}});
            current = &document.sections_.back();
            continue;
        }
        if (!current) continue;  // keys before the first section belong to none
        const char* equals = begin;
        while (equals < lineEnd && *equals != '=') ++equals;
        Entry entry;
        entry.key = Trim(begin, equals);
        if (equals < lineEnd) entry.value = Unquote(Trim(equals + 1, lineEnd));
        current->entries.push_back(std::move(entry));
    }
    return document;
}

const IniDocument::Section* IniDocument::FindSection(const std::string& name) const {
    for (const Section& section : sections_)
        if (SameIniName(section.name, name)) return &section;
    return nullptr;
}

const IniDocument::Entry* IniDocument::FindEntry(const std::string& section, const std::string& key) const {
    const Section* found = FindSection(section);
    if (!found) return nullptr;
    for (const Entry& entry : found->entries)
        if (SameIniName(entry.key, key)) return &entry;
    return nullptr;
}

std::string IniDocument::Get(const std::string& section, const std::string& key) const {
    const Entry* entry = FindEntry(section, key);
    return entry ? entry->value : std::string();
}

bool IniDocument::Has(const std::string& section, const std::string& key) const {
    return FindEntry(section, key) != nullptr;
}

bool IniDocument::GetFlag(const std::string& section, const std::string& key) const {
    return !Get(section, key).empty();
}

int IniDocument::GetInt(const std::string& section, const std::string& key, int fallback) const {
    const std::string value = Get(section, key);
    if (value.empty()) return fallback;
    size_t at = 0;
    bool negative = false;
    if (value[at] == '+' || value[at] == '-') negative = value[at++] == '-';
    unsigned base = 10;
    if (at + 1 < value.size() && value[at] == '0' && (value[at + 1] == 'x' || value[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    // Wraps like the system's 32-bit reader instead of overflowing.
    unsigned result = 0;
    for (; at < value.size(); ++at) {
        const char c = value[at];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else break;
        result = result * base + digit;
    }
    if (negative) result = 0u - result;
    // Two's complement, as the system's reader answers.
    return static_cast<int>(result);
}

std::vector<std::string> IniDocument::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    const Section* found = FindSection(section);
    if (!found) return keys;
    for (const Entry& entry : found->entries) {
        bool seen = false;
        for (const std::string& key : keys) seen = seen || SameIniName(key, entry.key);
        if (!seen) keys.push_back(entry.key);
    }
    return keys;
}

bool IniDocument::HasSection(const std::string& section) const { return FindSection(section) != nullptr; }
