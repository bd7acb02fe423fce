#include "informer_files.h"

#include <cstdlib>

#include "createpathfile.h"
#include "file_replace.h"
#include "folder_rotation.h"
#include "informer_record.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

HINSTANCE pluginModule = nullptr;

std::string TakeHeap(char* text) {
    HeapString owned(text);
    return owned ? std::string(owned.get()) : std::string();
}

void ListInto(const std::string& folder, std::vector<std::string>& found, int depth) {
    // Links that loop back would otherwise recurse without end.
    if (depth > 64) return;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) ListInto(path, found, depth + 1);
        } else if (IsPictureName(name)) {
            found.push_back(path);
        }
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

}  // namespace

void SetPluginModule(HINSTANCE module) { pluginModule = module; }
HINSTANCE PluginModule() { return pluginModule; }

std::string ProgramFile(const char* folder, const std::string& file) {
    return TakeHeap(CreatePathFile(folder, file.c_str(), nullptr));
}

std::string WeatherFolder() {
    std::string folder = ProgramFile("Weather", "");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string InformerPictureFile(const std::string& name) { return WeatherFolder() + InformerFileName(name); }
std::string InformerPageFile(const std::string& name) { return InformerPictureFile(name) + ".html"; }

std::string InformerFilePath() { return TakeHeap(SetUsetExtenPath(".inf")); }

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    return ReadFileBytes(path.c_str(), bytes);
}

bool ReplaceFileWith(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
    return ReplaceFileBytes(path.c_str(), bytes);
}

bool IsExistingFile(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& path) {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> ListPictureFiles(const std::string& folderOrFile) {
    std::vector<std::string> found;
    if (IsExistingFile(folderOrFile)) {
        found.push_back(folderOrFile);
    } else if (IsExistingFolder(folderOrFile)) {
        std::string folder = folderOrFile;
        while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        ListInto(folder, found, 0);
    }
    return found;
}

std::string ResourceBytes(const char* name) {
    HRSRC found = FindResourceA(pluginModule, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(pluginModule, found);
    DWORD size = SizeofResource(pluginModule, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, size) : std::string();
}

std::string Expanded(const std::string& text) { return TakeHeap(ExpandEnvStr(text.c_str())); }
