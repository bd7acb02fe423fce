#include "desktop/autostart.h"

#include <windows.h>

#include <string>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "wow64.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

void ApplyAutostart(bool on) {
    ScopedRegKey run;
    // The system reads the value in its own view, whichever kind we are.
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE | NativeRegistryView(), nullptr,
                        run.receive(), nullptr) == ERROR_SUCCESS) {
        if (on) {
            // Quoted: unquoted, a path with blanks is looked up piece by
            // piece at logon ("C:\Program.exe" first).
            char program[MAX_PATH];
            const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
            const std::string command = "\"" + std::string(program, length) + "\"";
            RegSetValueExA(run.get(), "Dravonel", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>(command.size() + 1));
        } else {
            RegDeleteValueA(run.get(), "Dravonel");
        }
    }
    CheckMainMenuItem(IDPAUTOST, on);
    KeyTipUnCheckedSet(hBoth, 10300, "KvAutoSt");
}

void LoadAutostartSetting() {
    HeapString file(SetUsetExtenPath(".set"));
    CheckDlgButton(hBoth, 10300, GetKeyYes(file.get(), "set", "KvAutoSt") ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(10300, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hBoth, 10300)));
}
