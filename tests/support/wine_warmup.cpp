// Run once before the tests with its output discarded: the first window of a
// Wine session starts the desktop process and services, which would otherwise
// inherit the first test's output pipe and keep CTest waiting for its end.
#include <windows.h>

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "warm-up", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (window) DestroyWindow(window);
    return window ? 0 : 1;
}
