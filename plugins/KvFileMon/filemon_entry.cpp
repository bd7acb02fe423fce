// KvFileMon: keeps wallpaper lists in step with folders on disk.
#include <windows.h>

#include <cstring>

#include "dravonel_plugin.h"
#include "entry_guard.h"
#include "filemon_page.h"
#include "kvinifunction.h"
#include "plugin_saves.h"

namespace {

HINSTANCE module = nullptr;

}  // namespace

static INT_PTR Dispatch(HWND window, int command, INT_PTR argument, INT_PTR data) {
    (void)argument;
    const char* text = reinterpret_cast<const char*>(data);
    if (command != KvAPPLICATIONCLOSE && command != KvCREATE) ResumeFileMon();
    switch (command) {
    case KvCREATE:
        WatchPluginSaves(window);
        return reinterpret_cast<INT_PTR>(CreateFileMonPage(module, window, text));
    case KvSETTINGS:
        LoadFileMonSettings(text);
        return 0;
    case KvLISTSCHANGED:
        FillListNames();
        return 0;
    case KvAPPLICATIONCLOSE:
        StopFileMon();
        EndPluginSaves();
        return 0;
    case KvGETDESCRIPTION: {
        char* name = text ? GetKey(text, "FILEMON", "Name", nullptr) : nullptr;
        return reinterpret_cast<INT_PTR>(name ? name : _strdup("KvFileMon"));
    }
    default:
        return 0;
    }
}

extern "C" INT_PTR WINAPI Dravonex(HWND window, int command, INT_PTR argument, INT_PTR data) {
    return AnswerWithoutThrowing([&] { return Dispatch(window, command, argument, data); });
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
