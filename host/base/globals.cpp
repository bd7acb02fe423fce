#include "base/globals.h"

HINSTANCE hInS;
HWND hHide, hMain, hContent, hBoth, hWall, hFile, hPicture, hCalen, hKey, hHotKey, hRassh, hRasshItem, hPlugins;

int startProgress;
int checkOff;
int currentDay;
SYSTEMTIME loctime;
int TreeShow = 1;
char ini[MAX_PATH];

HMODULE hUser32Dll;
SetLayeredWindowAttributesFunction pSetLayeredWindowAttributes;
LockWorkStationFunction pLockWorkStation;

HBRUSH hBrushBackStatic;
COLORREF colorBackStatic;

HBITMAP hBitmap;
