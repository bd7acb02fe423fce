#include "settings_file.h"

#include <windows.h>

#include <vector>

std::string CurrentUserName() {
    char name[256] = "";
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size) || !name[0]) return "default";
    return name;
}

SettingsFile::SettingsFile(const std::string& programFolder, const std::string& user) {
    std::string users = programFolder + "\\Users";
    CreateDirectoryA(users.c_str(), nullptr);
    path_ = users + "\\" + (user.empty() ? CurrentUserName() : user) + ".set";
}

std::string SettingsFile::Get(const std::string& key, const std::string& section) const {
    std::vector<char> buffer(65536);
    const char* marker = "<absent>";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), marker, buffer.data(), static_cast<DWORD>(buffer.size()),
                             path_.c_str());
    return buffer.data();
}

bool SettingsFile::Has(const std::string& key, const std::string& section) const {
    return Get(key, section) != "<absent>";
}

int SettingsFile::GetInt(const std::string& key, int fallback, const std::string& section) const {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, path_.c_str()));
}

void SettingsFile::Set(const std::string& key, const std::string& value, const std::string& section) const {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

void SettingsFile::Delete(const std::string& key, const std::string& section) const {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, path_.c_str());
}
