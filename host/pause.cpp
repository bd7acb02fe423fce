#include "pause.h"

#include <windows.h>

#include "globals.h"
#include "kvinifunction.h"
#include "mainmenu.h"
#include "page_general.h"
#include "timers.h"
#include "tray.h"

unsigned currentTimer;

void RunCheckOff() {
    const bool entering = checkOff == 0;
    CheckMainMenuItem(IDPCHECKOFF, entering);
    if (entering) {
        if (GeneralOption(10312)) KillTimer(hMain, Timer03);
        if (GeneralOption(10313)) KillTimer(hMain, Timer04);
        checkOff = 1;
        SetValueKeySet("KvCheckOff", "1");
    } else {
        if (GeneralOption(10312) && currentTimer) SetTimer(hMain, Timer03, currentTimer, nullptr);
        if (GeneralOption(10313)) SetTimer(hMain, Timer04, 2000, nullptr);
        checkOff = 0;
        SetValueKeySet("KvCheckOff", nullptr);
    }
    TypeTrayIcon();
}
