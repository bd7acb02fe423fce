#include "pages/page_lists.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/globals.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/input_dialog.h"
#include "engine/change_cycle.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/image_binding.h"
#include "engine/unique_order.h"
#include "engine/wall_lists.h"
#include "engine/wallpaper_options.h"
#include "pages/page_general.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "pages/tooltips.h"
#include "createpathfile.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "searchandpast.h"
#include "screen_dpi.h"

namespace {

// Path whose preview is shown.
std::string lastview;

void (*listsChanged)();

// Icon buttons and their tool tips (section "TOOLTIP").
struct IconButton {
    int control;
    int icon;
    int tip;
};
const IconButton kButtons[] = {
    {IDNEWLIST, IDI_NEWLIST, 1},          {IDRENAMELIST, IDI_RENAMELIST, 15}, {IDDELETELIST, IDI_DELETELIST, 16},
    {IDADDFOLDER, IDI_ADDFOLDER, 3},      {IDADDFILES, IDI_ADDFILES, 5},     {IDADDENTRY, IDI_ADDENTRY, 6},
    {IDREMOVEFOLDER, IDI_REMOVEFOLDER, 4}, {IDREMOVEFILES, IDI_REMOVEFILES, 7}, {IDEXCLUDE, IDI_REMOVEMISSING, 8},
    {IDCLEARLIST, IDI_CLEARLIST, 9},      {IDREMOVEROW, IDI_REMOVEROW, 10},  {IDDELFILE, IDI_DELETEFILE, 11},
    {IDOPENPICTURE, IDI_OPENPICTURE, 12}, {IDOPENFOLDER, IDI_OPENFOLDER, 13},
};
const int kBackgroundTip = 17;
const int kFolderTitle = 2;
const int kAddFilesTitle = 5;
const int kRemoveFilesTitle = 7;
const int kListNotDeleted = 69;  // section "STRING"

std::string Expanded(const std::string& path) {
    HeapString expanded(ExpandEnvStr(path.c_str()));
    return expanded ? expanded.get() : path;
}

std::string ListFile(const std::string& name, const char* extension) {
    HeapString path(CreatePathFile("Lists", name.c_str(), extension));
    return path ? path.get() : std::string();
}

// Width in pixels at 96 DPI.
void AddColumn(HWND view, int index, const char* title, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title);
    column.cx = ScaleForDpi(width);
    column.iSubItem = index;
    if (ListView_InsertColumn(view, index, &column) < 0) return;
}

void SetColumnTitle(HWND view, int index, const char* title) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(title);
    ListView_SetColumn(view, index, &column);
}

void SetTrackStyle(bool hotTracking) {
    // Grid lines and full-row selection, and with tracking track-select.
    ListView_SetExtendedListViewStyle(GetDlgItem(hFile, IDWALLLIST), hotTracking ? 0x29 : 0x21);
}

bool NeedOpenList() {
    if (!lastlist.empty()) return true;
    ShowListMessage(3);
    return false;
}

// After files were removed: save with a new order and go back to
// the row that was selected.
void AfterChange(bool changed, int selected) {
    if (!changed) return;
    SaveWallList(1);
    SetCurrentState(selected);
}

void ShowPreview() {
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    lastview = lastsel;
    if (lastsel.empty()) return;
    SIZE size = {};
    s_picture* picture = tLoadPicture(&size, lastsel.c_str());
    ShowWindow(hPicture, SW_SHOW);
    ConvertToSmallhBitmap(hPicture, &hBitmap, picture, &size, 1);
    if (!picture) SetDlgItemTextA(hFile, IDPICSIZE, "");
}

