#include "filemon_page.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "createpathfile.h"
#include "dravonel_plugin.h"
#include "filemon_ids.h"
#include "folder_scan.h"
#include "folder_watch.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

const char kSection[] = "FILEMON";
const char kSettingsSection[] = "FileMon";
const UINT kRescanDelay = 2000;  // after the last change in a folder
const COLORREF kHeadingColour = 0x000080;

enum Column { COLUMN_FOLDER, COLUMN_LIST, COLUMN_COUNT, COLUMN_ADDED, COLUMN_REMOVED };
const int kColumnWidths[] = {228, 70, 70, 70, 70};

// Tool tips of the host's "TOOLTIP" section.
const struct {
    int control;
    int text;
} kToolTips[] = {{IDFMADD, 25}, {IDFMREMOVE, 28}, {IDFMBROWSE, 2}};
const int kFolderPromptText = 2;

// The item data of a row. Its id names the row's rescan timer and the
// worker's notices, and stays when other rows come and go.
struct WatchRow {
    int id;
    HWND snapshot;  // hidden list box: the pictures known to be in the folder
    bool missing;   // the folder could not be entered at the last rescan
};

HINSTANCE instance = nullptr;
HWND page = nullptr;
HWND host = nullptr;
std::string language;
std::string settings;
int nextRowId = 1;
bool resumeWatching = false;

HWND RowView() { return GetDlgItem(page, IDFMWATCHLIST); }

std::string ControlText(int control) {
    HeapString text(GetItemChar(page, control));
    return text ? text.get() : std::string();
}

std::string CellText(int row, int column) {
    std::vector<char> text(MAX_PATH * 4);
    ListView_GetItemText(RowView(), row, column, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void SetCell(int row, int column, const std::string& text) {
    ListView_SetItemText(RowView(), row, column, const_cast<char*>(text.c_str()));
}

void SetCell(int row, int column, size_t number) { SetCell(row, column, std::to_string(number)); }

WatchRow* RowData(int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(RowView(), &item)) return nullptr;
    return reinterpret_cast<WatchRow*>(item.lParam);
}

int FindRowById(int id) {
    int count = ListView_GetItemCount(RowView());
    for (int row = 0; row < count; ++row) {
        WatchRow* data = RowData(row);
        if (data && data->id == id) return row;
    }
    return -1;
}

int FindRowByFolder(const std::string& folder) {
    int count = ListView_GetItemCount(RowView());
    for (int row = 0; row < count; ++row)
        if (SamePath(NormalFolder(CellText(row, COLUMN_FOLDER)), folder)) return row;
    return -1;
}

std::string SettingsFile() {
    if (!settings.empty()) return settings;
    HeapString path(SetUsetExtenPath(".set"));
    return path ? path.get() : std::string();
}

// Snapshots live in hidden list boxes on the page.
HWND NewSnapshot(const std::vector<std::string>& paths) {
    HWND box = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, page,
                               nullptr, instance, nullptr);
    if (!box) return nullptr;
    size_t bytes = 0;
    for (const std::string& path : paths) bytes += path.size() + 1;
    SendMessageA(box, LB_INITSTORAGE, paths.size(), bytes);
    for (const std::string& path : paths) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return box;
}

