// A one-line text question (template 100).
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

// The request is s_inputInitParam of the plug-in protocol (service 17),
// allocated by the caller on the heap and released by the dialog together
// with inText.

// Runs the dialog; returns a heap copy of the text, or none when cancelled.
char* RunInputDialog(s_inputInitParam* request);
// Convenience: builds the request; initial text is copied.
char* InputDialog(HWND owner, int captionText, int promptText, const char* initial, bool digitsOnly);

INT_PTR CALLBACK InputDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
