#include "ini_store.h"

#include <windows.h>

#include "kvinifunction.h"
#include "plugin_state.h"
#include "scopedwin.h"

std::optional<std::string> IniStore::Get(const std::string& section, const std::string& key) const {
    HeapString value(GetKeyLong(path_.c_str(), section.c_str(), key.c_str()));
    if (!value || !*value) return std::nullopt;
    return std::string(value.get());
}

void IniStore::Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) {
    SetKey(path_.c_str(), section.c_str(), key.c_str(), value ? value->c_str() : nullptr);
}

void IniStore::DeleteSection(const std::string& section) {
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path_.c_str());
}

bool IniStore::HasSection(const std::string& section) const {
    char names[4];
    return GetPrivateProfileStringA(section.c_str(), nullptr, "", names, sizeof names, path_.c_str()) > 0;
}

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The system may keep an ini file in memory; let go of it before the file is
// replaced under its name.
void ForgetCached(const std::string& path) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); }

}  // namespace

void UpdateRms(const std::function<void(KeyStore&)>& change) {
    const std::string path = RmsPath();
    if (path.empty()) return;
    std::string::size_type slash = path.find_last_of('\\');
    if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);

    const std::string temp = path + ".tmp";
    DeleteFileA(temp.c_str());
    ForgetCached(temp);
    if (Exists(path) && !CopyFileA(path.c_str(), temp.c_str(), FALSE)) {
        IniStore direct(path);
        change(direct);
        return;
    }
    {
        IniStore copy(temp);
        change(copy);
    }
    ForgetCached(temp);
    if (!Exists(temp)) return;  // nothing was written
    ForgetCached(path);
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        IniStore direct(path);
        change(direct);
    }
}
