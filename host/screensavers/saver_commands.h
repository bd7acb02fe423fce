// Commands around the screen saver: starting it, turning the monitor off,
// the system's and the savers' own settings dialogs, and what the general
// page's saver options and buttons do.
#pragma once

#include <string>

// Starts the screen saver now, also while it is switched off.
void RunScr();
// Locks the workstation first when the general page asks for it (10311),
// then turns the monitor off.
void RunMonitorPower();
// Main-menu item 8: the system's screen-saver settings.
void OpenSystemSaverSettings();
// Main-menu item 9: the selected saver's own settings ("/c").
void ConfigureScreenSaver();
// Button 10315: the chooser's settings dialog, owned by the main window.
void StartChooserSettings();
// The general page's saver controls (10305, 10329, 10306, 10315, 10330),
// after the page has stored its option.
void OnSaverPageCommand(int control);

// The command that opens the system's screen-saver settings: with a saver
// selected while switched off, the dialog is opened on that saver.
std::string SystemSaverSettingsCommand(const char* selected, bool off);
// A command line: the program (quoted when it holds a blank), a blank, the
// arguments.
std::string CommandFor(const char* program, const char* arguments);
