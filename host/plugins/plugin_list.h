// The loaded plug-ins: every module of the Plugins folder of this program's
// kind that exports the entry (KV_PLUGIN_ENTRY), kept in the order the
// folder listing gave them (the order in which every command reaches them),
// and their pages in the settings tree.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dravonel_plugin.h"

// One loaded plug-in, heap-allocated; new records go in front.
struct plg {
    HMODULE hPlaginDll;
    DravonexFunction pDravonex;
    HWND H;  // its settings page (the answer to KvCREATE), or none
    plg* p;  // next
};
extern plg* pluginLIST;

// Loads every plug-in and puts the plug-ins' root item (and one item per
// page) at the end of the page tree. Once, at the end of applying the
// language texts; a second call only puts the tree items back.
void loadPlugins();
// The paths of the folder's "*.dll" entries that are not offline, in the
// reverse of the order the folder listing gives them (the order they are
// loaded in). folder ends with a backslash.
std::vector<std::string> PluginFilesToLoad(const std::string& folder);

// Dialog procedure of the plug-ins' page (template 111): it names the
// modules of the other kind that were skipped, if any.
INT_PTR CALLBACK PluginsFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Those modules, one line each, in the language file's words.
std::string SkippedModulesText();

// At exit: destroys every window a plug-in module made, unloads the module
// and frees its record; pluginLIST is empty afterwards. Nothing may run
// between this and the end of the process.
void UnloadPlugins();
