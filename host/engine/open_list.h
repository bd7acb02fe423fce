// The open wallpaper list: its rows, its name and its current row. The rows
// are shown in the lists page's virtual list view 10626, whose selected row
// is the current wallpaper.
#pragma once

#include <windows.h>

#include <string>

#include "engine/wall_model.h"

// The open list's rows.
extern WallList wallList;
// Name of the open list ("" when none is open); stored as KvFileList.
extern std::string lastlist;
// Path of the current wallpaper ("" when none).
extern std::string lastsel;

// Lists\<name><extension>.
std::string ListFilePath(const std::string& name, const char* extension);
// Paths of the open list's files ("" without an open list).
std::string CreatePathList();
std::string OrderFilePath();

// The selected row of a list view (first with the selected state, -1 none),
// and selecting one (selected, focused, scrolled into view).
int GetItemSel(HWND page, int control);
void SetItemSel(HWND page, int control, int row);
int GetCurrentRow();
// Selects that row, or the nearest one the list has; an empty list has no
// current row and no current wallpaper.
void SetCurrentState(int index);

// Tells the list view how many rows the open list has and repaints it.
void RefreshWallListView();

// Placement digit of a row (0 when there is none).
int GetPlaceMent(int row);
