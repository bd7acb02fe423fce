#include "plugins/plugin_commands.h"

#include <cstdlib>

#include "base/globals.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "plugins/plugin_list.h"

namespace {

// Row controls are numbered from 1000, 2000 and 3000 (hot keys) and from 0
// (menu items): past 1000 rows their ids would run into each other.
const int kMaxRows = 1000;

}  // namespace

void SendToPlugins(HWND window, int command, INT_PTR argument, INT_PTR data) {
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p)
        if (plugin->pDravonex) plugin->pDravonex(window, command, argument, data);
}

INT_PTR AskPlugins(HWND window, int command, INT_PTR argument, INT_PTR data) {
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p) {
        if (!plugin->pDravonex) continue;
        if (INT_PTR answer = plugin->pDravonex(window, command, argument, data)) return answer;
    }
    return 0;
}

bool PluginsRefuse(int command) { return AskPlugins(hMain, command, 0, 0) != 0; }

bool PluginsRefuseNextWall() { return PluginsRefuse(KvSTOPNEXTWALL); }

bool PluginsRefusePreviousWall() { return PluginsRefuse(KvSTOPPREVIOUSWALL); }

bool PluginsRefuseUpdateWall() { return PluginsRefuse(KvUPDATEWALL); }

bool PluginsRefuseClear() { return PluginsRefuse(KvAPPLICATIONCLEAR); }

void PluginsLoadSettings(const char* settingsFile) {
    SendToPlugins(hMain, KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settingsFile));
}

void AddPluginHotKeys(const char* settingsFile) {
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p) {
        if (!plugin->pDravonex) continue;
        const INT_PTR count = plugin->pDravonex(hMain, KvGETCOUNTHOTKEY, 0, 0);
        for (INT_PTR index = 0; index < count && countHotKey < kMaxRows; ++index) {
            s_hotkey* record = reinterpret_cast<s_hotkey*>(
                plugin->pDravonex(hMain, KvGETHOTKEY, static_cast<int>(index), countHotKey));
            if (!record) continue;
            // The two keys stay the host's for good; the row keeps copies.
            CreateHotKeysSettings(settingsFile, record->DescroptionHotKey, record->KeyWin, record->KeyHotKey,
                                  plugin->pDravonex);
            ++countHotKey;
            free(record->DescroptionHotKey);
            free(record);
        }
    }
}

void AddPluginMenuItems(const char* settingsFile) {
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p) {
        if (!plugin->pDravonex) continue;
        const INT_PTR count = plugin->pDravonex(hMain, KvGETCOUNTMENUITEM, 0, 0);
        for (INT_PTR index = 0; index < count && countRasshItem < kMaxRows; ++index) {
            s_menuitem* record = reinterpret_cast<s_menuitem*>(
                plugin->pDravonex(hMain, KvGETMENUITEM, static_cast<int>(index), countRasshItem));
            if (!record) continue;
            CreateRasshItem(settingsFile, record->NameMenuItem, record->KeyMenuItem, plugin->pDravonex);
            ++countRasshItem;
            free(record->NameMenuItem);
            free(record);
        }
    }
}

DravonexFunction MenuItemOwner(int id) {
    if (!hRasshItem || id < 0) return nullptr;
    const keyset* record = KeySetOf(GetDlgItem(hRasshItem, id));
    return record ? record->pDravonex : nullptr;
}

void PluginMenuItemShown(HMENU menu, int id) {
    if (DravonexFunction owner = MenuItemOwner(id)) owner(reinterpret_cast<HWND>(menu), KvCREATEMENUITEM, 0, id);
}

void PluginMenuItemPlaced(HMENU menu, int id, int position) {
    if (DravonexFunction owner = MenuItemOwner(id))
        owner(reinterpret_cast<HWND>(menu), KvCREATEMENUITEMPOPUP, position, id);
}

void RunPluginMenuItem(HMENU menu, int id) {
    if (DravonexFunction owner = MenuItemOwner(id)) owner(reinterpret_cast<HWND>(menu), KvRUNMENUITEM, 0, id);
}

void PluginsPopMenu(HMENU menu, WPARAM command) {
    SendToPlugins(reinterpret_cast<HWND>(menu), KvPOPMENU, static_cast<int>(command), 0);
}

void PluginsDrawWallpaper(HDC wallpaper) {
    SendToPlugins(hMain, KvCREATEWALLPAPER, 0, reinterpret_cast<INT_PTR>(wallpaper));
}

char* PluginsCmdRun(char* line) {
    for (plg* plugin = pluginLIST; plugin && line; plugin = plugin->p) {
        if (!plugin->pDravonex) continue;
        // A plug-in that answers takes charge of the line it was given.
        char* replaced = reinterpret_cast<char*>(
            plugin->pDravonex(hMain, KvCMDRUN, reinterpret_cast<INT_PTR>(line), 0));
        if (replaced) line = replaced;
    }
    return line;
}

void PluginsNewDay() { SendToPlugins(hMain, KvCHANGEDATE, 0, 0); }

void PluginsListsChanged() { SendToPlugins(hMain, KvLISTSCHANGED, 0, 0); }

COLORREF PluginDayColour(int command, const char* month, const char* day) {
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p) {
        if (!plugin->pDravonex) continue;
        const INT_PTR answer =
            plugin->pDravonex(hMain, command, reinterpret_cast<INT_PTR>(month),
                              reinterpret_cast<INT_PTR>(day));
        // Black and white are the calendar's keys: a plug-in cannot choose them.
        if (answer > 0 && answer < 0xFFFFFF) return static_cast<COLORREF>(answer);
    }
    return 0;
}
