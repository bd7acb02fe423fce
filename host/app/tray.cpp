#include "app/tray.h"

#include "app/main_menu.h"
#include "app/settings_window.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "pages/page_lists.h"

void MouseEvent(LPARAM mouseMessage) {
    // Modifiers as they are at the time of the click.
    const bool ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
    const bool shift = GetAsyncKeyState(VK_SHIFT) < 0;
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            if (ctrl) NextWall(1);
            else if (shift) PreviousWall();
            break;
        case WM_LBUTTONDBLCLK:
            ShowSettings(nullptr);
            break;
        case WM_RBUTTONDOWN:
            if (ctrl) TrackPopupPlaceMent(GetCurrentRow());
            else TrackMainMenu(hMainMenu);
            break;
        default:
            break;
    }
}
