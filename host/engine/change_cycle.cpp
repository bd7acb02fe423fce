#include "engine/change_cycle.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "base/control_values.h"
#include "base/globals.h"
#include "base/timer_ids.h"
#include "desktop/full_screen.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/image_binding.h"
#include "engine/open_list.h"
#include "engine/wall_lists.h"
#include "engine/wallpaper_events.h"
#include "engine/wallpaper_options.h"
#include "system/process_list.h"
#include "system/processor_usage.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

unsigned currentTimer;

namespace {

bool timedChangesHeld;

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
    if (notify && RaiseNextRefused()) return;
    const int next = NextRow(static_cast<int>(wallList.size()), GetCurrentRow(), RandomOrderChosen(), wp, rwp,
                             GenerateUnikList);
    RaiseStepStarting();
    SetItemSel(hFile, IDWALLLIST, next);
    ToWall(notify);
}

void PreviousWall() {
    if (RaisePreviousRefused()) return;
    const int previous = PreviousRow(static_cast<int>(wallList.size()), GetCurrentRow(), RandomOrderChosen(), wp, rwp);
    RaiseStepStarting();
    SetItemSel(hFile, IDWALLLIST, previous);
    ToWall(1);
}

void ToWall(int notify) {
    if (notify && RaiseUpdateRefused()) return;
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
    StartChangeTimer();
}

void HoldTimedChanges(bool held) { timedChangesHeld = held; }

bool TimedChangesHeld() { return timedChangesHeld; }

void StartChangeTimer() {
    if (currentTimer && !timedChangesHeld) SetTimer(hMain, Timer03, currentTimer, nullptr);
}

int CheckChange() {
    if (IsChecked(hWall, 10415)) {
        BOOL valid = FALSE;
        const int limit = static_cast<int>(GetDlgItemInt(hWall, 10436, &valid, TRUE));
        if (valid && GetCpuUsage() > limit) return 0;
    }
    if (CheckedOr(hWall, 10406, true) && CheckFullWind()) return 0;
    if (IsChecked(hWall, 10419) && ProcViewCreate(nullptr, 1)) return 0;
    return 1;
}

void OnTimer03() {
    if (CheckChange()) NextWall(1);
}

void SetPlaceMent(int digit) {
    const int row = GetCurrentRow();
    if (row < 0 || digit < 0 || digit > 255) return;
    // One character is kept: digits 0..9 are what the menu offers.
    char text[4];
    snprintf(text, sizeof text, "%d", digit);
    wallList.SetPlacement(static_cast<size_t>(row), text[0]);
    RefreshWallListView();
    SaveWallList(0);
    ToWall(1);
}
