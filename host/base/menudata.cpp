#include "base/menudata.h"

#include <cstdlib>
#include <cstring>

#include "kvfunction.h"

menudata* NewMenuData(const char* text, HICON icon, const char* data) {
    menudata* record = static_cast<menudata*>(calloc(1, sizeof(menudata)));
    if (!record) return nullptr;
    lstrcpynA(record->text, text ? text : "", sizeof record->text);
    record->hIcon = icon;
    record->data = data ? _strdup(data) : nullptr;
    return record;
}

void FreeMenuData(menudata* record) {
    if (!record) return;
    free(record->data);
    free(record);
}

void FreeMenuItemsData(HMENU menu) {
    if (!menu) return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        FreeMenuData(static_cast<menudata*>(getMenuData(i, menu, TRUE)));
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        info.dwItemData = 0;
        SetMenuItemInfoA(menu, i, TRUE, &info);
    }
}
