// KvJoke: practical jokes on the desktop, started and stopped with one hot
// key or one main-menu item.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "dravonel_plugin.h"
#include "entry_guard.h"
#include "joke_page.h"
#include "joke_run.h"
#include "kvinifunction.h"
#include "plugin_saves.h"

namespace {

HINSTANCE module = nullptr;
std::string language;

char* LanguageText(const char* key, const char* fallback) {
    char* text = language.empty() ? nullptr : GetKey(language.c_str(), "JOKE", key, nullptr);
    return text ? text : _strdup(fallback);
}

INT_PTR HotKeyRecord(int row) {
    SetJokeHotKeyRow(row);
    s_hotkey* record = static_cast<s_hotkey*>(malloc(sizeof *record));
    if (!record) return 0;
    record->DescroptionHotKey = LanguageText("DescHotKey", "KvJoke");
    record->KeyWin = _strdup("WinJoke");
    record->KeyHotKey = _strdup("HotKeyJoke");
    return reinterpret_cast<INT_PTR>(record);
}

INT_PTR MenuItemRecord(int id) {
    SetJokeMenuItem(id);
    s_menuitem* record = static_cast<s_menuitem*>(malloc(sizeof *record));
    if (!record) return 0;
    record->NameMenuItem = LanguageText("DescHotKey", "KvJoke");
    record->KeyMenuItem = _strdup("JokeMenuItem");
    return reinterpret_cast<INT_PTR>(record);
}

}  // namespace

static INT_PTR Dispatch(HWND window, int command, INT_PTR argument, INT_PTR data) {
    const char* text = reinterpret_cast<const char*>(data);
    switch (command) {
    case KvCREATE:
        language = text ? text : "";
        SetJokeHost(window, text);
        WatchPluginSaves(window);
        return reinterpret_cast<INT_PTR>(CreateJokePage(module, window, text));
    case KvSETTINGS:
        LoadJokeSettings(text);
        return 0;
    case KvGETCOUNTHOTKEY:
    case KvGETCOUNTMENUITEM:
        return 1;
    case KvGETHOTKEY:
        return argument == 0 ? HotKeyRecord(static_cast<int>(data)) : 0;
    case KvRUNHOTKEY:
        if (static_cast<int>(data) == JokeHotKeyRow()) ToggleJoke();
        return 0;
    case KvGETMENUITEM:
        return argument == 0 ? MenuItemRecord(static_cast<int>(data)) : 0;
    case KvCREATEMENUITEM:
        ShowJokeMenuItem(module, reinterpret_cast<HMENU>(window), static_cast<int>(data));
        return 0;
    case KvRUNMENUITEM:
        if (static_cast<int>(data) == JokeMenuItem()) ToggleJoke();
        return 0;
    // While the joke runs, the host keeps its hands off the wallpaper and
    // the desktop icons.
    case KvSTOPNEXTWALL:
    case KvSTOPPREVIOUSWALL:
    case KvUPDATEWALL:
    case KvSTOPICONRULE:
        return JokeRunning() ? 1 : 0;
    case KvAPPLICATIONCLOSE:
        StopJoke();
        EndPluginSaves();
        return 0;
    case KvAPPLICATIONCLEAR:
        StopJoke();
        return 0;
    case KvGETDESCRIPTION: {
        char* name = text ? GetKey(text, "JOKE", "Name", nullptr) : nullptr;
        return reinterpret_cast<INT_PTR>(name ? name : _strdup("KvJoke"));
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
