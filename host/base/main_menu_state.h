// The main menu's handle and the check marks of its items. Any part of the
// program whose option a menu item shows keeps the mark in step through
// these; building and running the menu is the application's.
#pragma once

#include <windows.h>

#include "base/command_ids.h"

extern HMENU hMainMenu;

void CheckMainMenuItem(int ID, int Check);
void DisabledMenuItem(int ID, int Ch);
// Position of the item with that id in the main menu itself, or -1. The
// submenus number their items from 0 too, so a search by command could find
// one of theirs first.
int MainMenuPosition(int ID);
