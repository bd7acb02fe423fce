#include "screensavers/saver_menu.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/globals.h"
#include "base/menudata.h"
#include "kvfunction.h"
#include "wow64.h"

HMENU hSCRMenu;

namespace {

menudata* RecordOf(int id) {
    if (!hSCRMenu || id < 1) return nullptr;
    return static_cast<menudata*>(getMenuData(static_cast<UINT>(id), hSCRMenu, TRUE));
}

std::string FolderWithBackslash(const char* dir) {
    std::string folder = dir ? dir : "";
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// Whether a saver item already holds the file at path (any case, short or
// long form).
bool Listed(const std::string& path) {
    const std::string shortPath = ShortPathOf(path.c_str());
    for (int id = GetMenuItemCount(hSCRMenu) - 1; id >= 1; --id) {
        const menudata* record = RecordOf(id);
        if (record && record->data &&
            (lstrcmpiA(record->data, path.c_str()) == 0 || lstrcmpiA(record->data, shortPath.c_str()) == 0))
            return true;
    }
    return false;
}

std::string SystemFolder(UINT(WINAPI* query)(LPSTR, UINT)) {
    char path[MAX_PATH] = "";
    const UINT length = query(path, sizeof path);
    return length && length < sizeof path ? path : "";
}

}  // namespace

std::string SaverDisplayName(const char* description, const char* fileName) {
    std::string text = description ? description : "";
    const size_t first = text.find('"'), last = text.rfind('"');
    if (first != std::string::npos && last != first) text = text.substr(first + 1, last - first - 1);
    if (!text.empty()) return text;
    std::string name = fileName ? fileName : "";
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::string FileDescription(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!size) return std::string();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return std::string();

    // The user's language first, then every translation the file names,
    // then the usual English blocks.
    std::vector<DWORD> blocks;
    const WORD language = GetUserDefaultLangID();
    blocks.push_back(MAKELONG(1200, language));
    blocks.push_back(MAKELONG(1252, language));
    WORD* translations = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) &&
        translations)
        for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) blocks.push_back(MAKELONG(translations[i + 1], translations[i]));
    blocks.push_back(MAKELONG(1200, 0x0409));
    blocks.push_back(MAKELONG(1252, 0x0409));

    for (DWORD block : blocks) {
        char key[64];
        snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileDescription", HIWORD(block), LOWORD(block));
        char* value = nullptr;
        UINT valueLength = 0;
        if (VerQueryValueA(data.data(), key, reinterpret_cast<void**>(&value), &valueLength) && value && valueLength &&
            *value)
            return std::string(value, strnlen(value, valueLength));
    }
    return std::string();
}

std::string ShortPathOf(const char* path) {
    char shortPath[MAX_PATH] = "";
    const DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    return length && length < sizeof shortPath ? shortPath : path;
}

void CreateScreenSaverMenu() {
    hSCRMenu = CreatePopupMenu();
    AppendMenuA(hSCRMenu, MF_STRING, 0, "<no>");
}

int FindFile(const char* dir, const char* ext, int c, const char* namedAs) {
    if (!hSCRMenu) return c;
    const std::string folder = FolderWithBackslash(dir);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + ext).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return c;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string full = folder + found.cFileName;
        // A file reached through another name of its folder is recorded
        // under the name the system knows, once.
        std::string path = ShortPathOf(full.c_str());
        if (namedAs) {
            path = FolderWithBackslash(ShortPathOf(namedAs).c_str()) +
                   (found.cAlternateFileName[0] ? found.cAlternateFileName : found.cFileName);
            if (Listed(FolderWithBackslash(namedAs) + found.cFileName)) continue;
        }
        const std::string name = SaverDisplayName(FileDescription(full.c_str()).c_str(), found.cFileName);
        SHFILEINFOA info = {};
        HICON icon = SHGetFileInfoA(full.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) ? info.hIcon
                                                                                                       : nullptr;
        menudata* record = NewMenuData(name.c_str(), icon, path.c_str());
        if (!record || !record->data) {
            FreeMenuData(record);
            if (icon) DestroyIcon(icon);
            continue;
        }
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
        item.fType = MFT_OWNERDRAW;
        item.wID = static_cast<UINT>(c + 1);
        item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        if (!InsertMenuItemA(hSCRMenu, static_cast<UINT>(c + 1), TRUE, &item)) {
            FreeMenuData(record);
            if (icon) DestroyIcon(icon);
            continue;
        }
        ++c;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return c;
}

void FindScreenSavers() {
    if (!hSCRMenu) return;
    while (GetMenuItemCount(hSCRMenu) > 1) {
        if (menudata* record = RecordOf(1)) {
            // The icons came from the shell for this menu alone.
            if (record->hIcon) DestroyIcon(record->hIcon);
            FreeMenuData(record);
        }
        DeleteMenu(hSCRMenu, 1, MF_BYPOSITION);
    }
    const std::string system = SystemFolder(GetSystemDirectoryA);
    int last = FindFile(SystemFolder(GetWindowsDirectoryA).c_str(), "*.scr", 0);
    last = FindFile(system.c_str(), "*.scr", last);
    // A 32-bit program on 64-bit Windows sees SysWOW64 as its system folder;
    // the savers only the real System32 holds come through its alias, under
    // the System32 name the system's own setting uses.
    const std::string native = NativeSystemFolderAlias();
    if (!native.empty()) FindFile(native.c_str(), "*.scr", last, system.c_str());
}

int ScreenSaverCount() {
    const int count = hSCRMenu ? GetMenuItemCount(hSCRMenu) : 0;
    return count > 1 ? count - 1 : 0;
}

const char* ScreenSaverPath(int id) {
    const menudata* record = RecordOf(id);
    return record ? record->data : nullptr;
}

const char* ScreenSaverName(int id) {
    const menudata* record = RecordOf(id);
    return record ? record->text : nullptr;
}

void TrackScreenSaverMenu() {
    if (!hSCRMenu) return;
    POINT pointer;
    GetCursorPos(&pointer);
    SetForegroundWindow(hHide);
    TrackPopupMenu(hSCRMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, hHide, nullptr);
    PostMessageA(hHide, WM_NULL, 0, 0);
}
