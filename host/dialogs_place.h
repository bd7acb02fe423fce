// Small dialogs the host offers its pages and the plug-ins: the placement
// window that follows the mouse, and the font dialog of a font box.
#pragma once

#include <windows.h>
#include <commdlg.h>

// The item being placed (plug-in service 6 and the calendar page).
struct s_placefunc {
    BYTE PlaceDialogType;    // 1: x, y is the top-left corner; 2, 3: the anchor point
    HWND hPlaceDialogType;   // dialog holding the edit controls
    int IDpx;                // edit of x
    int IDpy;                // edit of y
    int IDTypePos;           // combo of the anchor corner (type 2)
    int Width;               // size of the item in pixels
    int Height;
};

// Dialog procedure of the placement window (template 98), run modally with
// the record as parameter. The edits follow the mouse; a click accepts,
// Escape puts the old numbers back.
INT_PTR CALLBACK PlaceDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the placement window for the record; returns when it closes.
void RunPlaceDialog(s_placefunc* place);
// The window's shape for a record, in window coordinates (anchor index for
// types 2 and 3: 0 down-right, 1 down-left, 2 up-right, 3 up-left).
HRGN PlaceWindowRegion(int type, int width, int height, int anchor);

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
