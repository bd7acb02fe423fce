#pragma once

#include <windows.h>

// GetProcAddress typed as the function the caller expects (through void* so
// the compiler does not warn about the FARPROC cast); none when missing.
template <typename Function>
Function GetProcAddressAs(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
