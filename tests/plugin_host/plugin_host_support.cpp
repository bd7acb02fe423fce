#include "plugin_host_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/main_menu.h"
#include "app/settings_window.h"
#include "app/startup.h"
#include "base/globals.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "plugins/plugin_commands.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

std::vector<std::string> listOrder;
std::vector<std::string> startupCalls;

namespace {

size_t logRead = 0;

// Blocks the sample plug-ins hand over and every block this program frees,
// in order. A fixed array: recording must not allocate (or free) itself.
const LONG kMaxEvents = 200000;
HeapEvent events[kMaxEvents];
volatile LONG eventCount = 0;
bool freeWatched = false;
void(__cdecl* realFree)(void*) = nullptr;

void Record(bool handed, void* block, int command) {
    const LONG at = InterlockedIncrement(&eventCount) - 1;
    if (at < kMaxEvents) events[at] = {handed, block, command};
}

void __cdecl RecordingFree(void* block) {
    if (block) Record(false, block, 0);
    realFree(block);
}

// Points this program's import of msvcrt's free (the host's code is linked
// in) at RecordingFree.
bool WatchFree() {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const IMAGE_IMPORT_DESCRIPTOR* module =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), "msvcrt.dll") != 0) continue;
        const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (module->OriginalFirstThunk ? module->OriginalFirstThunk : module->FirstThunk));
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const IMAGE_IMPORT_BY_NAME* name =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(name->Name), "free") != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
            realFree = reinterpret_cast<void(__cdecl*)(void*)>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(RecordingFree);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
}

std::string Sample(const char* file) { return std::string(PLUGIN_SAMPLES) + "\\" + file; }

class PluginHost : public ::testing::Environment {
public:
    void SetUp() override {
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        ConnectWallpaperEvents();
        ConnectPageHooks();
        ConnectPluginHost();
        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        HeapString users(CreatePathFile("Users", nullptr, nullptr));
        CreateDirectoryA(users.get(), nullptr);
        HeapString settings(SetUsetExtenPath(".set"));
        DeleteFileA(settings.get());

        const std::string folder = PluginsFolder();
        RemoveFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const char* name : {"a", "b", "c"})
            ASSERT_TRUE(CopyFileA(Sample("sample_plugin.dll").c_str(), (folder + name + ".dll").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(Sample("no_entry.dll").c_str(), (folder + "noentry.dll").c_str(), FALSE));
        ASSERT_TRUE(WriteTextFile(folder + "junk.dll", "MZ but nothing a loader takes"));
        // a and b have pages, c none; b offers three hot keys of which the
        // second is none, a one menu item and b two (the second with a
        // submenu).
        Configure("a", "page", "show", "1");
        Configure("a", "page", "name", "Sample A");
        Configure("b", "page", "show", "1");
        Configure("b", "page", "name", "Sample B");
        Configure("b", "hotkeys", "count", "3");
        Configure("b", "hotkeys", "skip", "1");
        Configure("a", "menu", "count", "1");
        Configure("b", "menu", "count", "2");
        Configure("b", "menu", "submenu", "1");

        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        do {
            std::string name = found.cFileName;
            name = name.substr(0, name.size() - 4);
            if (name == "a" || name == "b" || name == "c") listOrder.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);

        freeWatched = WatchFree();
        // Start-up's share: the texts' tree, then the plug-ins, their
        // settings and rows, the main menu.
        BuildPageTree();
        loadPlugins();
        PluginsLoadSettings(settings.get());
        CreateBuiltInHotKeys(settings.get());
        AddPluginHotKeys(settings.get());
        LoadHotKeySettings(settings.get());
        CreateBuiltInMenuItems(settings.get());
        AddPluginMenuItems(settings.get());
        LoadMenuItemsSettings(settings.get());
        CreateMainMenu();
        startupCalls = NewCalls();
    }
};

::testing::Environment* const host = ::testing::AddGlobalTestEnvironment(new PluginHost);

}  // namespace

extern "C" __declspec(dllexport) void SampleHandedBlock(void* block, int command) { Record(true, block, command); }

bool FreeWatched() { return freeWatched; }

std::vector<HeapEvent> HeapEvents() {
    const LONG count = eventCount < kMaxEvents ? eventCount : kMaxEvents;
    return std::vector<HeapEvent>(events, events + count);
}

std::string PluginsFolder() {
    HeapString folder(CreatePathFile("Plugins", nullptr, nullptr));
    return folder.get();
}

void Configure(const std::string& name, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, (PluginsFolder() + name + ".ini").c_str());
}

plg* Plugin(const std::string& name) {
    HMODULE module = GetModuleHandleA((PluginsFolder() + name + ".dll").c_str());
    for (plg* plugin = pluginLIST; plugin; plugin = plugin->p)
        if (module && plugin->hPlaginDll == module) return plugin;
    return nullptr;
}

std::vector<std::string> NewCalls() {
    std::string text;
    ReadTextFile(PluginsFolder() + "calls.log", text);
    std::vector<std::string> lines;
    size_t begin = std::min(logRead, text.size());
    for (size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end - begin));
    logRead = begin;
    return lines;
}

std::vector<std::string> CallsOf(const std::vector<std::string>& lines, const std::string& name, int command) {
    const std::string prefix = name + " " + std::to_string(command);
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line == prefix || line.compare(0, prefix.size() + 1, prefix + " ") == 0) found.push_back(line);
    return found;
}
