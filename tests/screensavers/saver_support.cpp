#include "saver_support.h"

#include <functional>

#include "window_wait.h"

namespace {

const char kDesktop[] = "Control Panel\\Desktop";
const char kAbsent[] = "<absent>";

std::string DesktopValue(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return kAbsent;
    char value[MAX_PATH + 1] = "";
    DWORD size = MAX_PATH;
    LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value : kAbsent;
}

void SetDesktopValue(const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (value == kAbsent) RegDeleteValueA(key, name);
    else RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace

std::string StandIn(const std::string& name) { return std::string(STAND_IN_FOLDER) + "\\" + name + ".exe"; }

std::string RegistrySaver() { return DesktopValue("SCRNSAVE.EXE"); }
std::string RegistryActive() { return DesktopValue("ScreenSaveActive"); }
std::string IniSaver() {
    char value[256] = "";
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", value, sizeof value, "system.ini");
    return value;
}
void SetRegistrySaver(const std::string& path) { SetDesktopValue("SCRNSAVE.EXE", path); }

InstalledSavers::InstalledSavers() {
    for (const std::string& folder : {WindowsFolder(), SystemFolder()})
        for (const std::string& name : SaverFiles(folder)) foreign_.push_back(folder + "\\" + name);
}

InstalledSavers::~InstalledSavers() { RemoveAll(); }

std::string InstalledSavers::Install(const std::string& standIn, const std::string& folder, const std::string& name) {
    const std::string to = folder + "\\" + name;
    if (!CopyFileA(StandIn(standIn).c_str(), to.c_str(), FALSE)) return "";
    installed_.push_back(to);
    return to;
}

void InstalledSavers::RemoveAll() {
    // A stand-in that is still ending holds its file for a moment.
    for (const std::string& file : installed_)
        WaitUntil([&] { return DeleteFileA(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000);
    installed_.clear();
}

KeptSystemSetting::KeptSystemSetting() : saver_(RegistrySaver()), active_(RegistryActive()), ini_(IniSaver()) {}

KeptSystemSetting::~KeptSystemSetting() {
    SetDesktopValue("SCRNSAVE.EXE", saver_);
    SetDesktopValue("ScreenSaveActive", active_);
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", ini_.empty() ? nullptr : ini_.c_str(), "system.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "system.ini");
}
