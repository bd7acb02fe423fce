#include "system_folders.h"

#include <windows.h>

namespace {

std::string Folder(UINT(WINAPI* query)(LPSTR, UINT)) {
    char path[MAX_PATH] = "";
    query(path, sizeof path);
    return path;
}

}  // namespace

std::string WindowsFolder() { return Folder(GetWindowsDirectoryA); }
std::string SystemFolder() { return Folder(GetSystemDirectoryA); }

std::vector<std::string> SaverFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.scr").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string ShortPath(const std::string& path) {
    char shortPath[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return length && length < sizeof shortPath ? shortPath : path;
}
