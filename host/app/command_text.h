// A command line taken apart: the host's switches, and the name that is
// left. No window calls, so it is also built natively and fuzzed (command
// lines come from other programs, shortcuts and the user's typing).
#pragma once

#include <string>

struct HostSwitches {
    bool exit = false;         // "/ex"
    bool next = false;         // "/nx"
    bool previous = false;     // "/pr"
    bool update = false;       // "/uw"
    bool help = false;         // "/hp"
    bool checkUpdate = false;  // "/cu"
};

// Trims blanks and double quotes from both ends, then removes every
// occurrence of each switch, one switch after the other in the order above
// (a plain, case-sensitive search, also inside a name). Returns what is left.
std::string TakeHostSwitches(const char* cmd, HostSwitches* found);

struct CommandName {
    bool setWallpaper = false;  // "/tw": the name becomes the wallpaper
    std::string name;           // trimmed; may be empty
};
// The rest after every switch was taken: trimmed, and cut at "/tw".
CommandName SplitCommandName(const std::string& rest);
