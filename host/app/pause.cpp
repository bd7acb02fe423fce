#include "app/pause.h"

#include <windows.h>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "base/timer_ids.h"
#include "desktop/tray_icon.h"
#include "engine/change_cycle.h"
#include "pages/page_general.h"
#include "kvinifunction.h"

void RunCheckOff() {
    const bool entering = checkOff == 0;
    CheckMainMenuItem(IDPCHECKOFF, entering);
    if (entering) {
        if (GeneralOption(10312)) {
            HoldTimedChanges(true);
            KillTimer(hMain, Timer03);
        }
        if (GeneralOption(10313)) KillTimer(hMain, Timer04);
        if (GeneralOption(10314)) KillTimer(hMain, Timer06);
        checkOff = 1;
        SetValueKeySet("KvCheckOff", "1");
    } else {
        // Whatever the option says now: a period the pause stopped runs again.
        if (TimedChangesHeld()) {
            HoldTimedChanges(false);
            StartChangeTimer();
        }
        if (GeneralOption(10313)) SetTimer(hMain, Timer04, 2000, nullptr);
        if (GeneralOption(10314)) SetTimer(hMain, Timer06, 2000, nullptr);
        checkOff = 0;
        SetValueKeySet("KvCheckOff", nullptr);
    }
    TypeTrayIcon();
}
