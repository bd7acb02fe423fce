#pragma once

#include <windows.h>

// Item data of owner-drawn and language menu items: drawn by the hidden
// owner window, released by whoever rebuilds the menu.
struct menudata {
    char text[260];   // display name
    HICON hIcon;      // 16 x 16, may be none
    char* data;       // a path or file name (heap), may be none
};

// New record; text is cut to 259 characters.
menudata* NewMenuData(const char* text, HICON icon, const char* data);
// Frees the record and its data (not the icon, which belongs to the caller).
void FreeMenuData(menudata* record);
// Frees the records of every item of the menu.
void FreeMenuItemsData(HMENU menu);
