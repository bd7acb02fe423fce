// The proxy description the HTTP client's callers pass: read from the
// general settings page's proxy controls.
#pragma once

#include <windows.h>

// "user:password@server" (the server alone unless both user and password are
// given), or none while the general page does not exist or its use-proxy box
// is off. A new heap
// text the caller frees.
char* CreatProxyLink();
