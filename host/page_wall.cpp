#include "page_wall.h"

#include "globals.h"
#include "language.h"

INT_PTR CALLBACK WallFunc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void PrepareWallPage() {}

void ApplyWallPageTexts() { SetControlTexts(hWall, "WALL", 10400, 10421); }

void LoadWallSettings() {}
