#include "app/exit.h"

#include <windows.h>

#include "app/settings_window.h"
#include "app/timers.h"
#include "base/globals.h"
#include "base/timer_ids.h"
#include "desktop/shell_care.h"
#include "desktop/tray_icon.h"
#include "engine/image_binding.h"
#include "engine/unique_order.h"
#include "hotkeys/hotkey_rows.h"
#include "plugins/plugin_commands.h"
#include "plugins/plugin_list.h"
#include "system/process_list.h"
#include "system/processor_usage.h"
#include "createpathfile.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

void (*tracesRemover)();

}  // namespace

bool PluginsAgreeToExit() { return !PluginsRefuse(KvAPPLICATIONCLOSE); }

void ExitRemovingTraces(void (*removeTraces)()) {
    if (!PluginsAgreeToExit()) return;
    tracesRemover = removeTraces;
    ExitAgreed();
}

void Exit() {
    if (PluginsAgreeToExit()) ExitAgreed();
}

void ExitAgreed() {
    UnRegisterKey();
    KillTimer(hMain, Timer08);

    if (!ExplorerHidesIcons()) {
        HWND icons = GetDesktopIconView();
        if (icons && !IsWindowVisible(icons)) ShowWindow(icons, SW_SHOW);
    }
    RemoveTaskbarTransparency();
    if (!tracesRemover) {
        RetrySaves(true);
        SetValueKeySetInt("KvLastDay", currentDay);
        if (GetActiveChild() == hKey) SaveHotKey();
    }

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

    // Plug-ins go first: while their windows close they may still ask for
    // services (pictures released through the loaders, layered windows).
    // After this only the host's own libraries are unloaded before the end.
    UnloadPlugins();
    if (tracesRemover) tracesRemover();

    if (hUser32Dll) {
        pSetLayeredWindowAttributes = nullptr;
        pLockWorkStation = nullptr;
        FreeLibrary(hUser32Dll);
        hUser32Dll = nullptr;
    }
    StopProcessExclusion();
    FreeImageModules();
    ExitProcess(0);
}
