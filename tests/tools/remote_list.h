// A list view in another process, read and changed through memory lent in
// that process (list-view messages that carry pointers are not carried
// across processes).
#pragma once

#include <windows.h>

#include <string>

int RemoteListCount(HWND list);
std::string RemoteListText(HWND list, int row);
bool RemoteListChecked(HWND list, int row);
int RemoteListSelected(HWND list);
// Sets the row's check mark the way a click on its box does.
bool RemoteListSetChecked(HWND list, int row, bool checked);
