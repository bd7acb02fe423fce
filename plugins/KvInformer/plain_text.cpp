#include "plain_text.h"

#include <climits>

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    std::string result;
    size_t done = 0;
    for (size_t found = text.find(from); found != std::string::npos; found = text.find(from, done)) {
        result.append(text, done, found - done);
        result += to;
        done = found + from.size();
    }
    if (done == 0) return;
    result.append(text, done, std::string::npos);
    text.swap(result);
}

unsigned char FoldByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDF) return static_cast<unsigned char>(c + 32);  // А..Я
    if (c == 0xA8) return 0xB8;                                              // Ё
    return c;
}

std::string FoldCase(std::string text) {
    for (char& c : text) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return text;
}

size_t FindNoCase(const std::string& text, const std::string& pattern, size_t start) {
    if (pattern.empty() || start > text.size()) return std::string::npos;
    return FoldCase(text).find(FoldCase(pattern), start);
}

int ParseIntClamped(const char* text, size_t length) {
    size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < length && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
