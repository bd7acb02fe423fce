#include "engine/wall_lists.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/globals.h"
#include "base/save_failures.h"
#include "engine/image_binding.h"
#include "engine/list_file.h"
#include "engine/open_list.h"
#include "engine/unique_order.h"
#include "engine/wallpaper_events.h"
#include "engine/wallpaper_options.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

std::vector<std::string> pendingFiles;
HMENU hFileListMenu;
std::string currentDir;

namespace {

// The open list holds rows its file does not: its last save failed.
bool listNotSaved;

// A row of the list of lists.
struct ListRecord {
    std::string name;
    int count;
};

const char* const extens[] = {"gif", "bmp", "ico", "jpg", "jpeg", "emf", "wmf", "png"};

HWND ListOfLists() { return GetDlgItem(hFile, IDLISTLIST); }

bool IsUrl(const char* path) { return strstr(path, "ftp://") || strstr(path, "http://"); }

std::string Expanded(const std::string& path) {
    HeapString expanded(ExpandEnvStr(path.c_str()));
    return expanded ? expanded.get() : path;
}

ListRecord* RecordAt(int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!ListView_GetItem(ListOfLists(), &item)) return nullptr;
    return reinterpret_cast<ListRecord*>(item.lParam);
}

int RowOfList(const std::string& name) {
    int count = ListView_GetItemCount(ListOfLists());
    for (int row = 0; row < count; ++row) {
        ListRecord* record = RecordAt(row);
        if (record && lstrcmpiA(record->name.c_str(), name.c_str()) == 0) return row;
    }
    return -1;
}

void ClearPending() {
    pendingFiles.clear();
    pendingFiles.shrink_to_fit();
}

std::vector<std::string> PendingNewestFirst() { return std::vector<std::string>(pendingFiles.rbegin(), pendingFiles.rend()); }

std::vector<std::string> TakeRequestFiles(s_filetolist* request) {
    std::vector<std::string> newestFirst;
    for (s_filenode* node = request->sb; node;) {
        s_filenode* next = node->next;
        if (node->path) newestFirst.push_back(node->path);
        free(node->path);
        free(node);
        node = next;
    }
    request->sb = nullptr;
    return newestFirst;
}

}  // namespace


void ShowListMessage(int stringNumber, const char* caption) {
    MessageBoxA(hMain, Priv(stringNumber, "STRING", ini), caption, MB_OK | MB_ICONINFORMATION);
}

void LoadWallList() {
    wallList.Clear();
    listNotSaved = false;
    bool changed = false;
    std::string file = CreatePathList();
    std::string text;
    if (!file.empty() && ReadWholeFile(file, text)) {
        ParsedList parsed = ParseListText(text);
        std::string().swap(text);  // not kept beside the rows
        changed = parsed.changed;
        wallList.Adopt(std::move(parsed.rows), std::move(parsed.hashes), std::move(parsed.index));
    }
    RefreshWallListView();
    if (changed) SaveWallList(0);
    ClearUnikList();
    SetCurrentState(0);
}

void SavePendingWallList() {
    if (listNotSaved && !lastlist.empty()) SaveWallList(0);
}

void SaveWallList(int flag) {
    if (!lastlist.empty()) {
        std::string file = CreatePathList();
        // The count shown is the file's: it changes only when the file did.
        listNotSaved = !WriteListFile(file, wallList.rows());
        if (!listNotSaved) {
            ReportSaveSuccess(SAVE_FAILED_LIST);
            SetCountFilesInList(GetItemSel(hFile, IDLISTLIST), static_cast<int>(wallList.size()), lastlist.c_str());
        } else {
            ReportSaveFailure(SAVE_FAILED_LIST, file.c_str());
        }
    }
    if (flag == 1) GenerateUnikList();
}

void SetCountFilesInList(int row, int count, const char* name) {
    if (row < 0 || !name) return;
    if (ListRecord* record = RecordAt(row)) record->count = count;
    char text[32];
    snprintf(text, sizeof text, "%d", count);
    ListView_SetItemText(ListOfLists(), row, 1, text);
    if (hFileListMenu) {
        std::string label = std::string(name) + "\t- " + text;
        ModifyMenuA(hFileListMenu, static_cast<UINT>(row), MF_BYCOMMAND | MF_STRING |
                        (GetMenuState(hFileListMenu, row, MF_BYCOMMAND) & MF_CHECKED),
                    static_cast<UINT_PTR>(row), label.c_str());
    }
}

