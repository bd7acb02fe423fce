#include "town_search.h"

#include "plain_text.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hexadecimal digits at text[at], or -1.
long Hex4(const std::string& text, size_t at) {
    if (at + 4 > text.size()) return -1;
    long value = 0;
    for (size_t i = at; i < at + 4; ++i) {
        int digit = HexValue(text[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

void AppendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool Digits(const std::string& text, size_t from, size_t to, std::string& number) {
    if (to > text.size()) to = text.size();
    size_t end = from;
    while (end < to && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == from) return false;
    number = text.substr(from, end - from);
    return true;
}

}  // namespace

std::string TownQueryName(const std::string& name) {
    std::string query = FoldCase(name);
    ReplaceAll(query, " ", "%20");
    return query;
}

std::string GismeteoSearchUrl(const std::string& searchHost, const std::string& queryName) {
    return searchHost + "/ajax/city_search?searchQuery=" + '\xF5' + queryName;
}

std::string Rp5SearchUrl(const std::string& host, const std::string& queryName) {
    return host + "/vsearch.php?txt=" + queryName;
}

std::string DecodeUnicodeEscapes(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        long code = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'u' ? Hex4(text, i + 2) : -1;
        if (code < 0) {
            out += text[i++];
            continue;
        }
        i += 6;
        unsigned long full = static_cast<unsigned long>(code);
        if (code >= 0xD800 && code < 0xDC00 && i + 6 <= text.size() && text[i] == '\\' && text[i + 1] == 'u') {
            long low = Hex4(text, i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                full = 0x10000 + ((static_cast<unsigned long>(code) - 0xD800) << 10) +
                       (static_cast<unsigned long>(low) - 0xDC00);
                i += 6;
            }
        }
        // A lone surrogate has no character of its own.
        if (full >= 0xD800 && full < 0xE000) full = 0xFFFD;
        AppendUtf8(out, full);
    }
    return out;
}

bool FindGismeteoTown(const std::string& answer, const std::string& name, std::string& number) {
    size_t match = FindNoCase(answer, "\":\"<span><b>" + name + "<\\/b><\\/span>");
    if (match != std::string::npos) {
        size_t quote = match == 0 ? std::string::npos : answer.rfind('"', match - 1);
        if (quote != std::string::npos && Digits(answer, quote + 1, match, number)) return true;
    }
    size_t open = answer.find('"');
    if (open == std::string::npos) return false;
    size_t close = answer.find('"', open + 1);
    if (close == std::string::npos) return false;
    return Digits(answer, open + 1, close, number);
}

bool FindRp5Town(const std::string& answer, const std::string& name, std::string& number) {
    size_t match = FindNoCase(answer, ">" + name + "</a>");
    if (match == std::string::npos) return false;
    size_t from = match > 20 ? match - 20 : 0;
    size_t link = answer.find("\"/", from);
    if (link == std::string::npos) return false;
    size_t slash = answer.find('/', link + 2);
    return Digits(answer, link + 2, slash == std::string::npos ? answer.size() : slash, number);
}
