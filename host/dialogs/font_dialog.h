// The font dialog of a font box, offered to the pages and to plug-ins.
#pragma once

#include <windows.h>
#include <commdlg.h>

// Font dialog for a font box: on OK the control takes the chosen face, style
// and charset at its old height and shows the face name; with reg set the
// style ("", "1" italic, "2" bold, "3" both), charset and face are written to
// the user's file of extension ext, section app. Cancel changes nothing.
void ChooseFontForMy(const char* ext, const char* app, HWND H, int ID, const char* keyStyle, const char* keyCharset,
                     const char* keyFontBox, int reg);
// Style code of a font as the settings keep it ("" regular).
const char* FontStyleCode(LONG weight, BYTE italic);

// The system font dialog, replaceable so tests can answer it; none restores
// the system's own. Returns the previous function.
typedef BOOL(WINAPI* ChooseFontFunction)(LPCHOOSEFONTA);
ChooseFontFunction SetChooseFontFunction(ChooseFontFunction function);