void CreatListList() {
    if (!hFileListMenu) hFileListMenu = CreatePopupMenu();
    while (GetMenuItemCount(hFileListMenu) > 0) DeleteMenu(hFileListMenu, 0, MF_BYPOSITION);
    HWND lists = ListOfLists();
    ListView_DeleteAllItems(lists);

    HeapString folder(CreatePathFile("Lists", nullptr, nullptr));
    if (folder) CreateDirectoryA(folder.get(), nullptr);
    if (folder && chdir_access(folder.get())) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA("*.lst", &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.dwFileAttributes & (FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_DIRECTORY)) continue;
                // A list kept read-only (or held open by another program) is
                // still a list: it is counted, and only a writable one gets
                // the trailer it lacks.
                FILE* file = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? nullptr
                                                                                : fopen(found.cFileName, "a+b");
                const bool writable = file != nullptr;
                if (!file) file = fopen(found.cFileName, "rb");
                if (!file) continue;
                const int count = GetCountFilesList(file, nullptr, writable);
                fclose(file);
                ListRecord* record = new ListRecord{ListNameOfFile(found.cFileName), count};
                LVITEMA item = {};
                item.mask = LVIF_TEXT | LVIF_PARAM;
                item.iItem = ListView_GetItemCount(lists);
                item.pszText = const_cast<char*>(record->name.c_str());
                item.lParam = reinterpret_cast<LPARAM>(record);
                ListView_InsertItem(lists, &item);
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
    }
    int rows = ListView_GetItemCount(lists);
    for (int row = 0; row < rows; ++row) {
        ListRecord* record = RecordAt(row);
        if (!record) continue;
        std::string label = record->name + "\t- " + std::to_string(record->count);
        InsertMenuA(hFileListMenu, static_cast<UINT>(row), MF_BYPOSITION | MF_STRING,
                    static_cast<UINT_PTR>(row), label.c_str());
        if (lstrcmpiA(record->name.c_str(), lastlist.c_str()) == 0)
            CheckMenuItem(hFileListMenu, static_cast<UINT>(row), MF_BYCOMMAND | MF_CHECKED);
    }
}

void OpenListAtRow(int row) {
    ListRecord* record = RecordAt(row);
    if (!record || lstrcmpiA(record->name.c_str(), lastlist.c_str()) == 0) return;
    SavePendingWallList();
    lastlist = record->name;
    if (startProgress) SetValueKeySet("KvFileList", lastlist.c_str());
    int count = GetMenuItemCount(hFileListMenu);
    for (int i = 0; i < count; ++i)
        CheckMenuItem(hFileListMenu, static_cast<UINT>(i), MF_BYPOSITION | (i == row ? MF_CHECKED : MF_UNCHECKED));
    LoadWallList();
    if (IsDlgButtonChecked(hFile, IDUPDATELIST) == BST_CHECKED) Exclude();
}

void OnListOfListsNotify(const NMHDR* header) {
    const NMLISTVIEW* item = reinterpret_cast<const NMLISTVIEW*>(header);
    switch (header->code) {
        case LVN_DELETEITEM:
            delete reinterpret_cast<ListRecord*>(item->lParam);
            break;
        case LVN_INSERTITEM: {
            const ListRecord* record = RecordAt(item->iItem);
            if (!record) break;
            char count[16];
            snprintf(count, sizeof count, "%d", record->count);
            ListView_SetItemText(header->hwndFrom, item->iItem, 1, count);
            break;
        }
        case LVN_ITEMCHANGED:
            if ((item->uChanged & LVIF_STATE) && (item->uNewState & LVIS_SELECTED) && !(item->uOldState & LVIS_SELECTED))
                OpenListAtRow(item->iItem);
            break;
        default:
            break;
    }
}

bool IsWallpaperCandidate(const char* path) {
    if (!path) return false;
    if (IsUrl(path)) return true;
    const char* dot = strrchr(path, '.');
    if (!dot) return false;
    for (const char* extension : extens)
        if (lstrcmpiA(dot + 1, extension) == 0) return true;
    return false;
}

void addkvfile(const char* path) {
    if (IsWallpaperCandidate(path)) pendingFiles.push_back(path);
}

