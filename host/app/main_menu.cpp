#include "app/main_menu.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/exit.h"
#include "app/language.h"
#include "app/pause.h"
#include "app/settings_window.h"
#include "base/globals.h"
#include "base/menudata.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "hotkeys/menu_items.h"
#include "pages/page_general.h"
#include "pages/page_wall_cycle.h"
#include "plugins/plugin_commands.h"
#include "screensavers/saver_commands.h"
#include "screensavers/saver_menu.h"
#include "screensavers/saver_selection.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "screen_dpi.h"

HMENU hPostMenu;

namespace {

// Groups of the built-in items; separators stand between groups. The
// plug-ins' items come between groups 5 and 7, a group per plug-in.
const int kGroupOf[BUILTIN_MENU_ITEMS] = {1, 1, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 7, 7, 7};
const int kFirstPluginGroup = 100;

// Items that cannot act on this system or in this state stay greyed.
bool MenuItemAvailable(int id) {
    switch (id) {
        case IDPSETSCR:
            // Only a selected saver has settings of its own.
            return lastSCR > 0;
        case IDPBLOCK:
            return pLockWorkStation != nullptr;
        default:
            return true;
    }
}

HICON MenuIcon(int id) {
    return static_cast<HICON>(LoadImageA(hInS, MAKEINTRESOURCEA(300 + id), IMAGE_ICON, SmallIconSize(), SmallIconSize(),
                                         LR_SHARED));
}

bool IsMenuItemHidden(int id) {
    // Rows of the menu-items page decide; without a row nothing is hidden.
    HWND row = hRasshItem ? GetDlgItem(hRasshItem, id) : nullptr;
    return row && IsDlgButtonChecked(hRasshItem, id) == BST_CHECKED;
}

// An item is named by its row on the menu-items page (plug-in rows carry
// the plug-in's own text); without the row, by the language file.
std::string ItemName(int id) {
    char text[260] = "";
    if (hRasshItem && GetDlgItem(hRasshItem, id)) GetDlgItemTextA(hRasshItem, id, text, sizeof text);
    return text[0] ? text : Priv(id, "MAINMENU", ini);
}

bool ItemChecked(int id) {
    switch (id) {
        case IDPAUTOST:
            return GeneralOption(10300);
        case IDPHIDEICON:
            return GeneralOption(10331);
        case IDPCALEN:
            return IsDlgButtonChecked(hCalen, 10700) == BST_CHECKED;
        case IDPCHECKOFF:
            return checkOff != 0;
        default:
            return false;
    }
}

HMENU SubmenuOf(int id) {
    switch (id) {
        case IDPLANG:
            return hLanguageMenu;
        case IDPFILELIST:
            return hFileListMenu;
        case IDPPERIOD:
            return hPeriodMenu;
        case IDPSELSCR:
            return hSCRMenu;
        default:
            return nullptr;
    }
}

void ToggleGeneralOption(int control) {
    CheckDlgButton(hBoth, control, GeneralOption(control) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hBoth, control)));
}

}  // namespace

void PlaceSeparators(const int* group, int count, bool* separatorBefore) {
    int lastGroup = -1;
    for (int i = 0; i < count; ++i) {
        separatorBefore[i] = false;
        if (group[i] < 0) continue;
        if (lastGroup >= 0 && group[i] != lastGroup) separatorBefore[i] = true;
        lastGroup = group[i];
    }
}

int MenuItemCreate(int IDMENUitem, int Checkitem) {
    const int position = MainMenuPosition(IDMENUitem);
    if (IsMenuItemHidden(IDMENUitem)) {
        // Removed, not deleted: a submenu it opens belongs to someone else.
        if (position >= 0) RemoveMenu(hMainMenu, static_cast<UINT>(position), MF_BYPOSITION);
        return 0;
    }
    if (Checkitem) CheckMainMenuItem(IDMENUitem, 1);
    return 1;
}

