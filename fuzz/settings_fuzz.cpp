// libFuzzer target for the settings and language files as the settings store
// writes them: any file text, any section, key and value. The store reads
// values through the system's own ini reader (GetPrivateProfileString, into
// buffers it sizes itself); what is ours is the writer that edits the text
// in memory before it replaces the file. ReadIniText is its model of the
// system's reader.
//
// Layout: three lengths, then section, key, value and the file text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "ini_text.h"

namespace {

// Every section and key name of the text (by a plain scan), to compare
// what the reader finds before and after an edit.
std::vector<std::pair<std::string, std::string>> Names(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    size_t at = 0;
    while (at < text.size() && names.size() < 64) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        size_t open = line.find('[');
        size_t close = line.find(']');
        if (open != std::string::npos && close != std::string::npos && close > open) {
            section = line.substr(open + 1, close - open - 1);
            continue;
        }
        names.emplace_back(section, line.substr(0, line.find('=')));
    }
    return names;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    size_t lengths[3] = {data[0] % 24u, data[1] % 24u, data[2] % 48u};
    const char* bytes = reinterpret_cast<const char*>(data + 3);
    size -= 3;
    std::string parts[3];
    for (int i = 0; i < 3; ++i) {
        size_t length = lengths[i] < size ? lengths[i] : size;
        parts[i].assign(bytes, length);
        bytes += length;
        size -= length;
    }
    const std::string text(bytes, size);
    // Names and values come from C strings.
    const std::string section = parts[0].c_str(), key = parts[1].c_str(), value = parts[2].c_str();

    const auto names = Names(text);
    std::vector<std::pair<bool, std::string>> before;
    for (const auto& name : names) {
        std::string found;
        bool present = ReadIniText(text, name.first, name.second, &found);
        before.emplace_back(present, found);
    }
    const bool usable = IniNameUsable(section, true) && IniNameUsable(key, false);

    for (int mode = 0; mode < 3; ++mode) {
        std::string edited = text;
        const char* keyName = mode == 2 ? nullptr : key.c_str();
        const char* newValue = mode == 0 ? value.c_str() : nullptr;
        bool taken = EditIniText(edited, section.c_str(), keyName, newValue);
        if (!IniNameUsable(section, true) || (keyName && !usable)) {
            Expect(!taken && edited == text);
            continue;
        }
        Expect(taken);
        std::string found;
        const bool present = ReadIniText(edited, section, key, &found);
        if (mode == 0) {
            // The reader finds the value written (its first line, as the reader trims it).
            const std::string expected = value.substr(0, value.find_first_of("\r\n"));
            std::string written;
            Expect(ReadIniText("[s]\r\nk=" + expected + "\r\n", "s", "k", &written));
            Expect(present && found == written);
            // Setting it again changes nothing.
            std::string twice = edited;
            Expect(EditIniText(twice, section.c_str(), key.c_str(), value.c_str()) && twice == edited);
        } else {
            Expect(!present);
        }
        // Every other key reads as before. The reader itself tells which names
        // are the ones edited: the key (or, removing the section, any key) of
        // a section of the same name.
        const std::string header = "[" + Trim(section) + "]\n";
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string& otherSection = names[i].first;
            const std::string& otherKey = names[i].second;
            bool edited1 = ReadIniText(header + Trim(key) + "=x", otherSection, otherKey, nullptr);
            bool edited2 = mode == 2 && ReadIniText(header + "k=x", otherSection, "k", nullptr);
            if (edited1 || edited2) continue;
            std::string now;
            bool there = ReadIniText(edited, otherSection, otherKey, &now);
            Expect(there == before[i].first);
            if (there) Expect(now == before[i].second);
        }
    }
    return 0;
}
