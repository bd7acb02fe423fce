// The programs running now, and the user's list of programs during whose run
// the wallpaper must not change (section "Process" of the settings file).
// PSAPI and tool-help are bound at run time: either may be missing.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

// A program file name of the exclusion list; new nodes go to the head.
struct s_window {
    char* name;
    s_window* psw;
};
extern s_window* sbproc;

typedef BOOL(WINAPI* EnumProcessesFunction)(DWORD*, DWORD, DWORD*);
typedef BOOL(WINAPI* EnumProcessModulesFunction)(HANDLE, HMODULE*, DWORD, DWORD*);
typedef DWORD(WINAPI* GetModuleFileNameExFunction)(HANDLE, HMODULE, LPSTR, DWORD);
typedef DWORD(WINAPI* GetLongPathNameFunction)(LPCSTR, LPSTR, DWORD);
typedef BOOL(WINAPI* QueryFullProcessImageNameFunction)(HANDLE, DWORD, LPSTR, DWORD*);
typedef HANDLE(WINAPI* CreateToolhelp32SnapshotFunction)(DWORD, DWORD);
typedef BOOL(WINAPI* Process32Function)(HANDLE, LPPROCESSENTRY32);

// Bound functions, none while unbound (tests may put their own in).
extern HMODULE hPsAPI, hToolH32;
extern EnumProcessesFunction pEnumProcesses;
extern EnumProcessModulesFunction pEnumProcessModules;
extern GetModuleFileNameExFunction pGetModuleFileNameEx;
extern GetLongPathNameFunction pGetLongPathName;
// Windows Vista and later: a program's path where PSAPI cannot read it (a
// 32-bit program looking at a 64-bit one).
extern QueryFullProcessImageNameFunction pQueryFullProcessImageName;
extern CreateToolhelp32SnapshotFunction pCreateToolhelp32Snapshot;
extern Process32Function pProcess32First, pProcess32Next;

// "PSAPI.DLL" and its three functions; "KERNEL32.DLL" for the long names
// and the limited query.
void PsAPIFunctions();
// The snapshot functions of the already loaded "KERNEL32.DLL".
void ToolH32Functions();
// Both libraries released and every function unbound.
void FreeProcessFunctions();
// The exclusion switched on (functions bound, list loaded) or off (both
// released).
void StartProcessExclusion();
void StopProcessExclusion();

// The "Process" section into sbproc (keys "0", "1", ... up to the first gap).
void LoadProcList();
// Clears the "Process" section and frees every node.
void FreeProcList();
// Frees the nodes, leaving the settings file alone.
void ReleaseProcList();
// The entries of list box 14003 of the window into sbproc and the section.
void SaveProcList(HWND hwnd);

// type 0: list box 14004 of hwnd gets every running program's name once.
// type 1: 1 when a running program is on the exclusion list (case ignored);
// 0 without enumerating when the list is empty.
int ProcViewCreate(HWND hwnd, int type);

// The file name part of a path (after the last backslash).
const char* ProgramName(const char* path);
