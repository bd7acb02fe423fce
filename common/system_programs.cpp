#include "system_programs.h"

#include <windows.h>

namespace {

// Folder and name; the bare name when the folder is unknown (never seen,
// but a program that does not start is worse than the old lookup).
std::string InFolder(UINT (WINAPI *folderOf)(LPSTR, UINT), const char* name) {
    char folder[MAX_PATH];
    const UINT length = folderOf(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return name;
    std::string path(folder, length);
    if (path.back() != '\\') path += '\\';
    return path + name;
}

}  // namespace

std::string SystemProgramPath(const char* name) { return InFolder(GetSystemDirectoryA, name); }

std::string WindowsProgramPath(const char* name) { return InFolder(GetSystemWindowsDirectoryA, name); }
