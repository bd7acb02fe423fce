// The placement window that follows the mouse, offered to the calendar page
// and to plug-ins.
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

// The item being placed: s_placefunc of the plug-in protocol (service 6),
// also used by the calendar page.

// Dialog procedure of the placement window (template 98), run modally with
// the record as parameter. The edits follow the mouse; a click accepts,
// Escape puts the old numbers back.
INT_PTR CALLBACK PlaceDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the placement window for the record; returns when it closes.
void RunPlaceDialog(s_placefunc* place);
// The window's shape for a record, in window coordinates (anchor index for
// types 2 and 3: 0 down-right, 1 down-left, 2 up-right, 3 up-left); its
// lines and disc grow with the screen's DPI.
HRGN PlaceWindowRegion(int type, int width, int height, int anchor, int dpi = 96);
