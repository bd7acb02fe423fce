// The "Dates" folder, its ".dte" files and the per-file ".dst" settings.
#include <windows.h>

#include <cstring>
#include <map>

#include "createpathfile.h"
#include "dates_plugin.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

const char kExtension[] = ".dte";
// Larger files are read only this far: a date file is a few kilobytes.
const DWORD kLargestRead = 8 * 1024 * 1024;

struct CachedFile {
    FILETIME written = {};
    DWORD size = 0;
    bool present = false;
    IniDocument document;
};
std::map<std::string, CachedFile> cache;

std::string Lower(std::string text) {
    if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

IniDocument ReadIniFile(const std::string& path) {
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return IniDocument();
    DWORD size = GetFileSize(file.get(), nullptr);
    if (size == INVALID_FILE_SIZE) return IniDocument();
    if (size > kLargestRead) size = kLargestRead;
    std::string bytes(size, '\0');
    DWORD read = 0;
    if (size && !ReadFile(file.get(), &bytes[0], size, &read, nullptr)) return IniDocument();
    bytes.resize(read);
    return IniDocument::Parse(bytes);
}

const IniDocument& Cached(const std::string& path) {
    CachedFile& entry = cache[Lower(path)];
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const bool present = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
    if (present != entry.present || !present || data.nFileSizeLow != entry.size ||
        CompareFileTime(&data.ftLastWriteTime, &entry.written) != 0) {
        entry.present = present;
        entry.size = present ? data.nFileSizeLow : 0;
        entry.written = present ? data.ftLastWriteTime : FILETIME{};
        entry.document = present ? ReadIniFile(path) : IniDocument();
    }
    return entry.document;
}

bool HasDateExtension(const char* name) {
    const size_t length = strlen(name);
    // "*.dte" also finds "x.dtex" through its short name; only ".dte" counts.
    return length > 4 && lstrcmpiA(name + length - 4, kExtension) == 0;
}

}  // namespace

std::string DatesFolder() {
    HeapString folder(CreatePathFile("Dates", nullptr, nullptr));
    return folder ? folder.get() : std::string();
}

std::string DateFilePath(const std::string& name) { return DatesFolder() + name + kExtension; }

std::string DateSettingsPath() {
    HeapString path(SetUsetExtenPath(".dst"));
    return path ? path.get() : std::string();
}

void ListDateFiles() {
    const std::string folder = DatesFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    datesPlugin.names.clear();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*" + kExtension).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (!HasDateExtension(found.cFileName)) continue;
            datesPlugin.names.push_back(std::string(found.cFileName, strlen(found.cFileName) - 4));
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    datesPlugin.listedAt = GetTickCount();
    datesPlugin.listed = true;
}

const std::vector<std::string>& CurrentDateFiles() {
    if (!datesPlugin.listed || GetTickCount() - datesPlugin.listedAt > 1000) ListDateFiles();
    return datesPlugin.names;
}

const IniDocument& DateFile(const std::string& name) { return Cached(DateFilePath(name)); }

const IniDocument& DateSettings() { return Cached(DateSettingsPath()); }

void ForgetDateCache() { cache.clear(); }

bool IsValidDateFileName(const std::string& name) {
    if (name.empty() || name.size() > 200) return false;
    if (name.front() == ' ' || name.back() == ' ' || name.back() == '.') return false;
    for (unsigned char c : name)
        if (c < 32 || strchr("\\/:*?\"<>|[]", c)) return false;
    return true;
}

bool CreateDateFile(const std::string& name) {
    if (!IsValidDateFileName(name)) return false;
    CreateDirectoryA(DatesFolder().c_str(), nullptr);
    // Never truncates a file that is already there.
    ScopedHandle file(CreateFileA(DateFilePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() || GetLastError() == ERROR_FILE_EXISTS;
}

bool RenameDateFile(const std::string& from, const std::string& to) {
    if (!IsValidDateFileName(to) || from == to) return false;
    if (!MoveFileA(DateFilePath(from).c_str(), DateFilePath(to).c_str())) return false;
    const std::string dst = DateSettingsPath();
    // Section names ignore case: a rename that only changes case keeps it.
    if (!SameIniName(from, to)) {
        std::string section;
        for (DWORD size = 4096; size <= (1u << 24); size *= 2) {
            section.assign(size, '\0');
            const DWORD length = GetPrivateProfileSectionA(from.c_str(), &section[0], size, dst.c_str());
            if (length < size - 2) {
                section.resize(length + 1);
                break;
            }
        }
        if (section.size() > 1) SetSection(dst.c_str(), to.c_str(), section.c_str());
        SetKey(dst.c_str(), from.c_str(), nullptr, nullptr);
    }
    ForgetDateCache();
    return true;
}

bool DeleteDateFile(const std::string& name) {
    if (!DeleteFileA(DateFilePath(name).c_str())) return false;
    SetKey(DateSettingsPath().c_str(), name.c_str(), nullptr, nullptr);
    ForgetDateCache();
    return true;
}

void WriteDateEntry(const std::string& name, const std::string& section, const std::string& key,
                    const std::string& text) {
    SetKey(DateFilePath(name).c_str(), section.c_str(), key.c_str(), text.empty() ? nullptr : text.c_str());
    ForgetDateCache();
}

void WriteDateSetting(const std::string& name, const char* key, const char* value) {
    SetValueKey(".dst", name.c_str(), key, value);
    ForgetDateCache();
}

void WriteDateSettingInt(const std::string& name, const char* key, int value) {
    SetValueKeyInt(".dst", name.c_str(), key, value);
    ForgetDateCache();
}
