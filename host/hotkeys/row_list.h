// The scrolling lists of rows of the hot-key and menu-items pages.
#pragma once

#include <windows.h>

// Vertical scrolling of a row list (WM_VSCROLL and WM_MOUSEWHEEL): a line is
// 4 pixels, a page 20; the wheel moves a line per notch direction.
void ForScroll(HWND window, UINT message, WPARAM wParam);

// The range that lets the last row show whole: from 0 to the distance by
// which lastRow's bottom lies below the list's, plus 4 (never below 0).
void SetRowScrollRange(HWND list, HWND lastRow);
// The new scroll position for a scroll code (pure, for ForScroll).
int ScrolledPosition(int position, int code, int thumb, int low, int high);

// The control of a new row, in the list's font; none when it fails.
HWND CreateRowControl(HWND list, const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                      int width, int height, int id);
