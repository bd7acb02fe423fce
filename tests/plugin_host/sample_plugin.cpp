// A plug-in for tests, copied into a Plugins folder under any name. It writes
// every command it gets to calls.log beside it ("<name> <command> ..."),
// answers as <name>.ini beside it says (read anew at every call, so a test
// can change its mind), and asks the host for services when a command line
// holds "/sample-dump" (which it takes out, as plug-ins take their switches).
//
// <name>.ini:
//   [answer]  <command>=<number>       answer to that command (default 0)
//   [page]    show=1, name=<text>      a settings page, and its display name
//   [hotkeys] count=<n>, skip=<index>  hot keys offered; that index answers 0
//   [menu]    count=<n>, skip=<index>, submenu=<index>
//   [cmdrun]  take=<switch>            KvCMDRUN removes it from the line
//             replace=<text>           KvCMDRUN answers this line instead
//   [draw]    colour=<COLORREF>, x, y, w, h  filled into the wallpaper
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dravonel_plugin.h"

namespace {

HMODULE self;
HWND host;  // the main window, from any command that carries it
HWND page;
HMENU submenu;
int menuBase = -1;  // the row of menu item 0

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, sizeof path);
    return path;
}

std::string Folder() {
    std::string path = ModulePath();
    return path.substr(0, path.rfind('\\') + 1);
}

std::string Name() {
    std::string path = ModulePath();
    std::string file = path.substr(path.rfind('\\') + 1);
    return file.substr(0, file.rfind('.'));
}

std::string Setting(const char* section, const char* key) {
    char value[512] = "";
    GetPrivateProfileStringA(section, key, "", value, sizeof value, (Folder() + Name() + ".ini").c_str());
    return value;
}

long Number(const char* section, const char* key, long fallback) {
    const std::string value = Setting(section, key);
    return value.empty() ? fallback : static_cast<long>(strtoul(value.c_str(), nullptr, 0));
}

// Plain file calls: this also runs while the module is being unloaded.
void Log(const std::string& line) {
    HANDLE file = CreateFileA((Folder() + "calls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = Name() + " " + line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Text(INT_PTR pointer) { return pointer ? reinterpret_cast<const char*>(pointer) : "<none>"; }

// A block handed to the host is announced to a test program that exports
// SampleHandedBlock (the host itself does not), so it can see it freed.
void* Handed(void* block, int command) {
    typedef void (*Announce)(void*, int);
    static Announce announce =
        reinterpret_cast<Announce>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(nullptr), "SampleHandedBlock")));
    if (block && announce) announce(block, command);
    return block;
}

char* HeapText(const std::string& text, int command) {
    char* block = _strdup(text.c_str());
    return static_cast<char*>(Handed(block, command));
}

template <typename Record>
Record* HeapRecord(int command) {
    return static_cast<Record*>(Handed(calloc(1, sizeof(Record)), command));
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) Log("page destroyed");
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreatePage(HWND panel) {
    const std::string className = "DravonelSamplePage" + Name();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = PageProc;
    windowClass.hInstance = self;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className.c_str();
    RegisterClassA(&windowClass);
    HWND created = CreateWindowExA(WS_EX_CONTROLPARENT, className.c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100,
                                   panel, nullptr, self, nullptr);
    CreateWindowExA(0, "STATIC", ("The page of " + Name()).c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 180, 20, created,
                    nullptr, self, nullptr);
    return created;
}

LRESULT Service(int code, LPARAM argument) { return SendMessageA(host, KV_SERVICE_MESSAGE, code, argument); }

std::string TakeText(LRESULT answer) {
    char* text = reinterpret_cast<char*>(answer);
    std::string copy = text ? text : "<none>";
    free(text);
    return copy;
}

// What the host answers, written to the log.
void Dump() {
    HMENU menu = reinterpret_cast<HMENU>(Service(KvSrvMainMenu, 0));
    char line[600];
    snprintf(line, sizeof line, "service 14 menu=%p", static_cast<void*>(menu));
    Log(line);
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_STATE;
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item);
        const menudata* data = reinterpret_cast<const menudata*>(item.dwItemData);
        snprintf(line, sizeof line, "item %d id=%u separator=%d submenu=%p checked=%d text=%s", position, item.wID,
                 (item.fType & MFT_SEPARATOR) ? 1 : 0, static_cast<void*>(item.hSubMenu),
                 (item.fState & MFS_CHECKED) ? 1 : 0, data ? data->text : "");
        Log(line);
    }
    HWND owner = reinterpret_cast<HWND>(Service(KvSrvOwnerWindow, 0));
    snprintf(line, sizeof line, "service 22 owner=%p window=%d", static_cast<void*>(owner), IsWindow(owner) ? 1 : 0);
    Log(line);
    Log("service 24 " + TakeText(Service(KvSrvCurrentWallpaper, 0)));
    Log("service 30 " + TakeText(Service(KvSrvNextWallpaperPath, 0)));
    Log("service 23 " + std::to_string(Service(KvSrvMayChange, 0)));
}

const char kDump[] = "/sample-dump";

