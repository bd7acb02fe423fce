// The host's windows made in-process from its resources, with the hot-key
// and menu-items rows loaded, and stand-ins for the system's hot-key calls,
// warning box and key state that record what reaches them.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/keyset.h"

struct FakeSystem {
    std::map<int, std::pair<UINT, UINT>> registered;  // hot-key id -> modifiers, key
    std::vector<std::string> warnings;                // "caption|text"
    std::set<int> down;                               // keys held
    std::vector<std::pair<int, INT_PTR>> pluginCalls;  // command, data
};
extern FakeSystem fake;

// Two plug-in rows (12 and 13) follow the built-in ones.
const int kPluginRow = 12;
const int kSecondPluginRow = 13;

// The test program's folder (without a trailing backslash), and a file in it.
std::string TestFolder();
std::string ProgramFolderFile(const std::string& name);
// The in-process settings file (Users\<user>.set beside the test).
std::string SettingsPath();
