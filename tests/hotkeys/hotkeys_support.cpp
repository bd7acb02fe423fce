#include "hotkeys_support.h"

#include <gtest/gtest.h>

#include "app/language.h"
#include "app/main_menu.h"
#include "app/startup.h"
#include "base/globals.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

FakeSystem fake;

namespace {

BOOL WINAPI FakeRegister(HWND, int id, UINT modifiers, UINT key) {
    for (const auto& held : fake.registered)
        if (held.second == std::make_pair(modifiers, key)) return FALSE;
    fake.registered[id] = {modifiers, key};
    return TRUE;
}

BOOL WINAPI FakeUnregister(HWND, int id) { return fake.registered.erase(id) ? TRUE : FALSE; }

int WINAPI FakeWarning(HWND, LPCSTR text, LPCSTR caption, UINT) {
    fake.warnings.push_back(std::string(caption) + "|" + text);
    return IDOK;
}

SHORT WINAPI FakeKeyState(int key) { return fake.down.count(key) ? static_cast<SHORT>(0x8000) : 0; }

INT_PTR WINAPI FakePlugin(HWND, int command, INT_PTR, INT_PTR data) {
    fake.pluginCalls.push_back({command, data});
    return 0;
}

class HostPages : public ::testing::Environment {
public:
    void SetUp() override {
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        ConnectWallpaperEvents();
        ConnectPageHooks();
        SetRegisterHotKeyFunction(FakeRegister);
        SetUnregisterHotKeyFunction(FakeUnregister);
        SetHotKeyWarningFunction(FakeWarning);
        SetKeyStateFunction(FakeKeyState);

        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        CreateDirectoryA(ProgramFolderFile("Users").c_str(), nullptr);
        DeleteFileA(SettingsPath().c_str());
        DeleteFileA(ProgramFolderFile("Dravonel.ini").c_str());
        Language();

        HeapString file(SetUsetExtenPath(".set"));
        CreateBuiltInHotKeys(file.get());
        // Plug-in rows follow the host's own, as the plug-in host adds them.
        for (int row : {kPluginRow, kSecondPluginRow}) {
            const std::string n = std::to_string(row);
            CreateHotKeysSettings(file.get(), ("Plug-in key " + n).c_str(), ("PlugWin" + n).c_str(),
                                  ("PlugKey" + n).c_str(), FakePlugin);
            ++countHotKey;
        }
        LoadHotKeySettings(file.get());  // the rows exist: their range and KvKeyReg
        LoadMenuItemsSettings(file.get());
        CreateMainMenu();
    }
    void TearDown() override { DeleteFileA(ProgramFolderFile("Dravonel.ini").c_str()); }
};

::testing::Environment* const pages = ::testing::AddGlobalTestEnvironment(new HostPages);

}  // namespace

std::string TestFolder() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    std::string path = folder.get();
    return path.substr(0, path.size() - 1);
}

std::string ProgramFolderFile(const std::string& name) { return TestFolder() + "\\" + name; }

std::string SettingsPath() {
    HeapString file(SetUsetExtenPath(".set"));
    return file.get();
}
