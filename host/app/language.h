// Language files: every text of the interface comes from Language\<file>.
#pragma once

#include <windows.h>

extern HMENU hLanguageMenu;

// Rebuilds the language menu and sets the global ini to the stored file.
void CreateLanguageMenu();
// Applies the texts to all pages and builds the page tree.
void Language();
// Switches to the language of menu item id (restarts the program).
void ProcLanguageMenu(int id);