char* CommandLine(char* line) {
    std::string text = line ? line : "";
    const std::string replacement = Setting("cmdrun", "replace");
    if (!replacement.empty()) {
        free(line);
        return HeapText(replacement, KvCMDRUN);
    }
    bool taken = false;
    for (const std::string& take : {std::string(kDump), Setting("cmdrun", "take")}) {
        if (take.empty()) continue;
        for (size_t at; (at = text.find(take)) != std::string::npos; taken = true) text.erase(at, take.size());
    }
    if (!taken) return nullptr;
    if (std::string(line).find(kDump) != std::string::npos) Dump();
    free(line);  // the host's line is ours now
    return HeapText(text, KvCMDRUN);
}

INT_PTR Hotkey(int index, INT_PTR row) {
    if (index == Number("hotkeys", "skip", -1)) return 0;
    s_hotkey* record = HeapRecord<s_hotkey>(KvGETHOTKEY);
    if (!record) return 0;
    record->DescroptionHotKey = HeapText(Name() + " key " + std::to_string(index), KvGETHOTKEY);
    record->KeyWin = _strdup((Name() + "Win" + std::to_string(index)).c_str());
    record->KeyHotKey = _strdup((Name() + "Key" + std::to_string(index)).c_str());
    (void)row;
    return reinterpret_cast<INT_PTR>(record);
}

INT_PTR MenuItem(int index, INT_PTR row) {
    if (index == 0) menuBase = static_cast<int>(row);
    if (index == Number("menu", "skip", -1)) return 0;
    s_menuitem* record = HeapRecord<s_menuitem>(KvGETMENUITEM);
    if (!record) return 0;
    record->NameMenuItem = HeapText(Name() + " item " + std::to_string(index), KvGETMENUITEM);
    record->KeyMenuItem = _strdup((Name() + "Hide" + std::to_string(index)).c_str());
    return reinterpret_cast<INT_PTR>(record);
}

void AttachSubmenu(HMENU menu, int position) {
    if (!submenu) {
        submenu = CreatePopupMenu();
        AppendMenuA(submenu, MF_STRING, 1, (Name() + " sub").c_str());
    }
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    item.hSubMenu = submenu;
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item);
}

void Draw(HDC dc) {
    const long colour = Number("draw", "colour", -1);
    if (!dc || colour < 0) return;
    RECT area = {Number("draw", "x", 0), Number("draw", "y", 0), 0, 0};
    area.right = area.left + Number("draw", "w", 10);
    area.bottom = area.top + Number("draw", "h", 10);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colour));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

void LogCall(HWND window, int command, INT_PTR argument, INT_PTR data) {
    char line[1200];
    switch (command) {
        case KvCREATE:
        case KvSETTINGS:
        case KvGETDESCRIPTION:
            snprintf(line, sizeof line, "%d %d %s", command, static_cast<int>(argument), Text(data).c_str());
            break;
        case KvCMDRUN:
            snprintf(line, sizeof line, "%d %s", command, Text(argument).c_str());
            break;
        case KvDAYTEXTCOLOUR:
        case KvDAYOUTLINECOLOUR:
            snprintf(line, sizeof line, "%d %s %s", command, Text(argument).c_str(), Text(data).c_str());
            break;
        case KvCREATEMENUITEM:
        case KvCREATEMENUITEMPOPUP:
        case KvRUNMENUITEM:
        case KvPOPMENU:
            snprintf(line, sizeof line, "%d %d %lld menu=%p", command, static_cast<int>(argument),
                     static_cast<long long>(data), static_cast<void*>(window));
            break;
        default:
            snprintf(line, sizeof line, "%d %d %lld", command, static_cast<int>(argument),
                     static_cast<long long>(data));
            break;
    }
    Log(line);
}

}  // namespace

extern "C" INT_PTR WINAPI Dravonex(HWND window, int command, INT_PTR argument, INT_PTR data) {
    LogCall(window, command, argument, data);
    const bool menuCommand = command == KvCREATEMENUITEM || command == KvCREATEMENUITEMPOPUP ||
                             command == KvRUNMENUITEM || command == KvPOPMENU;
    if (!menuCommand && command != KvCREATE && command != KvGETDESCRIPTION && window) host = window;
    switch (command) {
        case KvCREATE:
            page = Number("page", "show", 0) ? CreatePage(window) : nullptr;
            return reinterpret_cast<INT_PTR>(page);
        case KvGETDESCRIPTION: {
            const std::string name = Setting("page", "name");
            return name.empty() ? 0 : reinterpret_cast<INT_PTR>(HeapText(name, KvGETDESCRIPTION));
        }
        case KvGETCOUNTHOTKEY:
            return Number("hotkeys", "count", 0);
        case KvGETHOTKEY:
            return Hotkey(argument, data);
        case KvGETCOUNTMENUITEM:
            return Number("menu", "count", 0);
        case KvGETMENUITEM:
            return MenuItem(argument, data);
        case KvCREATEMENUITEMPOPUP:
            if (argument >= 0 && Number("menu", "submenu", -1) >= 0 && data == menuBase + Number("menu", "submenu", -1))
                AttachSubmenu(reinterpret_cast<HMENU>(window), argument);
            return 0;
        case KvCREATEWALLPAPER:
            Draw(reinterpret_cast<HDC>(data));
            return 0;
        case KvCMDRUN:
            return reinterpret_cast<INT_PTR>(CommandLine(reinterpret_cast<char*>(argument)));
        default:
            return Number("answer", std::to_string(command).c_str(), 0);
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // FreeLibrary, or the end of the process with the module still in.
        Log(reserved ? "detached at process end" : "unloaded");
    }
    return TRUE;
}
