#include "app/command_text.h"

#include <cstdlib>
#include <cstring>

#include "searchandpast.h"

namespace {

const char kQuotesAndBlanks[] = " \"";

// Removes every occurrence of a switch; true when there was one.
bool TakeSwitch(char*& text, const char* name) {
    if (!text || !strstr(text, name)) return false;
    text = SearchAndPast(text, name, nullptr);
    return true;
}

}  // namespace

std::string TakeHostSwitches(const char* cmd, HostSwitches* found) {
    HostSwitches switches;
    char* text = cmd ? _strdup(cmd) : nullptr;
    KvStrTrim(text, kQuotesAndBlanks);
    switches.exit = TakeSwitch(text, "/ex");
    switches.next = TakeSwitch(text, "/nx");
    switches.previous = TakeSwitch(text, "/pr");
    switches.update = TakeSwitch(text, "/uw");
    switches.help = TakeSwitch(text, "/hp");
    switches.checkUpdate = TakeSwitch(text, "/cu");
    if (found) *found = switches;
    std::string rest = text ? text : "";
    free(text);
    return rest;
}

CommandName SplitCommandName(const std::string& rest) {
    CommandName command;
    char* text = _strdup(rest.c_str());
    if (!text) return command;
    KvStrTrim(text, kQuotesAndBlanks);
    if (char* setWallpaper = strstr(text, "/tw")) {
        *setWallpaper = '\0';
        KvStrTrim(text, kQuotesAndBlanks);
        command.setWallpaper = true;
    }
    command.name = text;
    free(text);
    return command;
}
