// The entry the host calls (KV_PLUGIN_ENTRY: "_Dravonex@16" on 32-bit, "Dravonex" on x64).
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "clock_plugin.h"
#include "dravonel_plugin.h"
#include "entry_guard.h"
#include "kvinifunction.h"
#include "plugin_saves.h"

ClockPlugin clockPlugin;

LRESULT HostService(int code, const void* record) {
    if (!clockPlugin.host) return 0;
    return SendMessageA(clockPlugin.host, KV_SERVICE_MESSAGE, code, reinterpret_cast<LPARAM>(record));
}

LRESULT HostServiceValue(int code, LPARAM value) {
    if (!clockPlugin.host) return 0;
    return SendMessageA(clockPlugin.host, KV_SERVICE_MESSAGE, code, value);
}

std::string HostText(int code) {
    char* text = reinterpret_cast<char*>(HostServiceValue(code, 0));
    if (!text) return std::string();
    std::string copy(text);
    free(text);
    return copy;
}

namespace {

void ReleaseEverything() {
    if (clockPlugin.page) KillTimer(clockPlugin.page, CLOCK_TIMER);
    for (HWND window : {clockPlugin.analog, clockPlugin.digital})
        if (window && IsWindow(window)) DestroyWindow(window);
    clockPlugin.analog = clockPlugin.digital = nullptr;
    if (clockPlugin.page && IsWindow(clockPlugin.page)) DestroyWindow(clockPlugin.page);
    clockPlugin.page = nullptr;
    ReleaseDial();
    ReleaseClockFont();
    if (clockPlugin.boxFont) DeleteObject(clockPlugin.boxFont);
    clockPlugin.boxFont = nullptr;
    DestroyClockMenu();
}

}  // namespace

static INT_PTR Dispatch(HWND window, int command, INT_PTR argument, INT_PTR data) {
    (void)argument;
    switch (command) {
    case KvCREATE:
        clockPlugin.host = window;
        WatchPluginSaves(window);
        clockPlugin.languageFile = data ? reinterpret_cast<const char*>(data) : "";
        return reinterpret_cast<INT_PTR>(clockPlugin.page ? clockPlugin.page : CreateClockPage(window));
    case KvSETTINGS:
        LoadClockSettings(reinterpret_cast<const char*>(data));
        return 0;
    case KvAPPLICATIONCLOSE:
        EndPluginSaves();
        return 0;
    case KvPOPMENU:
        if (window && reinterpret_cast<HMENU>(window) == clockPlugin.menu && clockPlugin.menuOpener &&
            IsWindow(clockPlugin.menuOpener))
            SendMessageA(clockPlugin.menuOpener, WM_COMMAND, LOWORD(argument), 0);
        return 0;
    case KvGETDESCRIPTION: {
        const char* language = data ? reinterpret_cast<const char*>(data) : clockPlugin.languageFile.c_str();
        return reinterpret_cast<INT_PTR>(GetKey(language, "CLOCK", "Name", "KvClock"));
    }
    default:
        return 0;
    }
}

extern "C" INT_PTR WINAPI Dravonex(HWND window, int command, INT_PTR argument, INT_PTR data) {
    return AnswerWithoutThrowing([&] { return Dispatch(window, command, argument, data); });
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        clockPlugin.instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded while the process goes on: no window may keep a procedure
        // that is about to disappear.
        ReleaseEverything();
    }
    return TRUE;
}
