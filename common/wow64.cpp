#include "wow64.h"

#include "procaddress.h"

namespace {

typedef BOOL(WINAPI* IsWow64ProcessFunction)(HANDLE, BOOL*);

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace

bool RunningUnderWow64() {
    if (sizeof(void*) == 8) return false;
    // Looked up: Windows XP before SP2 and Windows 2000 lack it.
    static const IsWow64ProcessFunction isWow64 =
        GetProcAddressAs<IsWow64ProcessFunction>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

REGSAM NativeRegistryView() { return RunningUnderWow64() ? KEY_WOW64_64KEY : 0; }

std::string NativeSystemFolderAlias() {
    if (!RunningUnderWow64()) return "";
    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows) return "";
    // Windows Vista and later; XP x64 has it only with an update.
    const std::string alias = WithBackslash(windows) + "Sysnative";
    const DWORD attributes = GetFileAttributesA(alias.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? alias : "";
}

std::string OpenablePath(const std::string& path) {
    const std::string alias = NativeSystemFolderAlias();
    if (alias.empty() || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) return path;
    const std::string folder = WithBackslash(system);
    if (path.size() <= folder.size() || lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) != 0)
        return path;
    const std::string native = WithBackslash(alias) + path.substr(folder.size());
    return GetFileAttributesA(native.c_str()) != INVALID_FILE_ATTRIBUTES ? native : path;
}
