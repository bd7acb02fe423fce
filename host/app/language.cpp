#include "app/language.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "app/exit.h"
#include "app/settings_window.h"
#include "base/globals.h"
#include "base/menudata.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "pages/page_calendar.h"
#include "pages/page_lists.h"
#include "pages/page_texts.h"
#include "pages/page_wall.h"
#include "plugins/plugin_list.h"
#include "createpathfile.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

HMENU hLanguageMenu;

namespace {

const char kDefaultLanguage[] = "rus.ini";

std::string StoredLanguageName() {
    HeapString file(SetUsetExtenPath(".set"));
    HeapString name(GetKey(file.get(), "set", "ini", kDefaultLanguage));
    return name ? name.get() : kDefaultLanguage;
}

}  // namespace

void CreateLanguageMenu() {
    if (hLanguageMenu) {
        FreeMenuItemsData(hLanguageMenu);
        DestroyMenu(hLanguageMenu);
    }
    hLanguageMenu = CreatePopupMenu();

    const std::string stored = StoredLanguageName();
    HeapString path(CreatePathFile("Language", stored.c_str(), nullptr));
    lstrcpynA(ini, path ? path.get() : "", sizeof ini);

    HeapString folder(CreatePathFile("Language", nullptr, nullptr));
    if (!folder || !chdir_access(folder.get())) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.ini", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    UINT id = 0;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_DIRECTORY)) continue;
        HeapString file(CreatePathFile("Language", found.cFileName, nullptr));
        char display[80];
        GetPrivateProfileStringA("AUTHOR", "language", found.cFileName, display, sizeof display, file.get());
        menudata* record = NewMenuData(display, nullptr, found.cFileName);
        UINT flags = MF_STRING | (lstrcmpiA(found.cFileName, stored.c_str()) == 0 ? MF_CHECKED : MF_UNCHECKED);
        AppendMenuA(hLanguageMenu, flags, id, display);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA;
        item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        SetMenuItemInfoA(hLanguageMenu, id, FALSE, &item);
        ++id;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void Language() {
    SetDlgItemTextA(hContent, IDMENUSHOW, Priv(IDMENUSHOW, "MAIN", ini));
    SetControlTexts(hBoth, "BOTH", 10300, 10331);
    FillComboFromLanguage(hBoth, IDPRIORITY, "BOTH", 0, 5);
    ApplyWallPageTexts();
    ApplyListsPageTexts();
    ApplyCalendarPageTexts();
    ApplyHotKeyPageTexts();
    ApplyMenuItemsPageTexts();
    BuildPageTree();
    loadPlugins();
}

void ProcLanguageMenu(int id) {
    UINT state = GetMenuState(hLanguageMenu, static_cast<UINT>(id), MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1) || (state & MF_CHECKED)) return;
    const menudata* record = static_cast<const menudata*>(getMenuData(static_cast<UINT>(id), hLanguageMenu, FALSE));
    if (!record || !record->data) return;
    // Asked before anything changes: a plug-in that keeps the program
    // running must not leave it beside a new instance, titled "Exit" and
    // without its hot keys.
    if (!PluginsAgreeToExit()) return;
    SetValueKeySet("ini", record->data);

    // The new instance must not hand its (empty) command line to this one.
    SetWindowTextA(hMain, "Exit");
    UnRegisterKey();
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    ShellExecuteA(nullptr, "open", program, nullptr, nullptr, SW_RESTORE);
    ExitAgreed();
}
