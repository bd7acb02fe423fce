// The entry the host calls (KV_PLUGIN_ENTRY: "_Dravonex@16" on 32-bit, "Dravonex" on x64).
#include <windows.h>

#include <cstdlib>

#include "dates_plugin.h"
#include "dravonel_plugin.h"
#include "entry_guard.h"
#include "kvinifunction.h"
#include "plugin_saves.h"

DatesPlugin datesPlugin;

LRESULT HostService(int code, const void* record) {
    if (!datesPlugin.host) return 0;
    return SendMessageA(datesPlugin.host, KV_SERVICE_MESSAGE, code, reinterpret_cast<LPARAM>(record));
}

LRESULT HostServiceValue(int code, LPARAM value) {
    if (!datesPlugin.host) return 0;
    return SendMessageA(datesPlugin.host, KV_SERVICE_MESSAGE, code, value);
}

std::string HostText(int code) {
    char* text = reinterpret_cast<char*>(HostServiceValue(code, 0));
    if (!text) return std::string();
    std::string copy(text);
    free(text);
    return copy;
}

static INT_PTR Dispatch(HWND window, int command, INT_PTR argument, INT_PTR data) {
    switch (command) {
    case KvCREATE:
        datesPlugin.host = window;
        WatchPluginSaves(window);
        datesPlugin.languageFile = data ? reinterpret_cast<const char*>(data) : "";
        return reinterpret_cast<INT_PTR>(datesPlugin.page ? datesPlugin.page : CreateDatesPage(window));
    case KvSETTINGS:
        datesPlugin.settingsFile = data ? reinterpret_cast<const char*>(data) : "";
        AttachDatesToolTips();
        RefreshDatesPage();
        return 0;
    case KvAPPLICATIONCLOSE:
        EndPluginSaves();
        datesPlugin.settingsFile.clear();
        return 0;
    case KvCREATEWALLPAPER:
        PrintDateFiles(reinterpret_cast<HDC>(data));
        return 0;
    case KvDAYTEXTCOLOUR:
    case KvDAYOUTLINECOLOUR:
        return static_cast<INT_PTR>(
            DayColour(command, reinterpret_cast<const char*>(argument),
                      reinterpret_cast<const char*>(data)));
    case KvGETDESCRIPTION: {
        const char* language = data ? reinterpret_cast<const char*>(data) : datesPlugin.languageFile.c_str();
        return reinterpret_cast<INT_PTR>(GetKey(language, "DATE", "Name", "KvDates"));
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
        datesPlugin.instance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded while the process goes on: the page's procedure is about to go.
        if (datesPlugin.page && IsWindow(datesPlugin.page)) DestroyWindow(datesPlugin.page);
        datesPlugin.page = nullptr;
        ReleaseDatesPageObjects();
    }
    return TRUE;
}
