// Stands in for the programs the informer starts: the page-to-picture tool
// (copied as Tool\KvHtmlToPic.exe) and the browser. It appends its command
// line to "<its own path>.txt"; given a tool command line, it writes the
// picture the real tool would, a BMP of the asked size in one colour.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bmp_reader.h"
#include "pagerequest.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const char* line = GetCommandLineA();
    std::string log = std::string(self) + ".txt";
    if (FILE* out = fopen(log.c_str(), "ab")) {
        fprintf(out, "%s\n", line);
        fclose(out);
    }
    PageRequest request;
    if (ParsePageRequest(SkipProgramName(line), request) && request.width > 0 && request.height > 0)
        WriteBmpFile(request.file, SolidImage(request.width, request.height, RGB(0, 160, 0)));
    return 0;
}
