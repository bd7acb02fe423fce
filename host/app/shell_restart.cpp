#include "app/shell_restart.h"

#include <windows.h>

#include "app/timers.h"
#include "base/globals.h"
#include "desktop/tray_icon.h"
#include "pages/page_general.h"
#include "resource.h"

void OnTaskbarCreated() {
    // The icon view is new: care as timer 4 does, unless the pause stopped it.
    if (!checkOff || !GeneralOption(IDNOICON)) OnTimer04();
    TaskbarCare();
    // The new shell knows no icons. With the icon shown only under the
    // pointer, timer 7 brings it when the pointer comes.
    if (!GeneralOption(10301) || IfShell_TrayWnd()) {
        if (!AddTrayIcon()) ModifyTrayIcon();
    }
}
