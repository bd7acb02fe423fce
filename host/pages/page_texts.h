// Texts of the pages from the language file.
#pragma once

#include <windows.h>

// Sets every existing control first..last of a page from the section.
void SetControlTexts(HWND page, const char* section, int first, int last);
// Fills a combo box with texts first..last of a section, in id order.
void FillComboFromLanguage(HWND dialog, int control, const char* section, int first, int last);