std::vector<std::string> SnapshotPaths(HWND box) {
    std::vector<std::string> paths;
    int count = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
    if (count <= 0) return paths;
    paths.reserve(count);
    std::vector<char> text;
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageA(box, LB_GETTEXTLEN, i, 0));
        if (length < 0) continue;
        text.assign(length + 1, '\0');
        SendMessageA(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        paths.emplace_back(text.data());
    }
    return paths;
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return bytes;
    char block[65536];
    size_t got;
    while ((got = fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    fclose(file);
    return bytes;
}

std::vector<std::string> ListedInFile(const std::string& folder, const std::string& list) {
    HeapString path(CreatePathFile("Lists", list.c_str(), ".lst"));
    if (!path) return {};
    return SnapshotFromList(ReadWholeFile(path.get()), folder);
}

// Services 28 and 29: the files go as a list of heap nodes, newest first;
// whatever the host leaves of it comes back as the answer and is freed here.
void SendFiles(int service, const std::vector<std::string>& paths, const std::string& list) {
    if (paths.empty() || !host) return;
    s_filenode* head = nullptr;
    for (const std::string& path : paths) {
        s_filenode* node = static_cast<s_filenode*>(malloc(sizeof *node));
        char* copy = node ? _strdup(path.c_str()) : nullptr;
        if (!copy) {
            free(node);
            break;
        }
        node->path = copy;
        node->next = head;
        head = node;
    }
    if (!head) return;
    HeapString name(_strdup(list.c_str()));
    s_filetolist request = {head, name.get()};
    s_filenode* left = reinterpret_cast<s_filenode*>(
        SendMessageA(host, KV_SERVICE_MESSAGE, service, reinterpret_cast<LPARAM>(&request)));
    while (left) {
        s_filenode* next = left->next;
        free(left->path);
        free(left);
        left = next;
    }
}

std::vector<WatchedFolder> WatchedFolders() {
    std::vector<WatchedFolder> folders;
    int count = ListView_GetItemCount(RowView());
    for (int row = 0; row < count; ++row) {
        WatchRow* data = RowData(row);
        if (data) folders.push_back({data->id, CellText(row, COLUMN_FOLDER)});
    }
    return folders;
}

void RestartWorker() {
    resumeWatching = false;
    StartWatching(page, WatchedFolders());
}

// The section is written whole, rows in order under "0", "1", ...
void SaveRows() {
    const std::string file = SettingsFile();
    if (file.empty()) return;
    int count = ListView_GetItemCount(RowView());
    if (count == 0) {
        SetKey(file.c_str(), kSettingsSection, nullptr, nullptr);
        return;
    }
    std::string block;
    for (int row = 0; row < count; ++row) {
        block += std::to_string(row) + "=" + WatchValue(CellText(row, COLUMN_FOLDER), CellText(row, COLUMN_LIST));
        block += '\0';
    }
    block += '\0';
    // In one write that replaces the file: the settings file is everyone's.
    SetSection(file.c_str(), kSettingsSection, block.data());
}

void Rescan(int id) {
    int row = FindRowById(id);
    WatchRow* data = row >= 0 ? RowData(row) : nullptr;
    if (!data) return;
    const std::string folder = CellText(row, COLUMN_FOLDER);
    const std::string list = CellText(row, COLUMN_LIST);

    std::vector<std::string> current;
    if (ListFolderPictures(folder, current) == FolderListing::Missing) {
        // An unplugged drive or a folder that is away for a while: its
        // pictures stay in the list until it is back. The restarted worker
        // keeps trying the folder and asks for a rescan when it returns.
        if (!data->missing) {
            data->missing = true;
            RestartWorker();
        }
        return;
    }
    data->missing = false;

    std::vector<std::string> old;
    if (data->snapshot) old = SnapshotPaths(data->snapshot);
    SnapshotChange change = CompareSnapshot(old, current);
    HWND fresh = NewSnapshot(current);
    SetCell(row, COLUMN_COUNT, current.size());
    SetCell(row, COLUMN_ADDED, change.added.size());
    SetCell(row, COLUMN_REMOVED, change.removed.size());
    SendFiles(KvSrvAddToList, change.added, list);
    SendFiles(KvSrvRemoveFromList, change.removed, list);
    // The host may have sent messages meanwhile; find the row again.
    row = FindRowById(id);
    data = row >= 0 ? RowData(row) : nullptr;
    if (!data) {
        if (fresh) DestroyWindow(fresh);
        return;
    }
    if (data->snapshot) DestroyWindow(data->snapshot);
    data->snapshot = fresh;
}

// A new row with its snapshot from the list file; false when the folder
// already has one.
int AddRow(const std::string& folder, const std::string& list) {
    if (folder.empty() || list.empty() || FindRowByFolder(folder) >= 0) return -1;
    WatchRow* data = new (std::nothrow) WatchRow{nextRowId++, nullptr, false};
    if (!data) return -1;
    std::vector<std::string> known = ListedInFile(folder, list);
    data->snapshot = NewSnapshot(known);

    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(RowView());
    item.pszText = const_cast<char*>(folder.c_str());
    item.lParam = reinterpret_cast<LPARAM>(data);
    int row = ListView_InsertItem(RowView(), &item);
    if (row < 0) {
        if (data->snapshot) DestroyWindow(data->snapshot);
        delete data;
        return -1;
    }
    SetCell(row, COLUMN_LIST, list);
    SetCell(row, COLUMN_COUNT, known.size());
    SetCell(row, COLUMN_ADDED, "0");
    SetCell(row, COLUMN_REMOVED, "0");
    return data->id;
}

void OnAdd() {
    const std::string folder = NormalFolder(ControlText(IDFMFOLDER));
    const std::string list = ControlText(IDFMLISTS);
    if (list.empty() || !IsUsableFolder(folder)) return;
    std::vector<std::string> folders(1, folder);
    if (IsDlgButtonChecked(page, IDFMSUBFOLDERS) == BST_CHECKED) {
        std::vector<std::string> below = FindSubfolders(folder);
        folders.insert(folders.end(), below.begin(), below.end());
    }
    bool added = false;
    for (const std::string& each : folders) {
        int id = AddRow(each, list);
        if (id < 0) continue;
        added = true;
        Rescan(id);
    }
    if (!added) return;
    SaveRows();
    RestartWorker();
}

void OnRemove() {
    int row = ListView_GetNextItem(RowView(), -1, LVNI_SELECTED);
    if (row < 0) return;
    ListView_DeleteItem(RowView(), row);
    SaveRows();
    RestartWorker();
}

void OnClear() {
    ListView_DeleteAllItems(RowView());
    SaveRows();
    RestartWorker();
}

void OnBrowse() {
    if (!host) return;
    std::string current = ControlText(IDFMFOLDER);
    std::string prompt = Priv(kFolderPromptText, "TOOLTIP", language.c_str());
    s_selfolder request = {page, current.empty() ? nullptr : &current[0], &prompt[0]};
    HeapString chosen(reinterpret_cast<char*>(
        SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvChooseFolder, reinterpret_cast<LPARAM>(&request))));
    if (chosen) SetDlgItemTextA(page, IDFMFOLDER, chosen.get());
}

