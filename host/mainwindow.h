// The main window (settings window), the settings panel and the hidden owner
// window of every popup menu.
#pragma once

#include <windows.h>
#include <commctrl.h>

INT_PTR CALLBACK MainFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK HideFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the settings window and, when given and alive, selects that page.
void ShowSettings(HWND page);
// The page of the tree's selected item, or none.
HWND GetActiveChild();
// Depth-first search of the tree for the item whose data is the page.
HTREEITEM GetTreeViewItem(HWND tree, HTREEITEM from, HWND page);
// Shows or hides the page tree, moving the panel and resizing the window.
void ToggleTreeShow();
