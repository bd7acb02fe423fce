#include "app/settings_loading.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/pause.h"
#include "base/globals.h"
#include "base/save_failures.h"
#include "desktop/autostart.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "pages/page_calendar.h"
#include "pages/page_general.h"
#include "pages/page_lists.h"
#include "pages/page_wall.h"
#include "plugins/plugin_commands.h"
#include "createpathfile.h"
#include "ini_text.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

const char kOldSettingsKey[] = "Software\\Malvoren\\Dravonel";
bool oldSettingsKept;

}  // namespace

void Settings() {
    HeapString file(SetUsetExtenPath(".set"));
    LoadAutostartSetting();
    LoadTraySettings();
    LoadGeneralSettings();
    LoadWallSettings();
    SettingCalen();
    LoadListSettings();
    PluginsLoadSettings(file.get());
    // The plug-ins' rows follow the host's own.
    if (countHotKey == 0) CreateBuiltInHotKeys(file.get());
    AddPluginHotKeys(file.get());
    LoadHotKeySettings(file.get());
    LoadUserMode();
    if (countRasshItem == 0) CreateBuiltInMenuItems(file.get());
    AddPluginMenuItems(file.get());
    LoadMenuItemsSettings(file.get());
    currentDay = GetKeyInt(file.get(), "set", "KvLastDay", 0);
    if (GetKeyYes(file.get(), "set", "KvCheckOff")) RunCheckOff();
}

void RezSaveReg() {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOldSettingsKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return;

    // The settings file lives in Users: make sure it can be written before
    // the registry copy is deleted.
    HeapString users(CreatePathFile("Users", nullptr, nullptr));
    if (users) CreateDirectoryA(users.get(), nullptr);
    HeapString file(SetUsetExtenPath(".set"));

    DWORD longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                     &longestData, nullptr, nullptr);
    std::vector<char> name(longestName + 2), data(longestData + 2);
    bool allMoved = file != nullptr;
    for (DWORD index = 0; allMoved; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size() - 1);
        DWORD type = 0;
        LONG status = RegEnumValueA(key.get(), index, name.data(), &nameSize, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || nameSize == 0) continue;
        data[dataSize < data.size() ? dataSize : data.size() - 1] = '\0';
        // A name no settings file can hold stays behind, as other types do.
        if (!IniNameUsable(name.data(), false)) continue;
        // Only what reads back counts as moved; the file keeps a value's
        // first line without surrounding blanks, so that is what to expect.
        std::string expected, probe;
        EditIniText(probe, "set", name.data(), data.data());
        ReadIniText(probe, "set", name.data(), &expected);
        const bool written = SetKey(file.get(), "set", name.data(), data.data());
        HeapString stored(written ? GetKeyLong(file.get(), "set", name.data()) : nullptr);
        allMoved = written && expected == (stored ? stored.get() : "");
    }
    key.reset();
    if (!allMoved) {
        oldSettingsKept = true;
        return;
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, kOldSettingsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Malvoren");
}

void TellOldSettingsKept() {
    if (!oldSettingsKept) return;
    HeapString file(SetUsetExtenPath(".set"));
    ReportSaveFailureSoon(SAVE_FAILED_SETTINGS, file ? file.get() : nullptr, OLD_SETTINGS_KEPT);
}
