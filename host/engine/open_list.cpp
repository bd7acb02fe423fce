#include "engine/open_list.h"

#include <commctrl.h>

#include <cstdlib>

#include "base/globals.h"
#include "engine/wallpaper_events.h"
#include "createpathfile.h"
#include "resource.h"
#include "scopedwin.h"

WallList wallList;
std::string lastlist;
std::string lastsel;

namespace {

HWND WallListView() { return GetDlgItem(hFile, IDWALLLIST); }

}  // namespace

std::string ListFilePath(const std::string& name, const char* extension) {
    HeapString path(CreatePathFile("Lists", name.c_str(), extension));
    return path ? path.get() : std::string();
}

std::string CreatePathList() { return lastlist.empty() ? std::string() : ListFilePath(lastlist, ".lst"); }

std::string OrderFilePath() { return lastlist.empty() ? std::string() : ListFilePath(lastlist, ".rnd"); }

void RefreshWallListView() {
    HWND view = WallListView();
    if (!view) return;
    ListView_SetItemCountEx(view, static_cast<int>(wallList.size()), LVSICF_NOSCROLL);
    InvalidateRect(view, nullptr, TRUE);
}

int GetItemSel(HWND page, int control) {
    return ListView_GetNextItem(GetDlgItem(page, control), -1, LVNI_SELECTED);
}

namespace {

// Clears the selected and focused rows. Asking for every row (-1) costs a
// pass over all of them in some list views: a million at a list's load.
void ClearSelection(HWND view) {
    for (UINT state : {LVNI_SELECTED, LVNI_FOCUSED})
        for (int row = ListView_GetNextItem(view, -1, state); row >= 0; row = ListView_GetNextItem(view, row, state))
            ListView_SetItemState(view, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

}  // namespace

void SetItemSel(HWND page, int control, int row) {
    HWND view = GetDlgItem(page, control);
    // Clear first so that selecting a row always reports a change, also when
    // the same index now holds another picture.
    ClearSelection(view);
    ListView_SetItemState(view, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(view, row, FALSE);
}

int GetCurrentRow() { return GetItemSel(hFile, IDWALLLIST); }

void SetCurrentState(int index) {
    const int n = static_cast<int>(wallList.size());
    if (index > n - 1) index = n - 1;
    if (index == -1 && n > 0) index = 0;
    if (index >= 0) {
        SetItemSel(hFile, IDWALLLIST, index);
        return;
    }
    ClearSelection(WallListView());
    lastsel.clear();
    RaiseCurrentRowCleared();
}

int GetPlaceMent(int row) {
    if (row < 0 || static_cast<size_t>(row) >= wallList.size()) return 0;
    char digit[2] = {wallList.row(static_cast<size_t>(row)).placement, 0};
    return atoi(digit);
}
