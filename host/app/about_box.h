// The about box (template 102): the version, link rows to the maker's
// addresses, and the buttons for the desktop shortcut, the update check and
// the full clean-up. While it is open the desktop carries the program's name.
#pragma once

#include <windows.h>

#include <string>

// The open about box, or none.
extern HWND hAbout;

// Main-menu item 16: creates the box (one at a time) or brings it forward.
void ShowAbout();
INT_PTR CALLBACK AboutDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The mail message the mail row opens: "mailto:" + address with a subject
// of the program's name and version (blanks as "%20").
std::string MailToLink(const char* address, const char* version);

// Opening a link row's target, replaceable so tests see the target instead
// of starting a mail program or a browser; none restores the shell's own.
// Returns the previous function.
typedef HINSTANCE(WINAPI* ShellOpenFunction)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
ShellOpenFunction SetAboutOpenFunction(ShellOpenFunction function);