void SearchF() {
    char here[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof here - 1, here);
    if (!length || length >= sizeof here - 1) return;
    std::string directory = here;
    if (directory.back() != '\\') directory += '\\';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.*", &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_OFFLINE) continue;
        std::string entry = directory + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !SetCurrentDirectoryA(entry.c_str())) {
            addkvfile(entry.c_str());
            continue;
        }
        SearchF();
        SetCurrentDirectoryA(directory.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

bool AddFiles() {
    const int selected = GetCurrentRow();
    const size_t added = wallList.AddAtTop(PendingNewestFirst());
    ClearPending();
    if (!added) return false;
    RefreshWallListView();
    // The rows went in above the current picture: it stays selected at its
    // new row before the new random order is drawn from it.
    SetCurrentState(selected >= 0 ? selected + static_cast<int>(added) : -1);
    SaveWallList(1);
    return true;
}

bool RemoveFiles() {
    if (wallList.empty()) {
        ClearPending();
        return false;
    }
    size_t removed = wallList.Remove(pendingFiles);
    ClearPending();
    if (removed) RefreshWallListView();
    return removed != 0;
}

bool RemoveFolder(const char* folder) {
    if (!folder || !*folder) return false;
    size_t removed = wallList.RemoveFolder(folder);
    if (removed) RefreshWallListView();
    return removed != 0;
}

void Exclude() {
    const int selected = GetCurrentRow();
    const size_t removed = wallList.RemoveUnless([&](const WallRow& row) {
        PaceListWork();
        if (IsUrl(row.path.c_str())) return true;
        DWORD attributes = GetFileAttributesA(Expanded(row.path).c_str());
        // The failure value has the offline bit too.
        return !(attributes & FILE_ATTRIBUTE_OFFLINE);
    });
    // A list with nothing missing keeps its file and its random order: the
    // order runs across restarts, and this runs at every start and switch.
    if (!removed) return;
    RefreshWallListView();
    SaveWallList(1);
    SetCurrentState(selected);
}

bool DelFile() {
    const int selected = GetCurrentRow();
    if (lastlist.empty() || lastsel.empty() || selected < 0) {
        ShowListMessage(21);
        return false;
    }
    const std::string stored = lastsel;
    const std::string path = Expanded(stored);
    if (AskBeforeDeleteChosen()) {
        SetForegroundWindow(hMain);
        if (MessageBoxA(hMain, path.c_str(), "Delete ?", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return false;
    }
    bool deleted;
    if (RecycleBinChosen()) {
        std::string from = path + '\0';  // double zero ends the list
        SHFILEOPSTRUCTA operation = {};
        operation.hwnd = hMain;
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
        deleted = SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
    } else {
        deleted = DeleteFileA(path.c_str()) != 0;
    }
    if (!deleted) return false;
    int row = wallList.Find(stored);
    if (row >= 0) {
        wallList.EraseAt(static_cast<size_t>(row));
        RefreshWallListView();
        SaveWallList(0);
        EditUnikList(static_cast<uint32_t>(row));
        if (row == selected) SetCurrentState(row);
    }
    return true;
}

s_filetolist* putToListFile(s_filetolist* request, const char* suffix, bool add) {
    if (!request || !request->namelist) return request;
    const std::string name = request->namelist;
    std::vector<std::string> newestFirst;
    for (s_filenode* node = request->sb; node; node = node->next)
        if (node->path) newestFirst.push_back(node->path);
    const std::string file = ListFilePath(name, ".lst");
    int count = AppendToListFile(file, newestFirst, suffix, add);
    // Not saved: the request keeps its files, so the plug-in knows.
    if (count == LIST_FILE_NOT_SAVED) ReportSaveFailure(SAVE_FAILED_LIST, file.c_str());
    if (count < 0) return request;
    // The open list still unsaved keeps its failure told.
    if (!listNotSaved) ReportSaveSuccess(SAVE_FAILED_LIST);
    TakeRequestFiles(request);
    int row = RowOfList(name);
    if (row >= 0) SetCountFilesInList(row, count, name.c_str());
    return request;
}

s_filenode* AddFilesToList(s_filetolist* request) {
    if (!request || !request->sb || !request->namelist) return request ? request->sb : nullptr;
    if (!lastlist.empty() && lstrcmpiA(request->namelist, lastlist.c_str()) == 0) {
        std::vector<std::string> newestFirst = TakeRequestFiles(request);
        pendingFiles.assign(newestFirst.rbegin(), newestFirst.rend());
        AddFiles();
    } else {
        putToListFile(request, "#0", true);
    }
    return request->sb;
}

s_filenode* DelFilesFromList(s_filetolist* request) {
    if (!request || !request->sb || !request->namelist) return request ? request->sb : nullptr;
    if (!lastlist.empty() && lstrcmpiA(request->namelist, lastlist.c_str()) == 0) {
        const int selected = GetCurrentRow();
        std::vector<std::string> newestFirst = TakeRequestFiles(request);
        pendingFiles.assign(newestFirst.rbegin(), newestFirst.rend());
        if (RemoveFiles()) {
            SaveWallList(1);
            SetCurrentState(selected);
        }
    } else {
        putToListFile(request, ">", false);
    }
    return request->sb;
}
