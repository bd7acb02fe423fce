// The folder monitor's settings page: the watched folders, one row each,
// with the snapshot of each folder's pictures in a hidden list box.
#pragma once

#include <windows.h>

// Command 0: the page as a child of the panel, which also receives the
// service requests. The language file gives the page's texts.
HWND CreateFileMonPage(HINSTANCE instance, HWND panel, const char* languageFile);
// Command 1: tool tips, the watched folders of the settings file, the worker.
void LoadFileMonSettings(const char* settingsFile);
// Command 21: the wallpaper lists to choose from.
void FillListNames();
// Command 11: the worker ends before the host may unload the module.
void StopFileMon();
// Any later command: the exit was refused, so the folders are watched again.
void ResumeFileMon();
