#include "createpathfile.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

void AppendCut(char* buffer, const char* text) {
    if (!text) return;
    size_t used = strlen(buffer);
    size_t room = KV_PATH_BUFFER - 1 - used;
    size_t add = strlen(text);
    if (add > room) add = room;
    memcpy(buffer + used, text, add);
    buffer[used + add] = '\0';
}

}  // namespace

char* CreatePathFile(const char* fold, const char* file, const char* ext) {
    char path[KV_PATH_BUFFER];
    // GetModuleFileName(NULL) names the host's file also inside a plug-in.
    DWORD length = GetModuleFileNameA(nullptr, path, KV_PATH_BUFFER);
    if (length >= KV_PATH_BUFFER) length = KV_PATH_BUFFER - 1;
    path[length] = '\0';
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    else path[0] = '\0';

    if (fold) {
        AppendCut(path, fold);
        AppendCut(path, "\\");
    }
    AppendCut(path, file);
    AppendCut(path, ext);
    return _strdup(path);
}

int chdir_access(const char* path) {
    if (!path || !*path) return 0;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    if (attributes & FILE_ATTRIBUTE_OFFLINE) return 0;
    return SetCurrentDirectoryA(path) ? 1 : 0;
}
