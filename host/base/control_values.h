// Reading the options the settings pages hold. The pages' controls are where
// an option lives while the program runs (every change is written to the
// settings file at once); the rest of the program reads them by control id
// through these, without calling into the pages.
#pragma once

#include <windows.h>

// A check box is checked (false when the page or the box does not exist).
bool IsChecked(HWND page, int control);
// Its state, or the fallback while the page does not have the box.
bool CheckedOr(HWND page, int control, bool fallback);
// Selected entry of a combo box, or the fallback (none selected, no box).
int ComboIndex(HWND page, int control, int fallback);
// A colour button's colour: its window text as a decimal number.
COLORREF ColourOf(HWND page, int control);
// A signed number field, or the fallback when it holds no number.
int NumberOf(HWND page, int control, int fallback);
