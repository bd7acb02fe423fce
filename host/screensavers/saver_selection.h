// Which saver is selected, and keeping the system's setting in line with it:
// the chosen saver, the chooser KvScrSet.scr in its place (chooser mode), or
// none at all while the screen saver is switched off.
#pragma once

#include <string>

// Path of the selected saver (heap), or none.
extern char* SCRNSAVE;
// Id of the checked menu item; -1 makes the next selection apply even if
// the item is the same.
extern int lastSCR;
// Short path of "KvScrSet.scr" beside the program (heap), or none.
extern char* SCRSet;

// The chooser stands in for the selected saver (it exists and the general
// page's 10329 is on).
bool ChooserMode();
// The screen saver is switched off (general page 10305).
bool SaverOff();

// Looks for the chooser beside the program; without it the page's chooser
// option and its settings button go.
void FindScreenSaverChooser();

void SetSCR(int id);
void SetSCRNSAVE();
void SetSCRNSAVE_sel(const char* scrn);
// The two-second enforcement (timer 6).
void OnTimer06();

// The tray tip for a selected saver's name: "Dravonel(name)".
std::string SaverTrayTip(const char* name);
