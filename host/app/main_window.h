// The main window (settings window), the settings panel and the hidden owner
// window of every popup menu.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HideFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
