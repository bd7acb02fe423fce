// KvInformer's entry: the host's commands (dravonel_plugin.h) mapped onto
// the informer operations.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "dravonel_plugin.h"
#include "entry_guard.h"
#include "informer_files.h"
#include "informer_page.h"
#include "informer_plugin.h"
#include "informer_services.h"
#include "informer_switches.h"
#include "plugin_saves.h"
#include "kvfunction.h"
#include "res/resource.h"
#include "weather.h"

namespace {

enum { HOTKEY_COUNT = 3, MENU_COUNT = 4 };

char* Copy(const std::string& text) { return _strdup(text.c_str()); }

void UpdateEnabledAndApply() { UpdateInformers(EnabledInformers(), true); }

void UpdateWeather(bool open) {
    UpdateWeatherPages(PageGismeteoTown(), PageRp5Town());
    if (open) OpenWeatherIndex();
}

// Commands whose first argument is a window of the host (not a menu) tell us
// where to send requests.
void RememberHost(int command, HWND window) {
    switch (command) {
    case KvCREATEMENUITEM: case KvCREATEMENUITEMPOPUP: case KvRUNMENUITEM: case KvPOPMENU:
        return;
    default:
        if (window && IsWindow(window)) SetHostWindow(window);
    }
}

INT_PTR CommandLine(INT_PTR argument) {
    char* line = reinterpret_cast<char*>(argument);
    if (!line) return 0;
    std::vector<std::string> names;
    for (const Informer& informer : plugin.informers) names.push_back(informer.name);
    InformerSwitches switches = ParseInformerSwitches(line, names);
    if (!switches.found()) return 0;
    char* rest = Copy(switches.rest);
    if (!rest) return 0;
    free(line);

    // Each informer is fetched once, however many switches name it.
    std::vector<bool> chosen(plugin.informers.size(), false);
    for (size_t i = 0; i < plugin.informers.size(); ++i)
        chosen[i] = switches.updateAll || (switches.updateEnabled && plugin.informers[i].enabled);
    for (size_t i : switches.named) chosen[i] = true;
    std::vector<size_t> which;
    for (size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i]) which.push_back(i);
    if (switches.updateAll || switches.updateEnabled || !which.empty()) UpdateInformers(which, true);
    if (switches.weatherAndOpen || switches.weatherOnly) UpdateWeather(switches.weatherAndOpen);
    return reinterpret_cast<INT_PTR>(rest);
}

void MenuItemShown(HMENU menu, int id) {
    int index = id - plugin.menuBase;
    if (plugin.menuBase < 0 || index < 0 || index >= MENU_COUNT) return;
    menudata* data = static_cast<menudata*>(getMenuData(static_cast<UINT>(id), menu, FALSE));
    if (data)
        data->hIcon = static_cast<HICON>(
            LoadImageA(PluginModule(), MAKEINTRESOURCEA(IDI_MENU_DRAW + index), IMAGE_ICON, 16, 16, LR_SHARED));
    if (index == 0)
        CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (DrawingOn() ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItemChosen(int id) {
    switch (id - plugin.menuBase) {
    case 0: ToggleDrawing(); break;
    case 1: UpdateEnabledAndApply(); break;
    case 2: UpdateWeather(false); break;
    case 3:
        WriteWeatherIndex();
        OpenWeatherIndex();
        break;
    }
}

void HotKeyPressed(int row) {
    switch (row - plugin.hotKeyBase) {
    case 0: UpdateEnabledAndApply(); break;
    case 1: UpdateWeather(true); break;
    case 2: ToggleDrawing(); break;
    }
}

}  // namespace

static INT_PTR Dispatch(HWND window, int command, INT_PTR argument, INT_PTR data) {
    RememberHost(command, window);
    switch (command) {
    case KvCREATE:
        if (data) plugin.languageFile = reinterpret_cast<const char*>(data);
        WatchPluginSaves(window);
        plugin.page = CreateInformerPage(window);
        return reinterpret_cast<INT_PTR>(plugin.page);
    case KvSETTINGS:
        if (data) plugin.settingsFile = reinterpret_cast<const char*>(data);
        LoadInformerPage();
        return 0;
    case KvGETCOUNTHOTKEY:
        return HOTKEY_COUNT;
    case KvGETHOTKEY: {
        if (argument < 0 || argument >= HOTKEY_COUNT) return 0;
        if (argument == 0) plugin.hotKeyBase = static_cast<int>(data);
        s_hotkey* row = static_cast<s_hotkey*>(malloc(sizeof(s_hotkey)));
        if (!row) return 0;
        row->DescroptionHotKey = Copy(InformerText(INF_STR_HOTKEY + argument));
        row->KeyWin = Copy("WinInf" + std::to_string(argument));
        row->KeyHotKey = Copy("HotKeyInf" + std::to_string(argument));
        return reinterpret_cast<INT_PTR>(row);
    }
    case KvRUNHOTKEY:
        HotKeyPressed(static_cast<int>(data));
        return 0;
    case KvGETCOUNTMENUITEM:
        return MENU_COUNT;
    case KvGETMENUITEM: {
        if (argument < 0 || argument >= MENU_COUNT) return 0;
        if (argument == 0) plugin.menuBase = static_cast<int>(data);
        s_menuitem* item = static_cast<s_menuitem*>(malloc(sizeof(s_menuitem)));
        if (!item) return 0;
        item->NameMenuItem = Copy(InformerText(INF_STR_MENU + argument));
        item->KeyMenuItem = Copy("InfMenuItem" + std::to_string(argument));
        return reinterpret_cast<INT_PTR>(item);
    }
    case KvCREATEMENUITEM:
        MenuItemShown(reinterpret_cast<HMENU>(window), static_cast<int>(data));
        return 0;
    case KvRUNMENUITEM:
        MenuItemChosen(static_cast<int>(data));
        return 0;
    case KvAPPLICATIONCLOSE:
        ReleasePageResources();
        EndPluginSaves();
        plugin.settingsFile.clear();
        return 0;
    case KvCREATEWALLPAPER:
        DrawInformers(reinterpret_cast<HDC>(data));
        return 0;
    case KvCMDRUN:
        return CommandLine(argument);
    case KvGETDESCRIPTION:
        return reinterpret_cast<INT_PTR>(
            Copy(InformerDisplayName(data ? reinterpret_cast<const char*>(data) : plugin.languageFile.c_str())));
    default:
        return 0;
    }
}

extern "C" INT_PTR WINAPI Dravonex(HWND window, int command, INT_PTR argument, INT_PTR data) {
    return AnswerWithoutThrowing([&] { return Dispatch(window, command, argument, data); });
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetPluginModule(module);
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
