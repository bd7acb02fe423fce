#include "screensavers/saver_commands.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "pages/page_general.h"
#include "screensavers/saver_menu.h"
#include "screensavers/saver_selection.h"
#include "createpathfile.h"
#include "resource.h"
#include "scopedwin.h"
#include "system_programs.h"
#include "wow64.h"

namespace {

// Started shown normally; nothing is waited for.
void StartCommand(const std::string& command, const char* folder) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::string line = command;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void StartScreenSaverNow() {
    // A desktop that does not answer must not hang the program.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

}  // namespace

std::string CommandFor(const char* program, const char* arguments) {
    std::string command = program ? program : "";
    if (command.find(' ') != std::string::npos) command = "\"" + command + "\"";
    if (arguments && *arguments) command += std::string(" ") + arguments;
    return command;
}

std::string SystemSaverSettingsCommand(const char* selected, bool off) {
    const std::string rundll32 = SystemProgramPath("rundll32.exe");
    if (selected && off) return CommandFor(rundll32.c_str(), (std::string("desk.cpl,InstallScreenSaver ") + selected).c_str());
    return CommandFor(rundll32.c_str(), "shell32.dll,Control_RunDLL desk.cpl,,1");
}

void RunScr() {
    if (!SaverOff()) {
        StartScreenSaverNow();
        return;
    }
    // Switched on for the moment it takes the system to start the saver.
    CheckDlgButton(hBoth, IDSCRAUTO, BST_UNCHECKED);
    lastSCR = -1;
    SetSCRNSAVE();
    StartScreenSaverNow();
    Sleep(1000);
    CheckDlgButton(hBoth, IDSCRAUTO, BST_CHECKED);
    lastSCR = -1;
    SetSCRNSAVE();
}

void RunMonitorPower() {
    if (GeneralOption(IDBLOCKADD) && pLockWorkStation) pLockWorkStation();
    Sleep(2000);
    SendMessageA(hHide, WM_SYSCOMMAND, SC_MONITORPOWER, 1);
}

void OpenSystemSaverSettings() { StartCommand(SystemSaverSettingsCommand(SCRNSAVE, SaverOff()), nullptr); }

void ConfigureScreenSaver() {
    if (SCRNSAVE) StartCommand(CommandFor(OpenablePath(SCRNSAVE).c_str(), "/c"), nullptr);
}

void StartChooserSettings() {
    HeapString chooser(CreatePathFile(nullptr, "KvScrSet", ".scr"));
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    if (!chooser || !folder) return;
    char arguments[32];
    snprintf(arguments, sizeof arguments, "/C %lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hMain)));
    StartCommand(CommandFor(chooser.get(), arguments), folder.get());
}

void OnSaverPageCommand(int control) {
    switch (control) {
        case IDSCRAUTO:
        case IDSCRRULE:
            lastSCR = -1;
            SetSCRNSAVE();
            break;
        case IDUPDATE:
            FindScreenSavers();
            lastSCR = -1;
            SetSCRNSAVE();
            // A selected saver whose file went is no longer in the menu.
            if (lastSCR < 1) DisabledMenuItem(IDPSETSCR, 1);
            break;
        case IDSCRSET:
            StartChooserSettings();
            break;
        case IDSCRLIST:
            TrackScreenSaverMenu();
            break;
        default:
            break;
    }
}
