#include "app/settings_window.h"

#include "base/globals.h"
#include "kvinifunction.h"
#include "resource.h"

namespace {

HWND PageOfItem(HWND tree, HTREEITEM item) {
    if (!item) return nullptr;
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(tree, &data)) return nullptr;
    return reinterpret_cast<HWND>(data.lParam);
}

HTREEITEM AddTreeItem(HWND tree, HTREEITEM parent, const char* text, HWND page) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = reinterpret_cast<LPARAM>(page);
    return TreeView_InsertItem(tree, &insert);
}

}  // namespace

void BuildPageTree() {
    HWND tree = GetDlgItem(hMain, IDTREEVIEW);
    TreeView_DeleteAllItems(tree);
    HTREEITEM root = AddTreeItem(tree, TVI_ROOT, Priv(0, "MAIN", ini), hBoth);
    const HWND pages[] = {hWall, hFile, hCalen, hKey, hRassh};
    for (int i = 0; i < 5; ++i) AddTreeItem(tree, root, Priv(i + 1, "MAIN", ini), pages[i]);
    TreeView_Expand(tree, root, TVE_EXPAND);
    TreeView_SelectItem(tree, root);
}

HWND GetActiveChild() {
    HWND tree = GetDlgItem(hMain, IDTREEVIEW);
    return PageOfItem(tree, TreeView_GetSelection(tree));
}

HTREEITEM GetTreeViewItem(HWND tree, HTREEITEM from, HWND page) {
    for (HTREEITEM item = from; item; item = TreeView_GetNextSibling(tree, item)) {
        if (PageOfItem(tree, item) == page) return item;
        if (HTREEITEM found = GetTreeViewItem(tree, TreeView_GetChild(tree, item), page)) return found;
    }
    return nullptr;
}

void ShowSettings(HWND page) {
    ShowWindow(hMain, SW_SHOWNORMAL);
    SetForegroundWindow(hMain);
    if (!page || !IsWindow(page)) return;
    HWND tree = GetDlgItem(hMain, IDTREEVIEW);
    if (HTREEITEM item = GetTreeViewItem(tree, TreeView_GetRoot(tree), page)) TreeView_SelectItem(tree, item);
}

void ToggleTreeShow() {
    HWND tree = GetDlgItem(hMain, IDTREEVIEW);
    RECT treeRect, panelRect, windowRect;
    GetWindowRect(tree, &treeRect);
    GetWindowRect(hContent, &panelRect);
    GetWindowRect(hMain, &windowRect);
    MapWindowPoints(nullptr, hMain, reinterpret_cast<POINT*>(&panelRect), 2);
    const int shift = panelRect.left > 0 ? panelRect.left : treeRect.right - treeRect.left;
    TreeShow = !TreeShow;
    const int width = windowRect.right - windowRect.left;
    const int height = windowRect.bottom - windowRect.top;
    if (!TreeShow) {
        ShowWindow(tree, SW_HIDE);
        SetWindowPos(hContent, nullptr, 0, panelRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(hMain, nullptr, 0, 0, width - shift, height, SWP_NOMOVE | SWP_NOZORDER);
        SetPropA(hMain, "DravonelTreeShift", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(shift)));
    } else {
        int restored = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(hMain, "DravonelTreeShift")));
        if (restored <= 0) restored = treeRect.right - treeRect.left;
        SetWindowPos(hContent, nullptr, restored, panelRect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetWindowPos(hMain, nullptr, 0, 0, width + restored, height, SWP_NOMOVE | SWP_NOZORDER);
        ShowWindow(tree, SW_SHOW);
    }
}

void ShowPage(HWND page, int command) {
    if (page && IsWindow(page)) ShowWindow(page, command);
}

void OnTreeSelectionChanged(const NMTREEVIEWA* change) {
    ShowPage(reinterpret_cast<HWND>(change->itemOld.lParam), SW_HIDE);
    ShowPage(reinterpret_cast<HWND>(change->itemNew.lParam), SW_SHOW);
}
