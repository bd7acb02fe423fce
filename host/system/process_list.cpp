#include "system/process_list.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "ids_procview.h"
#include "kvinifunction.h"
#include "procaddress.h"
#include "scopedwin.h"

s_window* sbproc;

HMODULE hPsAPI, hToolH32;
EnumProcessesFunction pEnumProcesses;
EnumProcessModulesFunction pEnumProcessModules;
GetModuleFileNameExFunction pGetModuleFileNameEx;
GetLongPathNameFunction pGetLongPathName;
QueryFullProcessImageNameFunction pQueryFullProcessImageName;
CreateToolhelp32SnapshotFunction pCreateToolhelp32Snapshot;
Process32Function pProcess32First, pProcess32Next;

namespace {

const char kSection[] = "Process";
const DWORD kMaxProcesses = 1024;
// PROCESS_QUERY_LIMITED_INFORMATION, named here: the headers for Windows XP
// leave it out.
const DWORD kQueryLimitedInformation = 0x1000;

void PushName(const char* name) {
    s_window* node = static_cast<s_window*>(malloc(sizeof(s_window)));
    if (!node) return;
    node->name = _strdup(name);
    if (!node->name) {
        free(node);
        return;
    }
    node->psw = sbproc;
    sbproc = node;
}

// The path of a process's program through PSAPI, which a 32-bit program
// cannot use on a 64-bit one (and nobody on a protected one).
bool PsApiProgramPath(DWORD id, char* path, DWORD size) {
    ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process.valid()) return false;
    HMODULE module = nullptr;
    DWORD needed = 0;
    return pEnumProcessModules(process.get(), &module, sizeof module, &needed) &&
           pGetModuleFileNameEx(process.get(), module, path, size);
}

// The same through the limited query of Windows Vista and later, which
// sees programs of either kind.
bool QueriedProgramPath(DWORD id, char* path, DWORD size) {
    if (!pQueryFullProcessImageName) return false;
    ScopedHandle process(OpenProcess(kQueryLimitedInformation, FALSE, id));
    DWORD length = size;
    return process.valid() && pQueryFullProcessImageName(process.get(), 0, path, &length) && length < size;
}

// Calls visit with every running program's name until it answers true;
// true when it did.
bool EnumeratePsApi(const std::function<bool(const char*)>& visit) {
    DWORD ids[kMaxProcesses];
    DWORD bytes = 0;
    if (!pEnumProcesses(ids, sizeof ids, &bytes)) return false;
    const DWORD count = bytes / sizeof(DWORD);
    for (DWORD i = 0; i < count && i < kMaxProcesses; ++i) {
        char path[MAX_PATH] = "";
        if (!PsApiProgramPath(ids[i], path, sizeof path) && !QueriedProgramPath(ids[i], path, sizeof path)) continue;
        path[sizeof path - 1] = '\0';
        if (pGetLongPathName) {
            char longPath[MAX_PATH];
            const DWORD length = pGetLongPathName(path, longPath, sizeof longPath);
            if (length > 0 && length < sizeof longPath) lstrcpynA(path, longPath, sizeof path);
        }
        if (visit(ProgramName(path))) return true;
    }
    return false;
}

bool EnumerateSnapshot(const std::function<bool(const char*)>& visit) {
    ScopedHandle snapshot(pCreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid()) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = pProcess32First(snapshot.get(), &entry); more; more = pProcess32Next(snapshot.get(), &entry)) {
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        if (visit(ProgramName(entry.szExeFile))) return true;
    }
    return false;
}

bool Enumerate(const std::function<bool(const char*)>& visit) {
    if (hPsAPI && pEnumProcesses && pEnumProcessModules && pGetModuleFileNameEx) return EnumeratePsApi(visit);
    if (hToolH32 && pCreateToolhelp32Snapshot && pProcess32First && pProcess32Next) return EnumerateSnapshot(visit);
    return false;
}

bool Excluded(const char* name) {
    for (const s_window* node = sbproc; node; node = node->psw)
        if (lstrcmpiA(node->name, name) == 0) return true;
    return false;
}

}  // namespace

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the snapshot record of the ANSI functions");
#endif

