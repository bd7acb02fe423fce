#include "changecycle.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "composition.h"
#include "cpu.h"
#include "createpathfile.h"
#include "filelist.h"
#include "globals.h"
#include "kvimagefunc.h"
#include "kvinifunction.h"
#include "pause.h"
#include "resource.h"
#include "scopedwin.h"
#include "timers.h"

namespace {

// Wallpaper page boxes the cycle reads; their defaults where the page does
// not have them.
bool WallBox(int control, bool fallback) {
    if (!GetDlgItem(hWall, control)) return fallback;
    return IsDlgButtonChecked(hWall, control) == BST_CHECKED;
}

void HidePreviewWhileComposing() {
    if (IsDlgButtonChecked(hFile, IDPREVIEW) == BST_CHECKED) ShowWindow(hPicture, SW_HIDE);
}

std::string UsersOwnWallpaper() {
    HeapString own(ReadReestrChar("Wallpaper", HKEY_CURRENT_USER, "Control Panel\\Desktop", nullptr));
    std::string path = own ? own.get() : "";
    // Our own composition is never the user's wallpaper: that is kept as
    // WallRet (wherever the composed file is written).
    HeapString programCopy(CreatePathFile(nullptr, "KvBmp", ".bmp"));
    if ((programCopy && lstrcmpiA(path.c_str(), programCopy.get()) == 0) ||
        lstrcmpiA(path.c_str(), ComposedWallpaperPath().c_str()) == 0) {
        HeapString settings(SetUsetExtenPath(".set"));
        HeapString stored(GetKey(settings.get(), "set", "WallRet", nullptr));
        path = stored ? stored.get() : "";
    }
    return path;
}

}  // namespace

int NextRow(int rows, int selected, bool random, IndexList& history, IndexList& queue,
            const std::function<void()>& drawNew) {
    if (rows <= 1) return 0;
    if (random && queue.empty()) drawNew();
    if (random && !queue.empty()) {
        history.push_back(queue.back());
        queue.pop_back();
        return static_cast<int>(history.back());
    }
    return selected + 1 < rows ? selected + 1 : 0;
}

int PreviousRow(int rows, int selected, bool random, IndexList& history, IndexList& queue) {
    if (rows <= 1) return 0;
    const int sequential = selected - 1 < 0 ? rows - 1 : selected - 1;
    if (!random || history.empty()) return sequential;
    queue.push_back(history.back());
    history.pop_back();
    return history.empty() ? sequential : static_cast<int>(history.back());
}

void NextWall(int notify) {
    const int next = NextRow(static_cast<int>(wallList.size()), GetCurrentRow(), RandomOrderChosen(), wp, rwp,
                             GenerateUnikList);
    HidePreviewWhileComposing();
    SetItemSel(hFile, IDWALLLIST, next);
    ToWall(notify);
}

void PreviousWall() {
    const int previous = PreviousRow(static_cast<int>(wallList.size()), GetCurrentRow(), RandomOrderChosen(), wp, rwp);
    HidePreviewWhileComposing();
    SetItemSel(hFile, IDWALLLIST, previous);
    ToWall(1);
}

void ToWall(int) {
    KillTimer(hMain, Timer03);
    positionType = GetPlaceMent(GetCurrentRow()) - 1;
    SIZE size = {};
    if (!lastsel.empty()) {
        CreateWallPaper(tLoadPicture(&size, lastsel.c_str()), &size);
    } else {
        const std::string own = UsersOwnWallpaper();
        CreateWallPaper(own.empty() ? nullptr : tLoadPicture(&size, own.c_str()), &size);
        SetValueKeySet("WallRet", own.empty() ? nullptr : own.c_str());
    }
    if (currentTimer && !checkOff) SetTimer(hMain, Timer03, currentTimer, nullptr);
}

int CheckChange() {
    if (WallBox(10415, false)) {
        BOOL valid = FALSE;
        int limit = static_cast<int>(GetDlgItemInt(hWall, 10436, &valid, TRUE));
        if (valid && GetCpuUsage() > limit) return 0;
    }
    if (WallBox(10406, true) && CheckFullWind()) return 0;
    return 1;
}

void OnTimer03() {
    if (CheckChange()) NextWall(1);
}
