#include "base/main_menu_state.h"

HMENU hMainMenu;

int MainMenuPosition(int ID) {
    if (!hMainMenu) return -1;
    const int count = GetMenuItemCount(hMainMenu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE;
        if (GetMenuItemInfoA(hMainMenu, static_cast<UINT>(i), TRUE, &item) && !(item.fType & MFT_SEPARATOR) &&
            static_cast<int>(item.wID) == ID)
            return i;
    }
    return -1;
}

void CheckMainMenuItem(int ID, int Check) {
    const int position = MainMenuPosition(ID);
    if (position >= 0)
        CheckMenuItem(hMainMenu, static_cast<UINT>(position), MF_BYPOSITION | (Check ? MF_CHECKED : MF_UNCHECKED));
}

void DisabledMenuItem(int ID, int Ch) {
    const int position = MainMenuPosition(ID);
    if (position >= 0)
        EnableMenuItem(hMainMenu, static_cast<UINT>(position), MF_BYPOSITION | (Ch ? MF_GRAYED : MF_ENABLED));
}