void CreateMainMenu() {
    if (!hMainMenu) {
        hMainMenu = CreatePopupMenu();
    } else {
        FreeMenuItemsData(hMainMenu);
        // Submenus are owned elsewhere: detach them before deleting.
        while (GetMenuItemCount(hMainMenu) > 0) RemoveMenu(hMainMenu, 0, MF_BYPOSITION);
    }

    // Menu order: groups 1 to 5, the plug-ins' items, group 7. Each plug-in
    // is a group of its own, so separators stand between two plug-ins' items.
    std::vector<int> order, group;
    for (int id = 0; id < IDPLANG; ++id) order.push_back(id);
    for (int id = BUILTIN_MENU_ITEMS; id < countRasshItem; ++id) order.push_back(id);
    for (int id = IDPLANG; id < BUILTIN_MENU_ITEMS; ++id) order.push_back(id);

    std::vector<DravonexFunction> owners;  // the plug-ins in the order their items came

    for (int id : order) {
        const bool plugin = id >= BUILTIN_MENU_ITEMS;
        menudata* record = NewMenuData(ItemName(id).c_str(), plugin ? nullptr : MenuIcon(id), nullptr);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA | MIIM_STATE | MIIM_SUBMENU;
        item.fType = MFT_OWNERDRAW;
        item.wID = static_cast<UINT>(id);
        item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        item.fState = MenuItemAvailable(id) ? MFS_ENABLED : MFS_GRAYED;
        item.hSubMenu = MenuItemAvailable(id) ? SubmenuOf(id) : nullptr;
        InsertMenuItemA(hMainMenu, static_cast<UINT>(GetMenuItemCount(hMainMenu)), TRUE, &item);
        if (!MenuItemCreate(id, ItemChecked(id))) {
            FreeMenuData(record);
            group.push_back(-1);
        } else if (!plugin) {
            group.push_back(kGroupOf[id]);
        } else {
            const DravonexFunction owner = MenuItemOwner(id);
            size_t index = 0;
            while (index < owners.size() && owners[index] != owner) ++index;
            if (index == owners.size()) owners.push_back(owner);
            group.push_back(kFirstPluginGroup + static_cast<int>(index));
        }
    }

    std::unique_ptr<bool[]> flags(new bool[order.size()]);
    PlaceSeparators(group.data(), static_cast<int>(order.size()), flags.get());
    for (size_t i = order.size(); i-- > 0;) {
        if (!flags[i]) continue;
        int position = MainMenuPosition(order[i]);
        if (position >= 0) InsertMenuA(hMainMenu, static_cast<UINT>(position), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    }

    // The plug-ins see their items once the menu stands: first to set
    // caption and icon, then, complete, to attach submenus of their own.
    for (int id = BUILTIN_MENU_ITEMS; id < countRasshItem; ++id)
        if (MainMenuPosition(id) >= 0) PluginMenuItemShown(hMainMenu, id);
    for (int id = BUILTIN_MENU_ITEMS; id < countRasshItem; ++id) {
        const int position = MainMenuPosition(id);
        if (position >= 0) PluginMenuItemPlaced(hMainMenu, id, position);
    }
}

void TrackMainMenu(HMENU menu) {
    if (!menu || !IsMenu(menu) || GetMenuItemCount(menu) <= 0) return;
    POINT pointer;
    GetCursorPos(&pointer);
    SetForegroundWindow(hHide);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, hHide, nullptr);
    PostMessageA(hHide, WM_NULL, 0, 0);
}

void ProcMainMenu(int id) {
    if (id < BUILTIN_MENU_ITEMS && !MenuItemAvailable(id)) return;
    switch (id) {
        case IDPAUTOST:
            ToggleGeneralOption(10300);
            break;
        case IDPSETTINGS:
            ShowSettings(nullptr);
            break;
        case IDPPREVIOUS:
            PreviousWall();
            break;
        case IDPNEXT:
            NextWall(1);
            break;
        case IDPCALEN:
            CheckDlgButton(hCalen, 10700, IsDlgButtonChecked(hCalen, 10700) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
            SendMessageA(hCalen, WM_COMMAND, MAKEWPARAM(10700, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hCalen, 10700)));
            ToWall(1);
            break;
        case IDPHIDEICON:
            ToggleGeneralOption(10331);
            break;
        case IDPDESK:
            OpenSystemSaverSettings();
            break;
        case IDPSETSCR:
            ConfigureScreenSaver();
            break;
        case IDPRUNSCR:
            RunScr();
            break;
        case IDPBLOCK:
            if (pLockWorkStation) pLockWorkStation();
            break;
        case IDPSLEEP:
            RunMonitorPower();
            break;
        case IDPCHECKOFF:
            RunCheckOff();
            break;
        case IDPABOUT:
            ShowAbout();
            break;
        case IDPEXIT:
            Exit();
            break;
        default:
            if (id >= BUILTIN_MENU_ITEMS) RunPluginMenuItem(hMainMenu, id);
            break;
    }
}
