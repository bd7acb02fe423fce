#include "program_folder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "scopedwin.h"

std::string DistFolder() { return DRAVONEL_DIST_DIR; }

namespace {

std::string NewTemporaryFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        snprintf(name, sizeof name, "%sdravonel-%lu-%lu-%u", temp, GetCurrentProcessId(), GetTickCount(), ++counter);
        if (CreateDirectoryA(name, nullptr)) return name;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
}

}  // namespace

ProgramFolder::ProgramFolder() : ProgramFolder(true) {}

ProgramFolder::ProgramFolder(bool copyDist) : path_(NewTemporaryFolder()) {
    if (copyDist && !path_.empty()) CopyFolder(DistFolder(), path_);
}

ProgramFolder::~ProgramFolder() {
    if (!path_.empty() && !getenv("DRAVONEL_KEEP_FOLDERS")) RemoveFolder(path_);
}

std::string ProgramFolder::file(const std::string& relative) const { return path_ + "\\" + relative; }

std::string ProgramFolder::EnglishText(int number) const {
    char text[256] = "";
    GetPrivateProfileStringA("STRING", std::to_string(number).c_str(), "", text, sizeof text,
                             file("Language\\eng.ini").c_str());
    return text;
}

bool CopyFolder(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string source = from + "\\" + name, target = to + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ok = CopyFolder(source, target) && ok;
        else ok = CopyFileA(source.c_str(), target.c_str(), FALSE) && ok;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

bool RemoveFolder(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool WriteTextFile(const std::string& path, const std::string& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ReadTextFile(const std::string& path, std::string& bytes) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD size = GetFileSize(file.get(), nullptr);
    bytes.assign(size, '\0');
    DWORD read = 0;
    return size == 0 || (ReadFile(file.get(), &bytes[0], size, &read, nullptr) && read == size);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
