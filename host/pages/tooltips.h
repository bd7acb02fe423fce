#pragma once

#include <windows.h>

// Attaches to a control the tool tip of text n of the language file's
// "TOOLTIP" section.
void AddToolTip(HWND control, int toolId, int textNumber);
