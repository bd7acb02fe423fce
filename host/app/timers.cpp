#include "app/timers.h"

#include <commctrl.h>

#include <cstdlib>

#include "base/globals.h"
#include "desktop/shell_care.h"
#include "desktop/tray_icon.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "pages/page_general.h"
#include "plugins/plugin_commands.h"
#include "kvfunction.h"
#include "kvinifunction.h"

void OnTimer04() {
    // A plug-in may want the desktop left alone this tick (a joke running).
    if (PluginsRefuse(KvSTOPICONRULE)) return;
    IconViewCare care = {};
    care.hideIcons = GeneralOption(10331);
    care.forceCaptionColour = GeneralOption(10319);
    care.captionColour = GeneralCaptionColour();
    care.transparentCaption = GeneralOption(10317);
    CareForIconView(GetDesktopIconView(), care);
}

void TaskbarCare() {
    if (GeneralOption(10322) && pSetLayeredWindowAttributes && FindWindowA("Shell_TrayWnd", nullptr))
        ApplyTaskbarTransparency(TaskbarOpacity(GeneralTaskbarPercent(), GeneralOption(10323), IfShell_TrayWnd()));
}

DayChange NextDay(int current, int dayOfMonth) {
    if (current == 0) return {true, false, dayOfMonth};
    if (current != dayOfMonth) return {true, true, dayOfMonth};
    return {false, false, current};
}

void RetrySaves(bool now) {
    static DWORD lastTry;
    if (!now && GetTickCount() - lastTry < 5000) return;
    lastTry = GetTickCount();
    RetrySettingsWrites();
    SavePendingWallList();
}

void OnTimer08() {
    GetLocalTime(&loctime);
    RetrySaves(false);

    // The shell forgets the icon when it restarts; put it back.
    if (!GeneralOption(10301) && !ModifyTrayIcon()) {
        DeleteTrayIcon();
        AddTrayIcon();
    }

    TaskbarCare();

    DayChange day = NextDay(currentDay, loctime.wDay);
    if (!day.changed) return;
    currentDay = day.day;
    if (day.store) SetValueKeySetInt("KvLastDay", currentDay);
    // A new day: redraw the calendar on the same picture, or show the next.
    if (IsDlgButtonChecked(hCalen, 10700) == BST_CHECKED) {
        switch (SendDlgItemMessageA(hCalen, 10768, CB_GETCURSEL, 0, 0)) {
            case 1:
                ToWall(1);
                break;
            case 2:
                NextWall(1);
                break;
            default:
                break;
        }
    }
    PluginsNewDay();
}

bool CheckInterval(int value, int low, int high, bool bounded) {
    return bounded ? (value >= low && value < high) : value >= low;
}
