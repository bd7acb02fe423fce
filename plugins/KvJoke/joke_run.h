// Starting and stopping the joke, and what it keeps while it runs.
#pragma once

#include <windows.h>

// The window that answers service requests and the language of the texts.
void SetJokeHost(HWND host, const char* languageFile);
// Rows the host gave the plug-in: its hot key's row and its menu item.
void SetJokeHotKeyRow(int row);
int JokeHotKeyRow();
void SetJokeMenuItem(int id);
int JokeMenuItem();
// Command 8: the item's caption and icon in the host's menu.
void ShowJokeMenuItem(HINSTANCE instance, HMENU menu, int id);

bool JokeRunning();
// The hot key or the menu item: start (after the checks) or stop.
void ToggleJoke();
// Stops a running joke and puts everything back; nothing when none runs.
void StopJoke();
// Timers 1 (100 ms) and 2 (the wallpaper period) of the page.
void OnJokeTimer(UINT_PTR id);
