// Command lines: from a second instance, the settings panel's box, the start
// command and the program's own start.
#pragma once

// Runs a command line. extime is 1 only for the stored start command, whose
// "/ex" exits after 15 seconds instead of at once.
void CmdRun(const char* cmd, int extime);
