// The main menu: the tray's popup and the program's command table (the item
// ids are the command numbers hot keys run).
#pragma once

#include <windows.h>

#include "base/main_menu_state.h"

// The menu whose item was selected last (the hidden owner window dispatches
// WM_COMMAND by it).
extern HMENU hPostMenu;

// Builds or rebuilds the main menu (the handle stays the same).
void CreateMainMenu();
// Opens a menu at the pointer, owned by the hidden owner window.
void TrackMainMenu(HMENU menu);
// Runs a main-menu command.
void ProcMainMenu(int id);
// 1 when the item stays in the menu (not hidden on the menu-items page);
// a staying item gets a check mark when check is non-zero.
int MenuItemCreate(int IDMENUitem, int Checkitem);

// Where separators go: between consecutive groups that show an item.
// group[i] is the group of item i (-1 for a hidden item); returns, for each
// item, whether a separator stands in front of it.
void PlaceSeparators(const int* group, int count, bool* separatorBefore);
