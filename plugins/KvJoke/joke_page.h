// The joke's settings page: the effects and their two numbers.
#pragma once

#include <windows.h>

#include "joke_logic.h"

// Command 0: the page as a child of the panel, with the language's texts
// and the effects that are on by default ticked.
HWND CreateJokePage(HINSTANCE instance, HWND panel, const char* languageFile);
// Command 1: the ticks and numbers of the settings file; from then on every
// change is written at once.
void LoadJokeSettings(const char* settingsFile);
HWND JokePage();
// What the page asks for now (nothing without a page).
JokeEffects TickedEffects();
