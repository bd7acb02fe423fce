#include "window_wait.h"

#include <cstring>

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMilliseconds) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {

struct WindowQuery {
    const char* className;
    const char* title;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM parameter) {
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    if (query->processId) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != query->processId) return TRUE;
    }
    char text[256];
    if (query->className) {
        GetClassNameA(hwnd, text, sizeof text);
        if (strcmp(text, query->className) != 0) return TRUE;
    }
    if (query->title) {
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, query->title) != 0) return TRUE;
    }
    query->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopWindow(const char* className, const char* title, DWORD processId) {
    WindowQuery query = {className, title, processId, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForTopWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMilliseconds) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, processId)) != nullptr; }, timeoutMilliseconds);
    return found;
}