const char* ProgramName(const char* path) {
    const char* slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

void PsAPIFunctions() {
    if (!hPsAPI) hPsAPI = LoadLibraryA("PSAPI.DLL");
    pEnumProcesses = GetProcAddressAs<EnumProcessesFunction>(hPsAPI, "EnumProcesses");
    pEnumProcessModules = GetProcAddressAs<EnumProcessModulesFunction>(hPsAPI, "EnumProcessModules");
    pGetModuleFileNameEx = GetProcAddressAs<GetModuleFileNameExFunction>(hPsAPI, "GetModuleFileNameExA");
    if (!hToolH32) hToolH32 = LoadLibraryA("KERNEL32.DLL");
    pGetLongPathName = GetProcAddressAs<GetLongPathNameFunction>(hToolH32, "GetLongPathNameA");
    pQueryFullProcessImageName =
        GetProcAddressAs<QueryFullProcessImageNameFunction>(hToolH32, "QueryFullProcessImageNameA");
}

void ToolH32Functions() {
    pCreateToolhelp32Snapshot = GetProcAddressAs<CreateToolhelp32SnapshotFunction>(hToolH32, "CreateToolhelp32Snapshot");
    pProcess32First = GetProcAddressAs<Process32Function>(hToolH32, "Process32First");
    pProcess32Next = GetProcAddressAs<Process32Function>(hToolH32, "Process32Next");
}

void FreeProcessFunctions() {
    pEnumProcesses = nullptr;
    pEnumProcessModules = nullptr;
    pGetModuleFileNameEx = nullptr;
    pGetLongPathName = nullptr;
    pQueryFullProcessImageName = nullptr;
    pCreateToolhelp32Snapshot = nullptr;
    pProcess32First = nullptr;
    pProcess32Next = nullptr;
    if (hPsAPI) FreeLibrary(hPsAPI);
    if (hToolH32) FreeLibrary(hToolH32);
    hPsAPI = hToolH32 = nullptr;
}

void StartProcessExclusion() {
    PsAPIFunctions();
    if (!hPsAPI) ToolH32Functions();
    LoadProcList();
}

void StopProcessExclusion() {
    FreeProcessFunctions();
    ReleaseProcList();
}

void LoadProcList() {
    ReleaseProcList();
    HeapString file(SetUsetExtenPath(".set"));
    if (!file) return;
    for (int index = 0;; ++index) {
        char key[16];
        snprintf(key, sizeof key, "%d", index);
        HeapString name(GetKey(file.get(), kSection, key, nullptr));
        if (!name) break;
        PushName(name.get());
    }
}

void ReleaseProcList() {
    while (sbproc) {
        s_window* next = sbproc->psw;
        free(sbproc->name);
        free(sbproc);
        sbproc = next;
    }
}

void FreeProcList() {
    HeapString file(SetUsetExtenPath(".set"));
    if (file) SetKey(file.get(), kSection, nullptr, nullptr);
    ReleaseProcList();
}

void SaveProcList(HWND hwnd) {
    HeapString file(SetUsetExtenPath(".set"));
    HWND list = GetDlgItem(hwnd, IDPROCEXCLUDED);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    // Keys are numbered without gaps: loading stops at the first missing one.
    int key = 0;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length <= 0) continue;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(strlen(text.c_str()));
        if (text.empty()) continue;
        PushName(text.c_str());
        char name[16];
        snprintf(name, sizeof name, "%d", key++);
        if (file) SetKey(file.get(), kSection, name, text.c_str());
    }
}

int ProcViewCreate(HWND hwnd, int type) {
    if (type == 1) {
        if (!sbproc) return 0;
        return Enumerate([](const char* name) { return Excluded(name); }) ? 1 : 0;
    }
    HWND running = GetDlgItem(hwnd, IDPROCRUNNING);
    if (!running) return 0;
    Enumerate([running](const char* name) {
        if (*name && SendMessageA(running, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) == LB_ERR)
            SendMessageA(running, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        return false;
    });
    return 0;
}
