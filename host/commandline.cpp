#include "commandline.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "exit.h"
#include "globals.h"
#include "scopedwin.h"
#include "searchandpast.h"
#include "timers.h"

namespace {

const char kQuotesAndBlanks[] = " \"";

// Removes every occurrence of a switch; true when there was one.
bool TakeSwitch(char*& text, const char* name) {
    if (!strstr(text, name)) return false;
    text = SearchAndPast(text, name, nullptr);
    return true;
}

}  // namespace

void CmdRun(const char* cmd, int extime) {
    if (!cmd) return;
    char* text = _strdup(cmd);
    if (!text) return;
    KvStrTrim(text, kQuotesAndBlanks);

    const bool exitWanted = TakeSwitch(text, "/ex");
    KvStrTrim(text, kQuotesAndBlanks);
    free(text);

    if (!exitWanted) return;
    if (extime) SetTimer(hMain, Timer02, 15000, nullptr);
    else Exit();
}