void OnSelectChanged(int row) {
    if (row < 0 || static_cast<size_t>(row) >= wallList.size()) return;
    const std::string& path = wallList.row(static_cast<size_t>(row)).path;
    // The same picture at another row (files went in above it) still moves
    // "KvIndex"; only the preview need not load again.
    if (startProgress) SetValueKeySetInt("KvIndex", row);
    if (lstrcmpiA(path.c_str(), lastsel.c_str()) == 0 && hBitmap) return;
    lastsel = path;
    SetDlgItemTextA(hFile, IDCURRENTPATH, Expanded(path).c_str());
    if (IsWindowVisible(hFile) && IsDlgButtonChecked(hFile, IDPREVIEW) == BST_CHECKED) ShowPreview();
}

void OnPreviewBox() {
    KeyTipUnCheckedSet(hFile, IDPREVIEW, "KvPreview");
    if (IsDlgButtonChecked(hFile, IDPREVIEW) == BST_CHECKED) {
        if (!lastsel.empty() && (!hBitmap || lastview != lastsel)) ShowPreview();
        else if (!lastsel.empty()) ShowWindow(hPicture, SW_SHOW);
        return;
    }
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    SetDlgItemTextA(hFile, IDPICSIZE, "");
    ShowWindow(hPicture, SW_HIDE);
}

void NotifyListsChanged() {
    if (listsChanged) listsChanged();
}

void SelectListNamed(const std::string& name) {
    HWND lists = GetDlgItem(hFile, IDLISTLIST);
    int count = ListView_GetItemCount(lists);
    for (int row = 0; row < count; ++row) {
        char text[MAX_PATH] = "";
        ListView_GetItemText(lists, row, 0, text, sizeof text);
        if (lstrcmpiA(text, name.c_str()) == 0) {
            SetItemSel(hFile, IDLISTLIST, row);
            return;
        }
    }
}

// A list's name is a file name inside Lists: no folder, drive or stream.
bool IsListName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
           name.find_first_not_of(". ") != std::string::npos;
}

bool ListFileExists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

