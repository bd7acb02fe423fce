#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

// Item data of owner-drawn and language menu items (menudata, a record of
// the plug-in protocol): drawn by the hidden owner window, released by
// whoever rebuilds the menu.

// New record; text is cut to 259 characters.
menudata* NewMenuData(const char* text, HICON icon, const char* data);
// Frees the record and its data (not the icon, which belongs to the caller).
void FreeMenuData(menudata* record);
// Frees the records of every item of the menu.
void FreeMenuItemsData(HMENU menu);
