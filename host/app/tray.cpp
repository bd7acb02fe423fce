#include "app/tray.h"

#include "app/main_menu.h"
#include "app/settings_window.h"
#include "base/globals.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "pages/page_general.h"
#include "pages/page_lists.h"
#include "resource.h"

namespace {

// Through the page, so that the switch is stored and takes effect as if
// clicked there.
void ToggleSaverOff() {
    CheckDlgButton(hBoth, IDSCRAUTO, GeneralOption(IDSCRAUTO) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(IDSCRAUTO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hBoth, IDSCRAUTO)));
}

}  // namespace

void MouseEvent(LPARAM mouseMessage) {
    // Modifiers as they are at the time of the click.
    const bool ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
    const bool shift = GetAsyncKeyState(VK_SHIFT) < 0;
    const bool alt = GetAsyncKeyState(VK_MENU) < 0;
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            if (ctrl) NextWall(1);
            else if (shift) PreviousWall();
            else if (alt) ToggleSaverOff();
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
