// The record a hot-key row and a menu-items row keep as their window data:
// the settings key that stores the row and the plug-in that owns it.
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

// The record itself (keyset) and the entry point's type are the plug-in
// protocol's.

// A new record with a copy of the key name.
keyset* NewKeySet(const char* keyname, DravonexFunction pDravonex);
// The record of a row control, or none.
keyset* KeySetOf(HWND control);
