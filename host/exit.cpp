#include "exit.h"

#include <windows.h>

#include "cpu.h"
#include "createpathfile.h"
#include "globals.h"
#include "kvfunction.h"
#include "kvimagefunc.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "shellcare.h"
#include "timers.h"
#include "tray.h"
#include "uniquelist.h"

void Exit() {
    KillTimer(hMain, Timer08);

    if (!ExplorerHidesIcons()) {
        HWND icons = GetDesktopIconView();
        if (icons && !IsWindowVisible(icons)) ShowWindow(icons, SW_SHOW);
    }
    RemoveTaskbarTransparency();
    SetValueKeySetInt("KvLastDay", currentDay);

    ClearUnikList();
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    DeleteTrayIcon();

    HeapString scratch(CreatePathFile(nullptr, "fon", ".bmp"));
    if (scratch) DeleteFileA(scratch.get());

    CloseCpu();

    if (HWND desktop = GetCurrentDesktop()) {
        InvalidateRect(desktop, nullptr, TRUE);
        UpdateWindow(desktop);
    }

    if (hUser32Dll) {
        pSetLayeredWindowAttributes = nullptr;
        pLockWorkStation = nullptr;
        FreeLibrary(hUser32Dll);
        hUser32Dll = nullptr;
    }
    FreeImageModules();

    ExitProcess(0);
}
