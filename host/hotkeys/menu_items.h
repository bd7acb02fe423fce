// The menu-items page (template 110) and its row list (1100): one check box
// per main-menu item, checked to hide the item; whether every Windows user
// has own settings or all share one file; the commands in Explorer's
// context menu.
#pragma once

#include <windows.h>

#include "hotkeys/keyset.h"

// Rows made so far; row id = the main-menu item's id.
extern int countRasshItem;

INT_PTR CALLBACK RasshFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Adds row countRasshItem (the caller increments the count), checked when
// its key is set in section "HideMenu" of the settings file user.
void CreateRasshItem(const char* user, const char* descr, const char* keynameCheck, DravonexFunction pDravonex);
// The rows of the 18 built-in items ("KvHide0".."KvHide17").
void CreateBuiltInMenuItems(const char* user);
// The rows and the list's scroll range, during start-up.
void LoadMenuItemsSettings(const char* settingsFile);
// The radio buttons from the machine file's "defuser".
void LoadUserMode();

void PrepareMenuItemsPage();
void ApplyMenuItemsPageTexts();

// Called after a row was clicked, so the main menu is built again; the
// application sets it (the menu is its own).
void SetMenuItemsChangedHandler(void (*handler)());
