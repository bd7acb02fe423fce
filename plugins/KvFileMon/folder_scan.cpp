// The folder monitor's calls to the file system, and PathKey, which maps
// case the system's way. The text logic is in folder_text.cpp.
#include "folder_scan.h"

#include <windows.h>

namespace {

// Folders a subfolder search does not enter.
const DWORD kSkippedFolderAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_OFFLINE;

bool IsDots(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

void CollectSubfolders(const std::string& folder, std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((FolderPrefix(folder) + "*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsDots(entry.cFileName)) continue;
        if (entry.dwFileAttributes & kSkippedFolderAttributes) continue;
        std::string sub = FolderPrefix(folder) + entry.cFileName;
        found.push_back(sub);
        CollectSubfolders(sub, found);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
}

}  // namespace

std::string PathKey(const std::string& path) {
    std::string key = path;
    // The system's ANSI case mapping, which knows the code page's letters.
    if (!key.empty()) CharLowerBuffA(&key[0], static_cast<DWORD>(key.size()));
    return key;
}

bool IsUsableFolder(const std::string& folder) {
    if (folder.empty()) return false;
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_OFFLINE);
}

FolderListing ListFolderPictures(const std::string& folder, std::vector<std::string>& pictures) {
    pictures.clear();
    if (!IsUsableFolder(folder)) return FolderListing::Missing;
    const std::string prefix = FolderPrefix(folder);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((prefix + "*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FolderListing::Listed : FolderListing::Missing;
    do {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_OFFLINE)) continue;
        if (IsDots(entry.cFileName) || !IsImageName(entry.cFileName)) continue;
        pictures.push_back(prefix + entry.cFileName);
    } while (FindNextFileA(search, &entry));
    // A listing cut short (the drive went away while it ran) is not the
    // folder's content: its missing tail must not read as removed files.
    bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    if (complete) return FolderListing::Listed;
    pictures.clear();
    return FolderListing::Missing;
}

std::vector<std::string> FindSubfolders(const std::string& folder) {
    std::vector<std::string> found;
    if (IsUsableFolder(folder)) CollectSubfolders(folder, found);
    return found;
}
