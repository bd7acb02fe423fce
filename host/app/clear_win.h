// The about box's full clean-up: every trace the program left in the
// system and in its folder goes, then the program ends.
#pragma once

// Nothing happens when a plug-in refuses (KvAPPLICATIONCLEAR). Otherwise the
// desktop shortcut, the logon wallpaper, the settings and list files, the
// Run value and the desktop wallpaper value, the context-menu verbs and the
// composed wallpaper files are removed, and the program exits.
void ClearWin();
