// The settings page (template 116) and the border dialog (template 117).
#pragma once

#include <windows.h>

#include <string>

// Creates the page as a child of the host's panel; texts from the language
// file. 0 when the template cannot be created.
HWND CreateInformerPage(HWND panel);
// After KvSETTINGS: the informer list (first one selected), the drawing
// switch, the town numbers and the browser; tool tips through the host.
void LoadInformerPage();
void ShowDrawingOnPage(bool on);
void RefreshPagePreview();
// Command 11: the preview bitmap and the like.
void ReleasePageResources();

// The town numbers as the page shows them (the stored ones without a page).
std::string PageGismeteoTown();
std::string PageRp5Town();
