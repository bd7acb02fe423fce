// The sample plug-in of tests/plugin_host inside a running Dravonel: copied
// into the program folder's Plugins under a name, told what to answer through
// its ini file, and asked (with the command line switch "/sample-dump") to
// write the host's main menu and windows to calls.log, which a test cannot
// read across processes itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "program_folder.h"

// Copies the sample (or another module of the samples folder) in as
// Plugins\<name>.dll.
bool InstallSample(const ProgramFolder& folder, const std::string& name, const char* module = "sample_plugin.dll");
// Removes every plug-in the dist tree brought.
void RemoveDistPlugins(const ProgramFolder& folder);
void ConfigureSample(const ProgramFolder& folder, const std::string& name, const char* section, const char* key,
                     const char* value);

// Lines of Plugins\calls.log.
std::vector<std::string> CallLines(const ProgramFolder& folder);
int CountLines(const std::vector<std::string>& lines, const std::string& line);
// Position of the first line that is exactly line, or -1.
int LineIndex(const std::vector<std::string>& lines, const std::string& line);

struct MenuEntry {
    unsigned id;
    bool separator;
    bool submenu;
    bool checked;
    std::string text;
};
struct MenuDump {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    std::vector<MenuEntry> items;
    // The first item whose text is that, or none.
    const MenuEntry* Find(const std::string& text) const;
};
// Hands "/sample-dump" to the running program and reads what the sample
// called name wrote.
bool DumpMainMenu(const ProgramFolder& folder, const std::string& name, MenuDump& dump);
// A main-menu item chosen as the user chooses it: the menu is selected, then
// the item's command reaches the hidden owner window.
void ChooseMenuItem(const MenuDump& dump, unsigned id);
// Hands a command line to the running program the way a second start does.
bool HandOver(const ProgramFolder& folder, const std::string& line);
