// Process-wide state of the host. Everything here is touched only by the one
// GUI thread, so nothing is locked.
#pragma once

#include <windows.h>

// Windows (modeless dialogs from the program's templates).
extern HINSTANCE hInS;
extern HWND hHide;       // hidden owner of every popup menu
extern HWND hMain;       // main window = settings window, titled "Dravonel"
extern HWND hContent;    // settings panel, right of the page tree
extern HWND hBoth;       // general page
extern HWND hWall;       // wallpaper page
extern HWND hFile;       // lists page
extern HWND hPicture;    // preview, child of the lists page
extern HWND hCalen;      // calendar page
extern HWND hKey;        // hot-key page
extern HWND hHotKey;     // hot-key list
extern HWND hRassh;      // menu-items page
extern HWND hRasshItem;  // menu-items list
extern HWND hPlugins;    // container of plug-in pages

// 0 while start-up loads the settings (loading must not write them back).
extern int startProgress;
// 1 while paused.
extern int checkOff;
// Day of the month last seen; stored as KvLastDay.
extern int currentDay;
// Local time, refreshed every second.
extern SYSTEMTIME loctime;
// Tree shown beside the pages.
extern int TreeShow;
// The language file; fixed for the run.
extern char ini[MAX_PATH];

// Functions of user32 that older systems lack; null there.
typedef BOOL(WINAPI* SetLayeredWindowAttributesFunction)(HWND, COLORREF, BYTE, DWORD);
typedef BOOL(WINAPI* LockWorkStationFunction)();
extern HMODULE hUser32Dll;
extern SetLayeredWindowAttributesFunction pSetLayeredWindowAttributes;
extern LockWorkStationFunction pLockWorkStation;

// Brush and colour of the dialog face for the pages' coloured statics.
extern HBRUSH hBrushBackStatic;
extern COLORREF colorBackStatic;

// The preview bitmap of the lists page.
extern HBITMAP hBitmap;
