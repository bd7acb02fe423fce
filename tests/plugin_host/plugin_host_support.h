// The host's windows made in-process, with a Plugins folder beside this test
// holding three copies of the sample plug-in (a, b, c), a module without the
// entry and a file that is no module, loaded as at start-up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "plugins/plugin_list.h"

// The sample copies in the order the folder listing gives them (the order
// commands reach them).
extern std::vector<std::string> listOrder;
// What calls.log says of the start-up (loading, settings, rows, menu).
extern std::vector<std::string> startupCalls;

std::string PluginsFolder();
// Sets key of section in <name>.ini (none deletes it); the sample reads it
// at its next call.
void Configure(const std::string& name, const char* section, const char* key, const char* value);
// The record of the plug-in loaded from <name>.dll, or none.
plg* Plugin(const std::string& name);

// Lines of calls.log written since the last call of this function.
std::vector<std::string> NewCalls();
// Those of them that start with "<name> <command> " (or are exactly
// "<name> <command>").
std::vector<std::string> CallsOf(const std::vector<std::string>& lines, const std::string& name, int command);

// Blocks a sample plug-in handed to the host (handed, with the command) and
// blocks this program freed, in the order they happened, once FreeWatched().
struct HeapEvent {
    bool handed;
    void* block;
    int command;
};
bool FreeWatched();
std::vector<HeapEvent> HeapEvents();
