#include "plugins/plugin_list.h"

#include <commctrl.h>

#include <cstdlib>

#include "base/globals.h"
#include "base/skipped_modules.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "procaddress.h"
#include "resource.h"

plg* pluginLIST;

namespace {

const int kPluginsRootText = 6;  // section "MAIN"

// The tree items made so far, so that a rebuilt tree gets them back.
struct PageItem {
    std::string name;
    HWND page;
};
std::vector<PageItem> pageItems;
bool pluginsLoaded;

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text, HWND page) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text ? text : "");
    insert.item.lParam = reinterpret_cast<LPARAM>(page);
    return TreeView_InsertItem(tree, &insert);
}

// One module: loaded, checked for the entry, asked for its page and name.
void LoadPlugin(const std::string& path, HWND tree, HTREEITEM root) {
    if (!ModuleOfOwnKind(path)) return;
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) return;
    DravonexFunction entry = GetProcAddressAs<DravonexFunction>(module, KV_PLUGIN_ENTRY);
    if (!entry) {
        FreeLibrary(module);
        return;
    }
    const INT_PTR language = reinterpret_cast<INT_PTR>(ini);
    HWND page = reinterpret_cast<HWND>(entry(hContent, KvCREATE, 0, language));
    if (page) {
        char* name = reinterpret_cast<char*>(entry(hContent, KvGETDESCRIPTION, 0, language));
        pageItems.push_back({name ? name : "", page});
        AddTreeItem(tree, root, pageItems.back().name.c_str(), page);
        free(name);
        // Pages show only while their item is selected.
        if (IsWindow(page) && IsChild(hContent, page)) ShowWindow(page, SW_HIDE);
    }
    plg* record = static_cast<plg*>(calloc(1, sizeof(plg)));
    if (!record) return;  // loaded but unreachable: it stays until the process ends
    record->hPlaginDll = module;
    record->pDravonex = entry;
    record->H = page;
    record->p = pluginLIST;
    pluginLIST = record;
}

struct ModuleWindows {
    HMODULE module;
    std::vector<HWND> found;
};

bool MadeBy(HWND window, HMODULE module) {
    return reinterpret_cast<HMODULE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) == module;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    ModuleWindows* windows = reinterpret_cast<ModuleWindows*>(data);
    if (MadeBy(window, windows->module)) windows->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
    CollectChild(window, data);
    EnumChildWindows(window, CollectChild, data);
    return TRUE;
}

// The module's windows on this thread (its page, its desktop windows, and
// controls it put on the host's windows): their procedures live in it.
void DestroyWindowsOf(HMODULE module) {
    ModuleWindows windows = {module, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows.found)
        if (IsWindow(window)) DestroyWindow(window);
}

const char kPluginsSection[] = "PLUGINS";

std::string PluginsText(int number, const char* english) {
    char text[400];
    GetPrivateProfileStringA(kPluginsSection, std::to_string(number).c_str(), english, text, sizeof text, ini);
    return text;
}

std::string KindText(ModuleKind kind) {
    switch (kind) {
        case ModuleKind::X86:
            return PluginsText(2, "32-bit Windows");
        case ModuleKind::X64:
            return PluginsText(3, "64-bit Windows (x64)");
        default:
            return PluginsText(4, "another processor");
    }
}

// The picture loaders were bound before the plug-ins load, so every skipped
// module is known by then.
void ShowSkippedModules() {
    const std::string text = SkippedModulesText();
    SetDlgItemTextA(hPlugins, IDSKIPPEDLABEL, PluginsText(0, "Modules that were not loaded").c_str());
    SetDlgItemTextA(hPlugins, IDSKIPPEDMODULES, text.c_str());
    for (int id : {IDSKIPPEDLABEL, IDSKIPPEDMODULES})
        ShowWindow(GetDlgItem(hPlugins, id), text.empty() ? SW_HIDE : SW_SHOWNA);
}

}  // namespace

std::string SkippedModulesText() {
    const std::string format = PluginsText(1, "%s was not loaded: it is a module for %s, and this Dravonel is for %s.");
    std::string text;
    for (const SkippedModule& module : SkippedModules()) {
        if (!text.empty()) text += "\r\n";
        text += SkippedModuleLine(format, module.path, KindText(module.kind), KindText(OwnModuleKind()));
    }
    return text;
}

std::vector<std::string> PluginFilesToLoad(const std::string& folder) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return paths;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_OFFLINE) continue;
        paths.insert(paths.begin(), folder + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return paths;
}

void loadPlugins() {
    HWND tree = GetDlgItem(hMain, IDTREEVIEW);
    HTREEITEM root = AddTreeItem(tree, TVI_ROOT, Priv(kPluginsRootText, "MAIN", ini), hPlugins);
    if (pluginsLoaded) {
        for (const PageItem& item : pageItems) AddTreeItem(tree, root, item.name.c_str(), item.page);
    } else {
        pluginsLoaded = true;
        char* folder = CreatePathFile("Plugins", nullptr, nullptr);
        if (folder && chdir_access(folder)) {
            // A module that cannot load is skipped without the system's
            // message box about it.
            const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
            for (const std::string& path : PluginFilesToLoad(folder)) LoadPlugin(path, tree, root);
            SetErrorMode(errorMode);
        }
        free(folder);
    }
    TreeView_Expand(tree, root, TVE_EXPAND);
    ShowSkippedModules();
}

INT_PTR CALLBACK PluginsFunc(HWND, UINT, WPARAM, LPARAM) { return 0; }

void UnloadPlugins() {
    while (plg* record = pluginLIST) {
        pluginLIST = record->p;
        if (record->hPlaginDll) {
            DestroyWindowsOf(record->hPlaginDll);
            FreeLibrary(record->hPlaginDll);
        }
        free(record);
    }
    pageItems.clear();
}