void SetIcon(int control, int icon) {
    HICON image = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, LR_SHARED));
    SendDlgItemMessageA(page, control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

void PreparePage() {
    const char* file = language.c_str();
    for (int id = IDFMHEAD; id <= IDFMCLEAR; ++id) SetDlgItemTextA(page, id, Priv(id, kSection, file));
    HWND view = RowView();
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int column = COLUMN_FOLDER; column <= COLUMN_REMOVED; ++column) {
        LVCOLUMNA entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        std::string title = Priv(column, kSection, file);
        entry.pszText = &title[0];
        entry.cx = ScaleForDpi(kColumnWidths[column]);
        entry.iSubItem = column;
        ListView_InsertColumn(view, column, &entry);
    }
    SetIcon(IDFMBROWSE, IDI_FMBROWSE);
    SetIcon(IDFMADD, IDI_FMADD);
    SetIcon(IDFMREMOVE, IDI_FMREMOVE);
    FillListNames();
}

INT_PTR CALLBACK FileMonFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            page = dialog;
            PreparePage();
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            switch (LOWORD(wParam)) {
            case IDFMADD: OnAdd(); return TRUE;
            case IDFMREMOVE: OnRemove(); return TRUE;
            case IDFMCLEAR: OnClear(); return TRUE;
            case IDFMBROWSE: OnBrowse(); return TRUE;
            }
            return FALSE;
        case WM_FOLDERCHANGED:
            // Each change starts the two seconds again, so a burst of copies
            // gives one rescan after the last of them.
            SetTimer(dialog, wParam, kRescanDelay, nullptr);
            return TRUE;
        case WM_TIMER:
            KillTimer(dialog, wParam);
            Rescan(static_cast<int>(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDFMWATCHLIST && header->code == LVN_DELETEITEM) {
                WatchRow* data = reinterpret_cast<WatchRow*>(reinterpret_cast<const NMLISTVIEW*>(lParam)->lParam);
                if (data) {
                    KillTimer(dialog, data->id);
                    if (data->snapshot) DestroyWindow(data->snapshot);
                    delete data;
                }
            }
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDFMHEAD) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, kHeadingColour);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return FALSE;
        case WM_DESTROY:
            StopWatching();
            ListView_DeleteAllItems(RowView());
            page = nullptr;
            return FALSE;
        }
    } catch (...) {
        // Out of memory: the message is dropped, the host goes on.
    }
    return FALSE;
}

}  // namespace

HWND CreateFileMonPage(HINSTANCE module, HWND panel, const char* languageFile) {
    instance = module;
    host = panel;
    language = languageFile ? languageFile : "";
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!page) CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_FILEMON), panel, FileMonFunc, 0);
    return page;
}

void LoadFileMonSettings(const char* settingsFile) {
    if (!page) return;
    settings = settingsFile ? settingsFile : "";
    if (host) {
        for (const auto& tip : kToolTips) {
            s_addtooltip request = {page, tip.control, tip.text};
            SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvAddToolTip, reinterpret_cast<LPARAM>(&request));
        }
    }
    const std::string file = SettingsFile();
    ListView_DeleteAllItems(RowView());
    for (int key = 0;; ++key) {
        HeapString value(GetKeyLong(file.c_str(), kSettingsSection, std::to_string(key).c_str()));
        if (!value) break;
        std::string folder, list;
        if (!SplitWatchValue(value.get(), folder, list)) continue;
        int id = AddRow(NormalFolder(folder), list);
        // Catch up with what changed while the program was not running.
        if (id >= 0) SetTimer(page, id, kRescanDelay, nullptr);
    }
    RestartWorker();
}

void FillListNames() {
    if (!page) return;
    HWND combo = GetDlgItem(page, IDFMLISTS);
    const std::string chosen = ControlText(IDFMLISTS);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    HeapString pattern(CreatePathFile("Lists", "*", ".lst"));
    WIN32_FIND_DATAA entry;
    HANDLE search = pattern ? FindFirstFileA(pattern.get(), &entry) : INVALID_HANDLE_VALUE;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_OFFLINE)) continue;
            std::string name = entry.cFileName;
            size_t dot = name.rfind('.');
            if (dot == std::string::npos || lstrcmpiA(name.c_str() + dot, ".lst") != 0) continue;
            name.resize(dot);
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    int index = chosen.empty() ? CB_ERR
                               : static_cast<int>(SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                               reinterpret_cast<LPARAM>(chosen.c_str())));
    SendMessageA(combo, CB_SETCURSEL, index == CB_ERR ? 0 : index, 0);
}

void StopFileMon() {
    StopWatching();
    resumeWatching = page != nullptr && ListView_GetItemCount(RowView()) > 0;
}

void ResumeFileMon() {
    if (resumeWatching && page) RestartWorker();
}
