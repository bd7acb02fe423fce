// Conventions the settings pages share.
#pragma once

#include <windows.h>

// Colour of the pages' headings and marked texts.
const COLORREF DARK_RED_TEXT = 0x000080;

// A check box from a flag of the settings file: flags that are on by
// default are stored only when switched off, the others only when on.
void CheckFromFlag(HWND page, const char* file, int control, const char* key, bool defaultOn);

// The answer to WM_CTLCOLORSTATIC for a heading: dark red on the page colour.
INT_PTR PaintHeading(WPARAM dc);
