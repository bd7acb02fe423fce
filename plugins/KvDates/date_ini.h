// Reading ini text (date files and the per-file print settings) the way the
// system's profile functions read it, from bytes that may be anything.
//
// Names compare without case (Latin and Windows-1251 Cyrillic); only the
// first section of a name and the first key of a name in it count; keys and
// values lose surrounding blanks, and a value in matching quotes loses them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;
    static IniDocument Parse(const char* bytes, size_t size);
    static IniDocument Parse(const std::string& bytes) { return Parse(bytes.data(), bytes.size()); }

    // The value, or empty when the section or key is missing.
    std::string Get(const std::string& section, const std::string& key) const;
    bool Has(const std::string& section, const std::string& key) const;
    // As the system's integer reader: missing or empty gives the fallback,
    // otherwise the leading number (decimal, or hexadecimal after "0x").
    int GetInt(const std::string& section, const std::string& key, int fallback) const;
    // A flag is on when its key holds a non-empty value.
    bool GetFlag(const std::string& section, const std::string& key) const;

    // Keys of a section, in file order (first occurrences only).
    std::vector<std::string> Keys(const std::string& section) const;
    bool HasSection(const std::string& section) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* FindSection(const std::string& name) const;
    const Entry* FindEntry(const std::string& section, const std::string& key) const;

    std::vector<Section> sections_;
};

// Case-insensitive comparison of names (ASCII and Windows-1251 letters).
bool SameIniName(const std::string& a, const std::string& b);
