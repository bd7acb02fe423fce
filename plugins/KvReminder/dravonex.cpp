// The plug-in's entry: the host's commands and what KvReminder does on each.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "dialup.h"
#include "dravonel_plugin.h"
#include "editor.h"
#include "firing.h"
#include "kvfunction.h"
#include "plugin_saves.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "reminder_window.h"
#include "reminders.h"

namespace {

int menuBase = -1;  // the row of our first main-menu item
HMENU mainMenu = nullptr;  // where the submenu hangs
int mainPosition = -1;
HICON menuIcons[2] = {nullptr, nullptr};

s_menuitem* MenuItem(int index) {
    s_menuitem* item = static_cast<s_menuitem*>(malloc(sizeof(s_menuitem)));
    if (!item) return nullptr;
    item->NameMenuItem = _strdup(Text(index == 0 ? 90 : 91));
    item->KeyMenuItem = _strdup(index == 0 ? "RemInderMenuItem0" : "RemInderMenuItem1");
    return item;
}

void DetachSubMenu();

void Create(HWND host, const char* language) {
    hHost = host;
    languageFile = language ? language : "";
    WatchPluginSaves(host);
    startTime = Now();
    LoadDialUp();
    CreateHiddenWindow();
    SubMenu();
    LoadReminders();
    MinuteCheck();
}

void Close() {
    CloseEditor(false);
    ClearReminders();
    CloseReminderWindows();
    // The module is unloaded next: none of its windows may outlive it.
    DestroyHiddenWindow();
    DetachSubMenu();
    DestroySubMenu();
    for (HICON& icon : menuIcons) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
    FreeDialUp();
    // After the notes and the editor saved what they held.
    EndPluginSaves();
}

void SetMenuIcon(HMENU menu, int id) {
    int index = id - menuBase;
    if (menuBase < 0 || index < 0 || index > 1) return;
    menudata* data = static_cast<menudata*>(getMenuData(static_cast<UINT>(id), menu, FALSE));
    if (!data) return;
    if (!menuIcons[index]) {
        menuIcons[index] = static_cast<HICON>(
            LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_MENUITEM0 + index), IMAGE_ICON, 16, 16, 0));
    }
    data->hIcon = menuIcons[index];
}

void AttachSubMenu(HMENU menu, int position, int id) {
    if (menuBase < 0 || id != menuBase + 1) return;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    item.hSubMenu = SubMenu();
    if (SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item)) {
        mainMenu = menu;
        mainPosition = position;
    }
}

// The host's menu must not keep a submenu that is about to be destroyed.
void DetachSubMenu() {
    HMENU ours = CurrentSubMenu();
    if (ours && mainMenu && IsMenu(mainMenu) && GetSubMenu(mainMenu, mainPosition) == ours) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_SUBMENU;
        item.hSubMenu = nullptr;
        SetMenuItemInfoA(mainMenu, static_cast<UINT>(mainPosition), TRUE, &item);
    }
    mainMenu = nullptr;
    mainPosition = -1;
}

void PopMenu(HMENU menu, int command) {
    if (!IsOurSubMenu(menu)) return;
    int id = LOWORD(command);
    if (id == 0) NewNote();
    else FireReminder(NumberAtPosition(id - 1), true);
}

}  // namespace

namespace {

INT_PTR Run(HWND window, int command, INT_PTR argument, INT_PTR data) {
    switch (command) {
        case KvCREATE:
            Create(window, reinterpret_cast<const char*>(data));
            return 0;
        case KvGETCOUNTMENUITEM:
            return 2;
        case KvGETMENUITEM:
            if (argument == 0) menuBase = static_cast<int>(data);
            if (argument < 0 || argument > 1) return 0;
            return reinterpret_cast<INT_PTR>(MenuItem(argument));
        case KvCREATEMENUITEM:
            SetMenuIcon(reinterpret_cast<HMENU>(window), static_cast<int>(data));
            return 0;
        case KvCREATEMENUITEMPOPUP:
            AttachSubMenu(reinterpret_cast<HMENU>(window), argument, static_cast<int>(data));
            return 0;
        case KvRUNMENUITEM:
            if (menuBase >= 0 && static_cast<int>(data) == menuBase) OpenEditor();
            return 0;
        case KvPOPMENU:
            PopMenu(reinterpret_cast<HMENU>(window), argument);
            return 0;
        case KvCHANGEDATE:
            if (!hEditor) ReloadReminders();
            return 0;
        case KvAPPLICATIONCLOSE:
            Close();
            return 0;
        case KvGETDESCRIPTION:
            return reinterpret_cast<INT_PTR>(_strdup(Text(90)));
        default:
            return 0;
    }
}

}  // namespace

extern "C" INT_PTR WINAPI Dravonex(HWND window, int command, INT_PTR argument, INT_PTR data) {
    // Nothing may be thrown into the host.
    try {
        return Run(window, command, argument, data);
    } catch (...) {
        return 0;
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        hInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
