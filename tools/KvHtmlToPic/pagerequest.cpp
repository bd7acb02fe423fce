#include "pagerequest.h"

#include <cstdlib>

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
    std::string text = arguments;
    const size_t equals = text.find(" = ");
    if (equals == std::string::npos) return false;
    request.file = text.substr(equals + 3);
    text.erase(equals);

    int* const numbers[4] = {&request.height, &request.width, &request.y, &request.x};
    for (int* number : numbers) {
        const size_t blank = text.rfind(' ');
        if (blank == std::string::npos) return false;
        *number = atoi(text.c_str() + blank + 1);
        text.erase(blank);
    }
    request.url = text;
    return !request.url.empty() && !request.file.empty();
}
