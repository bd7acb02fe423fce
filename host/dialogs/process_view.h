// "ProcessView": the user edits the exclusion list beside a list of the
// programs running now.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ProcFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Shows the window as a modal dialog of owner; the list is saved on closing.
void ShowProcessView(HWND owner);
