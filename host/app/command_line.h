// Command lines: from a second instance, the settings panel's box, the start
// command and the program's own start.
#pragma once

#include <string>

// Runs a command line. extime is 1 only for the stored start command, whose
// "/ex" exits after 15 seconds instead of at once.
void CmdRun(const char* cmd, int extime);

// The command-line help (the program's HELPFILE resource) written to cmd.txt
// beside the program; its path, or "" when it could not be written.
std::string WriteHelpFile();
// Writes the help and opens it in Notepad.
void ShowCommandLineHelp();
