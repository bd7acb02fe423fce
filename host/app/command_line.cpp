#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "app/command_text.h"
#include "app/exit.h"
#include "base/globals.h"
#include "base/timer_ids.h"
#include "engine/change_cycle.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/image_binding.h"
#include "engine/list_file.h"
#include "engine/wall_lists.h"
#include "network/update_check.h"
#include "plugins/plugin_commands.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "system_programs.h"

namespace {

void SetAsWallpaper(const char* name) {
    positionType = -1;
    if (!*name) return;
    SIZE size = {};
    CreateWallPaper(tLoadPicture(&size, name), &size);
    SetValueKeySet("WallRet", name);
}

void AddToOpenList(const char* name) {
    if (lastlist.empty()) {
        MessageBoxA(hMain, Priv(3, "STRING", ini), name, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!chdir_access(name)) {
        addkvfile(name);
    } else {
        SearchF();
        currentDir = name;
        SetValueKeySet("KvFolder", name);
    }
    AddFiles();
}

}  // namespace

void CmdRun(const char* cmd, int extime) {
    if (!cmd) return;
    HostSwitches switches;
    const std::string rest = TakeHostSwitches(cmd, &switches);
    if (switches.next) NextWall(1);
    if (switches.previous) PreviousWall();
    if (switches.update) ToWall(1);
    if (switches.help) SendMessageA(hMain, WM_COMMAND, IDCMDHELP, 0);
    if (switches.checkUpdate) CheckUpdate(hMain);

    // Plug-ins take their own switches out (the informer's, for example).
    char* text = _strdup(rest.c_str());
    if (text) text = PluginsCmdRun(text);
    const CommandName command = SplitCommandName(text ? text : rest.c_str());
    free(text);
    if (command.setWallpaper) SetAsWallpaper(command.name.c_str());
    else if (!command.name.empty()) AddToOpenList(command.name.c_str());

    if (!switches.exit) return;
    if (extime) SetTimer(hMain, Timer02, 15000, nullptr);
    else Exit();
}

std::string WriteHelpFile() {
    HRSRC resource = FindResourceA(hInS, "HELPFILE", reinterpret_cast<LPCSTR>(RT_RCDATA));
    HGLOBAL loaded = resource ? LoadResource(hInS, resource) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return std::string();
    HeapString path(CreatePathFile(nullptr, "cmd", ".txt"));
    if (!path || !ReplaceFileText(path.get(), std::string(bytes, SizeofResource(hInS, resource)))) return std::string();
    return path.get();
}

void ShowCommandLineHelp() {
    const std::string path = WriteHelpFile();
    if (path.empty()) return;
    std::string argument = "\"" + path + "\"";
    ShellExecuteA(hMain, "open", SystemProgramPath("notepad.exe").c_str(), argument.c_str(), nullptr, SW_RESTORE);
}
