// The notification-area icon: its four states, its tip, and showing it only
// while the pointer is over the taskbar (timer 7).
#pragma once

#include <windows.h>
#include <shellapi.h>

extern NOTIFYICONDATAA Nid;
extern HICON hMainIcon, hCheckOffIcon, hMainsIcon, hCheckOffsIcon;

// Loads the four 16 x 16 tray icons and fills Nid (owner hMain, id 212,
// callback 0x207, tip "Dravonel").
void PrepareTrayIcon();
BOOL AddTrayIcon();
// The shell's broadcast that it made its taskbar anew (Explorer restarted):
// every icon it showed is gone. Registered on first use, and let through to
// a program that runs with more rights than the shell.
UINT TaskbarCreatedMessage();
BOOL DeleteTrayIcon();
BOOL ModifyTrayIcon();
// Sets the tip; longer texts are cut to the field's 127 characters.
void SetTrayTip(const char* tip);

// Icon for the state: saver switched off (general page 10305) and paused.
HICON ChooseTrayIcon(bool saverOff, bool paused);
// Shows that icon in the tray and in the general page's control 10352.
void TypeTrayIcon();

// Period of timer 7 for a KvTrayUp value: seconds, at least one.
UINT TrayUpPeriod(int seconds);
// (Re)starts timer 7 from the general page's seconds field.
void StartTrayUpTimer();
void OnTimer07();
// True when the pointer is over the taskbar.
bool IfShell_TrayWnd();
