// The hot-key page (template 109) and its row list (1090). While the page is
// shown the hot keys are off, so that combinations can be typed into the
// editors; leaving it saves them and turns them on again.
#pragma once

#include <windows.h>

INT_PTR CALLBACK KeyFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void ApplyHotKeyPageTexts();
// The rows and the registration choice (KvKeyReg), during start-up.
void LoadHotKeySettings(const char* settingsFile);
// True while the page has the hot keys off.
bool HotKeysSuspended();
