#include "app/clear_win.h"

#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/exit.h"
#include "base/globals.h"
#include "base/timer_ids.h"
#include "desktop/desktop_shortcut.h"
#include "desktop/shell_verbs.h"
#include "engine/create_wallpaper.h"
#include "pages/page_wall.h"
#include "plugins/plugin_commands.h"
#include "createpathfile.h"
#include "ids_wall.h"
#include "scopedwin.h"
#include "wow64.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Deletes the files of the folder that match each pattern, then the folder
// if that left it empty.
void ClearFolder(const char* name, std::initializer_list<const char*> patterns) {
    HeapString folder(CreatePathFile(name, nullptr, nullptr));
    if (!folder) return;
    const std::string path = folder.get();
    for (const char* pattern : patterns) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((path + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void RemoveUserFiles() {
    // A folder that is the current one cannot be removed; list work often
    // leaves the process in "Lists".
    HeapString program(CreatePathFile(nullptr, nullptr, nullptr));
    if (program) SetCurrentDirectoryA(program.get());
    ClearFolder("Users", {"*.set", "*.rem"});
    ClearFolder("Lists", {"*.lst", "*.rnd"});
}

void DeleteRunValue() {
    ScopedRegKey run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE | NativeRegistryView(), run.receive()) ==
        ERROR_SUCCESS)
        RegDeleteValueA(run.get(), "Dravonel");
}

void EmptyDesktopWallpaperValue() {
    ScopedRegKey desktop;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, desktop.receive()) ==
        ERROR_SUCCESS)
        RegSetValueExA(desktop.get(), "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
}

}  // namespace

void ClearWin() {
    if (PluginsRefuseClear()) return;

    DeleteLabel();
    if (hWall && SendDlgItemMessageA(hWall, IDPRELOG, CB_GETCURSEL, 0, 0) != 0) {
        SendDlgItemMessageA(hWall, IDPRELOG, CB_SETCURSEL, 0, 0);
        KvPreLogChange();
    }
    if (hMain && IsWindowVisible(hMain)) ShowWindow(hMain, SW_MINIMIZE);
    for (int timer : {Timer03, Timer04, Timer05, Timer06}) KillTimer(hMain, timer);

    RemoveUserFiles();
    DeleteRunValue();
    EmptyDesktopWallpaperValue();
    RemoveContexMenuFileTo(1);
    RemoveContexMenuFileTo(0);
    RemoveContexMenuDirectory();
    UpdateWalpaper("");
    DeleteFileA(ComposedWallpaperPath().c_str());
    DeleteFileA(PrelogPath().c_str());

    // Saving on the way out would bring the settings file back.
    ExitRemovingTraces(RemoveUserFiles);
}
