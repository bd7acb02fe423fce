// Start-up of the host: single instance, windows, the start-up sequence and
// the message loop.
#pragma once

#include <windows.h>

// Everything WinMain does; returns the process exit code.
int DravonelMain(HINSTANCE instance, const char* commandLine);

// A running instance: a dialog window titled "Dravonel".
HWND FindRunningInstance();
// Hands a command line to a running instance (control 1013, WM_COMMAND 1014).
void HandOverCommandLine(HWND running, const char* commandLine);
// "Dravonel_path" (program folder) and "Dravonel_drive" (its drive).
void SetProgramEnvironment();
// Creates all windows in their order; false when one fails.
bool CreateProgramWindows();
void hUser32DllInit();
// The engine's notices go to the pages and the desktop care.
void ConnectWallpaperEvents();
// The pages' requests that the application answers (the menu-items page
// rebuilds the main menu).
void ConnectPageHooks();
// The plug-ins' part in the engine and the services the application answers
// (the calendar's day colours, the settings window, menus, command lines).
void ConnectPluginHost();
void InitializeApp(const char* commandLine);
int RunMessageLoop();
// The wheel scrolls the row list under the pointer, not the focused control.
bool RedirectMouseWheel(const MSG& message);