void NewList() {
    HeapString name(InputDialog(hMain, 4, 5, nullptr, false));
    if (!name || !*name.get()) return;
    if (!IsListName(name.get())) {
        ShowListMessage(6);
        return;
    }
    const std::string file = ListFile(name.get(), ".lst");
    // A name that exists already chooses that list; its file is never
    // emptied.
    ScopedHandle created(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (created.valid()) {
        DWORD written = 0;
        WriteFile(created.get(), "#0", 2, &written, nullptr);
        created.reset();
    } else if (!ListFileExists(file)) {
        ShowListMessage(6);
        return;
    }
    CreatListList();
    SelectListNamed(name.get());
    NotifyListsChanged();
}

void RenameList() {
    if (!NeedOpenList()) return;
    HeapString name(InputDialog(hMain, 4, 7, lastlist.c_str(), false));
    if (!name || !*name.get() || lastlist == name.get()) return;
    const std::string newName = name.get();
    const std::string from = ListFile(lastlist, ".lst"), to = ListFile(newName, ".lst");
    // Another list of that name is never overwritten (a change of case only
    // is the same list).
    const bool sameList = lstrcmpiA(lastlist.c_str(), newName.c_str()) == 0;
    if (!IsListName(newName) || (!sameList && ListFileExists(to)) || !MoveFileA(from.c_str(), to.c_str())) {
        ShowListMessage(8);
        return;
    }
    // The order goes with its list; an order left by an earlier list of
    // the new name is not this list's.
    const std::string order = ListFile(lastlist, ".rnd"), newOrder = ListFile(newName, ".rnd");
    if (!MoveFileExA(order.c_str(), newOrder.c_str(), MOVEFILE_REPLACE_EXISTING) && !sameList)
        DeleteFileA(newOrder.c_str());
    // The open list keeps its rows; only its name changes.
    lastlist = newName;
    SetValueKeySet("KvFileList", lastlist.c_str());
    CreatListList();
    SelectListNamed(newName);
    NotifyListsChanged();
}

void DeleteList() {
    if (!NeedOpenList()) return;
    int row = GetItemSel(hFile, IDLISTLIST);
    // A list that stays on disk (read-only, or held by another program) must
    // not look deleted: it would be back at the next start.
    if (!DeleteFileA(ListFile(lastlist, ".lst").c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        ShowListMessage(kListNotDeleted);
        return;
    }
    DeleteFileA(ListFile(lastlist, ".rnd").c_str());
    lastlist.clear();
    CreatListList();
    int count = ListView_GetItemCount(GetDlgItem(hFile, IDLISTLIST));
    if (count > 0) {
        SetItemSel(hFile, IDLISTLIST, row < count ? row : count - 1);
    } else {
        LoadWallList();
    }
    NotifyListsChanged();
}

void AddFolder() {
    if (!NeedOpenList()) return;
    HeapString folder(GetFolder(hMain, currentDir.c_str(), Priv(kFolderTitle, "TOOLTIP", ini)));
    if (!folder || !chdir_access(folder.get())) return;
    SearchF();
    if (AddFiles()) {
        currentDir = folder.get();
        SetValueKeySet("KvFolder", currentDir.c_str());
    }
}

void AddChosenFiles() {
    if (!NeedOpenList()) return;
    if (GetOpenFileNameKv(Priv(kAddFilesTitle, "TOOLTIP", ini))) {
        SetValueKeySet("KvFolder", currentDir.c_str());
        AddFiles();
    } else {
        pendingFiles.clear();
    }
}

void AddTypedEntry() {
    if (!NeedOpenList()) return;
    HeapString entry(InputDialog(hMain, 1, 2, nullptr, false));
    if (!entry) return;
    char* text = entry.release();
    KvStrTrim(text, " \"");
    entry.reset(text);
    addkvfile(entry.get());
    AddFiles();
}

void RemoveChosenFolder() {
    if (!NeedOpenList()) return;
    const int selected = GetCurrentRow();
    HeapString folder(GetFolder(hMain, currentDir.c_str(), Priv(kFolderTitle, "TOOLTIP", ini)));
    if (!folder) return;
    currentDir = folder.get();
    SetValueKeySet("KvFolder", currentDir.c_str());
    AfterChange(RemoveFolder(folder.get()), selected);
}

void RemoveChosenFiles() {
    if (!NeedOpenList()) return;
    const int selected = GetCurrentRow();
    if (GetOpenFileNameKv(Priv(kRemoveFilesTitle, "TOOLTIP", ini))) AfterChange(RemoveFiles(), selected);
    else pendingFiles.clear();
}

void ClearList() {
    if (!NeedOpenList()) return;
    wallList.Clear();
    RefreshWallListView();
    SaveWallList(1);
    SetCurrentState(-1);
}

void RemoveSelectedRow() {
    if (!NeedOpenList()) return;
    const int row = GetCurrentRow();
    if (row < 0) {
        ShowListMessage(21);
        return;
    }
    wallList.EraseAt(static_cast<size_t>(row));
    RefreshWallListView();
    SaveWallList(0);
    EditUnikList(static_cast<uint32_t>(row));
    SetCurrentState(row);
}

void OpenPicture() {
    if (lastsel.empty()) return;
    const std::string path = Expanded(lastsel);
    HeapString program(GetDlgItem(hWall, 10438) ? GetItemChar(hWall, 10438) : nullptr);
    if (program) {
        std::string argument = "\"" + path + "\"";
        ShellExecuteA(hMain, "open", program.get(), argument.c_str(), nullptr, SW_RESTORE);
    } else {
        ShellExecuteA(hMain, "open", path.c_str(), nullptr, nullptr, SW_RESTORE);
    }
}

void OpenPictureFolder() {
    if (lastsel.empty()) return;
    std::string path = Expanded(lastsel);
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return;
    ShellExecuteA(hMain, "open", path.substr(0, slash + 1).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ChooseBackground() {
    COLORREF colour = ColorSelectSet(hFile, IDBACKGR, "KvBackGr");
    int element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &colour);
}

void OnCommand(int control, int notification) {
    switch (control) {
        case IDNEWLIST: NewList(); break;
        case IDRENAMELIST: RenameList(); break;
        case IDDELETELIST: DeleteList(); break;
        case IDBACKGR: ChooseBackground(); break;
        case IDADDFOLDER: AddFolder(); break;
        case IDADDFILES: AddChosenFiles(); break;
        case IDADDENTRY: AddTypedEntry(); break;
        case IDREMOVEFOLDER: RemoveChosenFolder(); break;
        case IDREMOVEFILES: RemoveChosenFiles(); break;
        case IDEXCLUDE:
            if (NeedOpenList()) Exclude();
            break;
        case IDCLEARLIST: ClearList(); break;
        case IDREMOVEROW: RemoveSelectedRow(); break;
        case IDDELFILE: DelFile(); break;
        case IDOPENPICTURE: OpenPicture(); break;
        case IDOPENFOLDER: OpenPictureFolder(); break;
        case IDPREVIEW: OnPreviewBox(); break;
        case IDTRACK:
            KeyTipUnCheckedSet(hFile, IDTRACK, "KvTrack");
            SetTrackStyle(IsDlgButtonChecked(hFile, IDTRACK) == BST_CHECKED);
            break;
        case IDUPDATELIST:
            KeyTipUnCheckedSet(hFile, IDUPDATELIST, "KvUpdateList");
            break;
        default:
            if (control >= IDPLACEMENT0 && control <= IDPLACEMENT0 + 9 && notification == 0)
                SetPlaceMent(control - IDPLACEMENT0);
            break;
    }
}

void OnWallListNotify(NMHDR* header) {
    switch (header->code) {
        case LVN_GETDISPINFOA: {
            NMLVDISPINFOA* display = reinterpret_cast<NMLVDISPINFOA*>(header);
            LVITEMA& item = display->item;
            if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= wallList.size())
                break;
            const WallRow& row = wallList.row(static_cast<size_t>(item.iItem));
            static char digit[2];
            static std::string name;
            switch (item.iSubItem) {
                case 0:
                    lstrcpynA(item.pszText, row.path.c_str(), item.cchTextMax);
                    break;
                case 1:
                    digit[0] = row.placement;
                    lstrcpynA(item.pszText, digit, item.cchTextMax);
                    break;
                default:
                    name = FileNamePart(row.path);
                    lstrcpynA(item.pszText, name.c_str(), item.cchTextMax);
                    break;
            }
            break;
        }
        case LVN_ITEMCHANGED: {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if (change->iItem >= 0 && (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                !(change->uOldState & LVIS_SELECTED))
                OnSelectChanged(change->iItem);
            break;
        }
        case NM_RCLICK: {
            const NMITEMACTIVATE* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
            if (click->iItem >= 0) TrackPopupPlaceMent(click->iItem);
            break;
        }
        default:
            break;
    }
}

void OnShow(bool shown) {
    if (shown) {
        OnPreviewBox();
        int row = GetCurrentRow();
        if (row >= 0) ListView_EnsureVisible(GetDlgItem(hFile, IDWALLLIST), row, FALSE);
        DragAcceptFiles(hMain, TRUE);
        return;
    }
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    DragAcceptFiles(hMain, FALSE);
}

void DrawBackgroundButton(const DRAWITEMSTRUCT* item) {
    // The button follows the system's desktop colour, whoever changed it.
    COLORREF system = GetSysColor(COLOR_BACKGROUND);
    char text[16] = "";
    GetDlgItemTextA(hFile, IDBACKGR, text, sizeof text);
    if (static_cast<COLORREF>(strtoul(text, nullptr, 10)) != system) {
        snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(system));
        SetDlgItemTextA(hFile, IDBACKGR, text);
        SetValueKeySetInt("KvBackGr", static_cast<int>(system));
    }
    PainColorButton(item->hDC, &item->rcItem, hFile, IDBACKGR);
}

// Columns and the placement menu exist before the language texts arrive.
void CreateListColumnsAndMenu(HWND page) {
    HWND lists = GetDlgItem(page, IDLISTLIST);
    AddColumn(lists, 0, "", 232);
    AddColumn(lists, 1, "", 42);
    HWND files = GetDlgItem(page, IDWALLLIST);
    AddColumn(files, 0, "", 142);
    AddColumn(files, 1, "T", 20);
    AddColumn(files, 2, "", 288);
    hPlaceMenu = CreatePopupMenu();
    for (int item = 0; item < 10; ++item) AppendMenuA(hPlaceMenu, MF_STRING, IDPLACEMENT0 + item, "");
}

}  // namespace

void SetListsChangedHandler(void (*handler)()) { listsChanged = handler; }

HMENU hPlaceMenu;

void TrackPopupPlaceMent(int row) {
    if (row < 0 || !hPlaceMenu) return;
    for (int item = 0; item < 10; ++item)
        CheckMenuItem(hPlaceMenu, static_cast<UINT>(item), MF_BYPOSITION | MF_UNCHECKED);
    CheckMenuItem(hPlaceMenu, static_cast<UINT>(GetPlaceMent(row)), MF_BYPOSITION | MF_CHECKED);
    POINT pointer;
    GetCursorPos(&pointer);
    SetForegroundWindow(hFile);
    TrackPopupMenu(hPlaceMenu, TPM_LEFTALIGN | TPM_LEFTBUTTON, pointer.x, pointer.y, 0, hFile, nullptr);
    PostMessageA(hFile, WM_NULL, 0, 0);
}

void DragFunc(HDROP drop) {
    if (lastlist.empty()) {
        DragFinish(drop);
        ShowListMessage(3);
        return;
    }
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, i, &path[0], length + 1);
        path.resize(length);
        if (chdir_access(path.c_str())) SearchF();
        else addkvfile(path.c_str());
    }
    DragFinish(drop);
    AddFiles();
}

