// The record a hot-key row and a menu-items row keep as their window data:
// the settings key that stores the row and the plug-in that owns it.
#pragma once

#include <windows.h>

// A plug-in's entry point (exported as _Dravonex@16): window, command, and
// two command arguments; the answer depends on the command.
typedef INT_PTR(WINAPI* DravonexFunction)(HWND window, int command, int argument, INT_PTR data);

struct keyset {
    char* keyname;               // heap; kept for the life of the process
    DravonexFunction pDravonex;  // none for the host's own rows
};

// A new record with a copy of the key name.
keyset* NewKeySet(const char* keyname, DravonexFunction pDravonex);
// The record of a row control, or none.
keyset* KeySetOf(HWND control);
