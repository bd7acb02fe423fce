// Reading another process's controls the way accessibility tools do: texts
// that the system does not carry across processes travel through memory
// allocated in the other process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Window text (WM_GETTEXT is carried across processes by the system).
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int control);
bool ControlChecked(HWND dialog, int control);

// The text of a message box: its static control that holds text.
std::string BoxText(HWND box);

// A child dialog of parent (at any depth) that holds a control with that id.
HWND FindChildDialogWithControl(HWND parent, int controlId);

// Texts of a tree view's items, depth first.
std::vector<std::string> TreeItemTexts(HWND tree);
// Text of an entry, and of the selected entry, of a combo box.
std::string ComboText(HWND dialog, int control, int index);
std::string ComboSelectedText(HWND dialog, int control);