INT_PTR CALLBACK FileFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CreateListColumnsAndMenu(hwnd);
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->idFrom == IDLISTLIST) OnListOfListsNotify(header);
            else if (header->idFrom == IDWALLLIST) OnWallListNotify(header);
            return TRUE;
        }
        case WM_SHOWWINDOW:
            OnShow(wParam != FALSE);
            return TRUE;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == IDBACKGR) DrawBackgroundButton(item);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDLISTSHEAD) return FALSE;
            return PaintHeading(wParam);
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK PictureFunc(HWND hwnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_PAINT) return message == WM_INITDIALOG;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (hBitmap) {
        BITMAP info = {};
        GetObjectA(hBitmap, sizeof info, &info);
        RECT client;
        GetClientRect(hwnd, &client);
        ScopedMemoryDC memory(dc);
        ScopedSelectObject select(memory, hBitmap);
        BitBlt(dc, (client.right - info.bmWidth) / 2, (client.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight,
               memory, 0, 0, SRCCOPY);
    }
    EndPaint(hwnd, &paint);
    return TRUE;
}

void PrepareListsPage() {
    for (const IconButton& button : kButtons) {
        HANDLE icon = LoadImageA(hInS, MAKEINTRESOURCEA(button.icon), IMAGE_ICON, SmallIconSize(), SmallIconSize(),
                                 LR_DEFAULTCOLOR);
        SendDlgItemMessageA(hFile, button.control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        AddToolTip(GetDlgItem(hFile, button.control), button.control, button.tip);
    }
    AddToolTip(GetDlgItem(hFile, IDBACKGR), IDBACKGR, kBackgroundTip);

    ListView_SetExtendedListViewStyle(GetDlgItem(hFile, IDLISTLIST), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetTrackStyle(false);
}

void HidePreviewForStep() {
    if (IsDlgButtonChecked(hFile, IDPREVIEW) == BST_CHECKED) ShowWindow(hPicture, SW_HIDE);
}

void ShowComposedPicture(s_picture* picture, SIZE size) {
    const bool previewOn = IsDlgButtonChecked(hFile, IDPREVIEW) == BST_CHECKED && hPicture;
    if (previewOn) ShowWindow(hPicture, SW_SHOW);
    if (!previewOn || !IsWindowVisible(hPicture)) {
        tReleaseImg(picture);
        return;
    }
    // The preview now shows the current row.
    lastview = lastsel;
    ConvertToSmallhBitmap(hPicture, &hBitmap, picture, &size, 1);
}

void ClearCurrentRowView() {
    if (hBitmap) {
        DeleteObject(hBitmap);
        hBitmap = nullptr;
    }
    SetDlgItemTextA(hFile, IDCURRENTPATH, "");
}

void ApplyListsPageTexts() {
    SetControlTexts(hFile, "FILE", 10600, 10604);
    SetColumnTitle(GetDlgItem(hFile, IDWALLLIST), 0, Priv(1, "FILE", ini));
    SetColumnTitle(GetDlgItem(hFile, IDWALLLIST), 2, Priv(2, "FILE", ini));
    SetColumnTitle(GetDlgItem(hFile, IDLISTLIST), 0, Priv(3, "FILE", ini));
    SetColumnTitle(GetDlgItem(hFile, IDLISTLIST), 1, Priv(4, "FILE", ini));
    for (int item = 0; item < 10; ++item)
        ModifyMenuA(hPlaceMenu, IDPLACEMENT0 + item, MF_BYCOMMAND | MF_STRING, IDPLACEMENT0 + item,
                    Priv(IDPLACEMENT0 + item, "WALL", ini));
}

void LoadListSettings() {
    HeapString file(SetUsetExtenPath(".set"));
    const char* settings = file.get();

    COLORREF system = GetSysColor(COLOR_BACKGROUND);
    COLORREF background = static_cast<COLORREF>(GetKeyInt(settings, "set", "KvBackGr", static_cast<int>(system)));
    if (background != system) {
        int element = COLOR_BACKGROUND;
        SetSysColors(1, &element, &background);
    }
    char text[16];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(background));
    SetDlgItemTextA(hFile, IDBACKGR, text);

    HeapString folder(GetKey(settings, "set", "KvFolder", nullptr));
    HeapString expanded(folder ? ExpandEnvStr(folder.get()) : nullptr);
    if (expanded && chdir_access(expanded.get())) {
        currentDir = folder.get();
    } else {
        HeapString program(CreatePathFile(nullptr, nullptr, nullptr));
        currentDir = program ? program.get() : "";
        if (currentDir.size() > 3 && currentDir.back() == '\\') currentDir.pop_back();
    }

    CheckDlgButton(hFile, IDPREVIEW, GetKeyYes(settings, "set", "KvPreview") ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hFile, IDTRACK, GetKeyYes(settings, "set", "KvTrack") ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(hFile, WM_COMMAND, MAKEWPARAM(IDTRACK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hFile, IDTRACK)));
    CheckDlgButton(hFile, IDUPDATELIST, GetKeyYes(settings, "set", "KvUpdateList") ? BST_CHECKED : BST_UNCHECKED);
    const int index = GetKeyInt(settings, "set", "KvIndex", 0);

    CreatListList();
    HeapString stored(GetKey(settings, "set", "KvFileList", nullptr));
    HWND lists = GetDlgItem(hFile, IDLISTLIST);
    if (ListView_GetItemCount(lists) > 0) {
        if (stored) SelectListNamed(stored.get());
        if (GetItemSel(hFile, IDLISTLIST) < 0) SetItemSel(hFile, IDLISTLIST, 0);
    }
    SetCurrentState(index);
    if (RandomOrderChosen()) LoadUnikList(index);
}
