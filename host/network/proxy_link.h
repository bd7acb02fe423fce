// The proxy description the HTTP client's callers pass: read from the
// general settings page's proxy controls.
#pragma once

#include <windows.h>

// The page whose proxy controls CreatProxyLink reads; the host sets it once
// the page exists. None (the start) means no proxy.
void SetProxyPage(HWND page);

// "user:password@server" (the server alone unless both user and password are
// given), or none when no page is set or its use-proxy box is off. A new heap
// text the caller frees.
char* CreatProxyLink();
