#include "page_lists.h"

#include "globals.h"
#include "language.h"

INT_PTR CALLBACK FileFunc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

INT_PTR CALLBACK PictureFunc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void PrepareListsPage() {}

void ApplyListsPageTexts() { SetControlTexts(hFile, "FILE", 10600, 10604); }

void LoadListSettings() {}
