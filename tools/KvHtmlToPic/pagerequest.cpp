#include "pagerequest.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

const char kSeparator[] = " = ";

// A decimal number as the whole token: an optional sign and digits, held to
// the range of int.
bool ParseNumber(const std::string& token, int& value) {
    size_t digits = token.size() > 0 && (token[0] == '-' || token[0] == '+') ? 1 : 0;
    if (digits == token.size()) return false;
    for (size_t i = digits; i < token.size(); ++i)
        if (token[i] < '0' || token[i] > '9') return false;
    errno = 0;
    long number = strtol(token.c_str(), nullptr, 10);
    if (errno == ERANGE || number > INT_MAX) number = INT_MAX;
    if (number < INT_MIN) number = INT_MIN;
    value = static_cast<int>(number);
    return true;
}

// "URL x y w h": the last four blank-separated numbers, in the order h, w, y,
// x, and the URL before them.
bool SplitNumbers(std::string text, PageRequest& request) {
    int* const numbers[4] = {&request.height, &request.width, &request.y, &request.x};
    for (int* number : numbers) {
        const size_t blank = text.rfind(' ');
        if (blank == std::string::npos || !ParseNumber(text.substr(blank + 1), *number)) return false;
        text.erase(blank);
    }
    request.url = text;
    return true;
}

// Double quotes around a part are the caller's, not the part's.
std::string Unquoted(const std::string& part) {
    if (part.size() >= 2 && part.front() == '"' && part.back() == '"') return part.substr(1, part.size() - 2);
    return part;
}

}  // namespace

const char* SkipProgramName(const char* commandLine) {
    if (!commandLine) return "";
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

bool ParsePageRequest(const char* arguments, PageRequest& request) {
    if (!arguments) return false;
    const std::string text = arguments;
    // A quoted URL may hold anything but a quote; the separator comes after it.
    size_t from = 0;
    if (!text.empty() && text[0] == '"') {
        from = text.find('"', 1);
        if (from == std::string::npos) return false;
    }
    // The separator is the first " = " that follows the four numbers, so a
    // " = " in the URL or the file name does not cut them.
    for (size_t equals = text.find(kSeparator, from); equals != std::string::npos;
         equals = text.find(kSeparator, equals + 1)) {
        PageRequest found;
        if (!SplitNumbers(text.substr(0, equals), found)) continue;
        found.url = Unquoted(found.url);
        found.file = Unquoted(text.substr(equals + 3));
        if (found.url.empty() || found.file.empty()) return false;
        request = found;
        return true;
    }
    return false;
}
