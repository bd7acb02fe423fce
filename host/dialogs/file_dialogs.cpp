#include "dialogs/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/globals.h"
#include "engine/wall_lists.h"
#include "createpathfile.h"
#include "scopedwin.h"

namespace {

const char kPictureFilter[] =
    "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png)\0*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.png\0"
    "CompuServe GIF Image (*.gif)\0*.gif\0"
    "JPEG Image File (*.jpg;*.jpeg)\0*.jpg;*.jpeg\0"
    "Bitmaps (*.bmp)\0*.bmp\0"
    "Icons (*.ico)\0*.ico\0"
    "Metafiles (*.emf;*.wmf)\0*.emf;*.wmf\0"
    "Portable Network Graphics (*.png)\0*.png\0";

std::string ProgramFolder() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    std::string path = folder ? folder.get() : "";
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void AddChosen(const std::string& folder, const std::string& name) {
    if (name.size() <= 4) return;
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    addkvfile((path + name).c_str());
}

}  // namespace

int CALLBACK BrowseCallbackProc(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const char* start = reinterpret_cast<const char*>(data);
        std::string folder = start && *start ? start : ProgramFolder();
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    }
    return 0;
}

char* GetFolder(HWND owner, const char* start, const char* title) {
    char display[MAX_PATH] = "";
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = display;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = BrowseCallbackProc;
    browse.lParam = reinterpret_cast<LPARAM>(start);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen) return nullptr;
    char path[MAX_PATH] = "";
    BOOL ok = SHGetPathFromIDListA(chosen, path);
    CoTaskMemFree(chosen);
    return ok && path[0] ? _strdup(path) : nullptr;
}

void CollectChosenFiles(const char* folder, const char* names) {
    if (!names) return;
    const std::string base = folder ? folder : "";
    if (!strchr(names, '"')) {
        AddChosen(base, names);
        return;
    }
    std::vector<std::string> quoted;
    for (const char* p = strchr(names, '"'); p;) {
        const char* end = strchr(p + 1, '"');
        if (!end) break;
        quoted.emplace_back(p + 1, end);
        p = strchr(end + 1, '"');
    }
    for (auto it = quoted.rbegin(); it != quoted.rend(); ++it) AddChosen(base, *it);
}

UINT_PTR CALLBACK HookProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != CDN_FILEOK) return 0;
    HWND dialog = GetParent(hwnd);
    char folder[MAX_PATH] = "";
    SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
    std::string remembered = folder;
    if (remembered.size() > 3 && remembered.back() == '\\') remembered.pop_back();
    currentDir = remembered;
    // The file-name box holds the chosen names, however many there are.
    int length = static_cast<int>(SendMessageA(dialog, CDM_GETSPEC, 0, 0));
    if (length <= 0) return 0;
    std::vector<char> names(static_cast<size_t>(length) + 1);
    SendMessageA(dialog, CDM_GETSPEC, static_cast<WPARAM>(names.size()), reinterpret_cast<LPARAM>(names.data()));
    CollectChosenFiles(folder, names.data());
    return 0;
}

bool GetOpenFileNameKv(const char* title) {
    std::vector<char> buffer(65536, '\0');
    std::string start = currentDir.empty() ? ProgramFolder() : currentDir;
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hMain;
    dialog.hInstance = hInS;
    dialog.lpstrFilter = kPictureFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = start.c_str();
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
    dialog.lpfnHook = HookProc;
    if (GetOpenFileNameA(&dialog)) return true;
    // The hook has the names even when they did not fit the buffer.
    return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
}

char* OpenSingleFileDialog(HWND howner, const char* filter, const char* title, const char* ext, int OpenSave) {
    char path[1024] = "";
    char here[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof here, here);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = howner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = here;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (OpenSave ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    BOOL ok = OpenSave ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (!ok || !path[0]) return nullptr;
    std::string chosen = path;
    if (!OpenSave && ext && *ext) {
        size_t length = strlen(ext);
        if (chosen.size() < length || lstrcmpiA(chosen.c_str() + chosen.size() - length, ext) != 0) chosen += ext;
    }
    return _strdup(chosen.c_str());
}
