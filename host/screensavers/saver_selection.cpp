#include "screensavers/saver_selection.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "desktop/tray_icon.h"
#include "pages/page_general.h"
#include "screensavers/saver_menu.h"
#include "screensavers/system_setting.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

char* SCRNSAVE;
int lastSCR = -1;
char* SCRSet;

namespace {

const char kStoredKey[] = "SCRNSAVE";

void ReplaceSCRNSAVE(const char* path) {
    free(SCRNSAVE);
    SCRNSAVE = path ? _strdup(path) : nullptr;
}

void WriteSystemSaver(const char* path) {
    SCRNSAVE_EXE_reg(path);
    SCRNSAVE_EXE_ini(path);
}

// The same file, named in full or in 8.3 form: the system dialog may write
// either, the menu keeps the short one.
bool SamePath(const char* a, const std::string& shortA, const char* b) {
    return lstrcmpiA(a, b) == 0 || lstrcmpiA(shortA.c_str(), b) == 0;
}

}  // namespace

bool ChooserMode() { return SCRSet && GeneralOption(IDSCRRULE); }

bool SaverOff() { return GeneralOption(IDSCRAUTO); }

std::string SaverTrayTip(const char* name) { return std::string("Dravonel(") + (name ? name : "") + ")"; }

void FindScreenSaverChooser() {
    free(SCRSet);
    SCRSet = nullptr;
    HeapString chooser(CreatePathFile(nullptr, "KvScrSet", ".scr"));
    if (chooser && GetFileAttributesA(chooser.get()) != INVALID_FILE_ATTRIBUTES) {
        SCRSet = _strdup(ShortPathOf(chooser.get()).c_str());
        return;
    }
    for (int control : {IDSCRRULE, IDSCRSET})
        if (HWND window = GetDlgItem(hBoth, control)) DestroyWindow(window);
}

void SetSCR(int id) {
    if (id == lastSCR || !hSCRMenu || id < 0 || id > ScreenSaverCount()) return;
    // Every mark goes: after a rebuild or a forced selection the old item is
    // not known.
    const int items = GetMenuItemCount(hSCRMenu);
    for (int item = 0; item < items; ++item)
        CheckMenuItem(hSCRMenu, static_cast<UINT>(item), MF_BYPOSITION | MF_UNCHECKED);
    CheckMenuItem(hSCRMenu, static_cast<UINT>(id), MF_BYPOSITION | MF_CHECKED);
    lastSCR = id;
    DisabledMenuItem(IDPSETSCR, id < 1);

    SetTrayTip("Dravonel");
    ReplaceSCRNSAVE(nullptr);
    const bool chooser = ChooserMode(), off = SaverOff();
    if (chooser && !off) WriteSystemSaver(SCRSet);
    if (off) WriteSystemSaver(nullptr);

    const char* path = ScreenSaverPath(id);
    if (!path) {
        if (!chooser && !off) WriteSystemSaver(nullptr);
        SetValueKeySet(kStoredKey, nullptr);
    } else {
        ReplaceSCRNSAVE(path);
        if (!chooser && !off) WriteSystemSaver(path);
        SetValueKeySet(kStoredKey, path);
        SetTrayTip(SaverTrayTip(ScreenSaverName(id)).c_str());
    }
    ModifyTrayIcon();
}

void SetSCRNSAVE() {
    if (!SCRNSAVE) {
        SetSCR(0);
        return;
    }
    if (GetFileAttributesA(SCRNSAVE) == INVALID_FILE_ATTRIBUTES) return;
    const std::string shortPath = ShortPathOf(SCRNSAVE);
    const int savers = ScreenSaverCount();
    for (int id = 1; id <= savers; ++id) {
        if (SamePath(SCRNSAVE, shortPath, ScreenSaverPath(id))) {
            SetSCR(id);
            return;
        }
    }
    SetSCR(0);
}

void SetSCRNSAVE_sel(const char* scrn) {
    if (lastSCR == -1 && !SCRNSAVE) {
        ReplaceSCRNSAVE(scrn);
        SetSCRNSAVE();
    } else if (!scrn) {
        if (SCRNSAVE) {
            ReplaceSCRNSAVE(nullptr);
            SetSCRNSAVE();
        }
    } else if (!SCRNSAVE || lstrcmpiA(SCRNSAVE, scrn) != 0) {
        ReplaceSCRNSAVE(scrn);
        SetSCRNSAVE();
    }
}

void OnTimer06() {
    const std::string reg = SystemSaverReg();
    const std::string ini = SystemSaverIni();
    const bool chooser = ChooserMode(), off = SaverOff();
    if (chooser && !off) {
        if (reg.empty() || lstrcmpiA(reg.c_str(), SCRSet) != 0) SCRNSAVE_EXE_reg(SCRSet);
        if (lstrcmpiA(ini.c_str(), SCRSet) != 0) SCRNSAVE_EXE_ini(SCRSet);
    }
    if (off) {
        // Written only when something is left to clear.
        if (!reg.empty() || SystemSaverActive() != "0") SCRNSAVE_EXE_reg(nullptr);
        if (!ini.empty()) SCRNSAVE_EXE_ini(nullptr);
    }
    if (!chooser && !off) {
        SetSCRNSAVE_sel(reg.empty() ? nullptr : reg.c_str());
    } else {
        HeapString file(SetUsetExtenPath(".set"));
        HeapString stored(GetKey(file.get(), "set", kStoredKey, nullptr));
        SetSCRNSAVE_sel(stored && *stored ? stored.get() : nullptr);
    }
}
