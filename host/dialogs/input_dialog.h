// A one-line text question (template 100).
#pragma once

#include <windows.h>

// The request; allocated by the caller on the heap and released by the
// dialog together with inText.
struct s_inputInitParam {
    HWND hwnd;       // owner
    int iCaption;    // caption: text number of section "STRING"
    int iTitle;      // prompt: text number of section "STRING"
    char* inText;    // initial text (heap) or none
    int yInt;        // digits only, centred
};

// Runs the dialog; returns a heap copy of the text, or none when cancelled.
char* RunInputDialog(s_inputInitParam* request);
// Convenience: builds the request; initial text is copied.
char* InputDialog(HWND owner, int captionText, int promptText, const char* initial, bool digitsOnly);

INT_PTR CALLBACK InputDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
