#include "app/exit.h"

#include <windows.h>

#include "base/globals.h"
#include "base/timer_ids.h"
#include "desktop/shell_care.h"
#include "desktop/tray_icon.h"
#include "engine/image_binding.h"
#include "engine/unique_order.h"
#include "system/processor_usage.h"
#include "createpathfile.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "scopedwin.h"

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
