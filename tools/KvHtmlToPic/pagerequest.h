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

// Splits the arguments from the end: what follows " = " is the file name,
// then the last four blank-separated numbers are h, w, y, x and the rest is
// the URL. False (help mode) when a part is missing.
bool ParsePageRequest(const char* arguments, PageRequest& request);
