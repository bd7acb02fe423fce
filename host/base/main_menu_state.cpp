#include "base/main_menu_state.h"

HMENU hMainMenu;

void CheckMainMenuItem(int ID, int Check) {
    if (hMainMenu) CheckMenuItem(hMainMenu, static_cast<UINT>(ID), MF_BYCOMMAND | (Check ? MF_CHECKED : MF_UNCHECKED));
}

void DisabledMenuItem(int ID, int Ch) {
    if (hMainMenu) EnableMenuItem(hMainMenu, static_cast<UINT>(ID), MF_BYCOMMAND | (Ch ? MF_GRAYED : MF_ENABLED));
}
