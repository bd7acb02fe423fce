// The general page (template 103): tray, pause, desktop icons, taskbar and
// process priority. Its controls hold the live state of these options.
#pragma once

#include <windows.h>

INT_PTR CALLBACK BothFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Start-up defaults of the controls (before the settings are loaded).
void PrepareGeneralPage();
// Loads the page's settings (the general steps of the start-up loading).
void LoadTraySettings();
void LoadGeneralSettings();

// The screen-saver options and buttons (10305, 10329, 10306, 10315, 10330)
// act through the screen-saver management, which sits above the pages;
// unset, the options are only stored.
void SetSaverCommandHandler(void (*handler)(int control));

// State of a check box of the page.
bool GeneralOption(int control);
COLORREF GeneralCaptionColour();
int GeneralTaskbarPercent();

// Priority class for an entry of the priority box (0 real-time .. 5 idle).
DWORD PriorityClassForIndex(int index);
