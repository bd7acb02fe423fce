// The settings window: the page tree on the left, the page of the selected
// item on the right.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Fills the tree with the pages, titled from the language file.
void BuildPageTree();
// Shows the settings window and, when given and alive, selects that page.
void ShowSettings(HWND page);
// The page of the tree's selected item, or none.
HWND GetActiveChild();
// Depth-first search of the tree for the item whose data is the page.
HTREEITEM GetTreeViewItem(HWND tree, HTREEITEM from, HWND page);
// Shows or hides the page tree, moving the panel and resizing the window.
void ToggleTreeShow();
// Shows or hides a page that may not exist (yet).
void ShowPage(HWND page, int command);
// The tree's selection moved: the old page hides, the new one shows.
void OnTreeSelectionChanged(const NMTREEVIEWA* change);
