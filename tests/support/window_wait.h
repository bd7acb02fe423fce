// Bounded waits for windows and conditions; no test sleeps longer than needed.
#pragma once

#include <windows.h>

#include <functional>

// Polls condition every few milliseconds (pumping this thread's messages)
// until it holds or the time is up. Returns its last answer.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds);

// Top-level window of class and title (either may be none) owned by the
// process (0 = any process), or none.
HWND FindTopWindow(const char* className, const char* title, DWORD processId);
HWND WaitForTopWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMilliseconds);

// Handles pending messages of this thread.
void PumpMessages();
