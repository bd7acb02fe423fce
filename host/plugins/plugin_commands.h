// The host's calls into the plug-ins: every plug-in in list order, with the
// arguments each event takes. For the events whose answer stops the round,
// the first plug-in that decides is the last one asked.
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

// Every plug-in; the answers are ignored.
void SendToPlugins(HWND window, int command, INT_PTR argument, INT_PTR data);
// Plug-ins in order until one answers non-zero; that answer, or 0.
INT_PTR AskPlugins(HWND window, int command, INT_PTR argument, INT_PTR data);

// Commands sent with the main window and no arguments whose non-zero answer
// refuses the host's action: KvSTOPNEXTWALL, KvAPPLICATIONCLOSE,
// KvAPPLICATIONCLEAR, KvSTOPPREVIOUSWALL, KvUPDATEWALL, KvSTOPICONRULE.
bool PluginsRefuse(int command);
// The engine's questions before a step (next, previous, apply again).
bool PluginsRefuseNextWall();
bool PluginsRefusePreviousWall();
bool PluginsRefuseUpdateWall();
// Before the user's settings and traces are removed (KvAPPLICATIONCLEAR).
bool PluginsRefuseClear();

// KvSETTINGS with the user's settings file.
void PluginsLoadSettings(const char* settingsFile);
// The plug-ins' hot-key rows after the host's own (KvGETCOUNTHOTKEY,
// KvGETHOTKEY), each in the next free row.
void AddPluginHotKeys(const char* settingsFile);
// The plug-ins' menu-item rows after the host's own (KvGETCOUNTMENUITEM,
// KvGETMENUITEM); a row's number is its item's menu id.
void AddPluginMenuItems(const char* settingsFile);

// The plug-in that owns the main-menu item with that id (a menu-items row
// of a plug-in), or none.
DravonexFunction MenuItemOwner(int id);
// The menu commands for one plug-in item: shown (KvCREATEMENUITEM), its
// position once the menu is complete (KvCREATEMENUITEMPOPUP), chosen
// (KvRUNMENUITEM). Nothing for an item no plug-in owns.
void PluginMenuItemShown(HMENU menu, int id);
void PluginMenuItemPlaced(HMENU menu, int id, int position);
void RunPluginMenuItem(HMENU menu, int id);
// A command from a popup menu the host does not own (KvPOPMENU).
void PluginsPopMenu(HMENU menu, WPARAM command);

// KvCREATEWALLPAPER: the plug-ins draw into the wallpaper being composed.
void PluginsDrawWallpaper(HDC wallpaper);
// KvCMDRUN: each plug-in may take its switches out of the command line. The
// heap line goes in; the (possibly replaced) heap line comes out.
char* PluginsCmdRun(char* line);
// KvCHANGEDATE.
void PluginsNewDay();
// Command 21: the set of wallpaper lists changed.
void PluginsListsChanged();
// Commands 20 and 22 for a calendar day ("%02d" month and day): the first
// answer strictly between black and white, else 0.
COLORREF PluginDayColour(int command, const char* month, const char* day);
