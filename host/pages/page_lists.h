// The lists page (template 106) and its preview (template 105).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "engine/image_binding.h"

INT_PTR CALLBACK FileFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PictureFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Start-up defaults of the page's controls, before the settings are loaded.
void PrepareListsPage();
// Texts of the page from the language file.
void ApplyListsPageTexts();
// Loads the page's settings and opens the stored list during start-up.
void LoadListSettings();
// The placement menu of a row (items 700 .. 709), opened at the pointer.
extern HMENU hPlaceMenu;
void TrackPopupPlaceMent(int row);
// Files and folders dropped on the host window go into the open list.
void DragFunc(HDROP drop);

// The preview's part in a wallpaper change: hidden while a step composes,
// then given the composed picture (which it releases), and emptied when the
// list has no current row.
void HidePreviewForStep();
void ShowComposedPicture(s_picture* picture, SIZE size);
void ClearCurrentRowView();

// Called after a list was created, renamed or deleted (the list of lists is
// already rebuilt); the application sets it so that plug-ins hear of it.
void SetListsChangedHandler(void (*handler)());
