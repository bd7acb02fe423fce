// The command line "URL x y w h = filename" of the page-to-picture tool.
#pragma once

#include <string>

struct PageRequest {
    std::string url;   // handed to the browser unchanged; may hold blanks
    int x = 0, y = 0;  // where the (hidden) loading window stands
    int width = 0, height = 0;
    std::string file;  // the BMP to write
};

// The arguments after the program's own name (quoted or not) and the blanks
// after it.
const char* SkipProgramName(const char* commandLine);

// Splits "URL x y w h = filename". The separator is the first " = " that
// follows four blank-separated numbers (h, w, y, x from the end), so the URL
// and the file name may hold blanks and " = " alike; either may stand in
// double quotes, which are removed. False (help mode) when a part is
// missing. Plain code without windows.h, fuzzed natively.
bool ParsePageRequest(const char* arguments, PageRequest& request);
