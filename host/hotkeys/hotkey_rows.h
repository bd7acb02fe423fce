// Hot keys: one row per command in the hot-key list, each a label, a
// "Win +" box and a hot-key editor. The keys are registered with the system
// (they arrive as WM_HOTKEY) or, when registration is not chosen, the
// keyboard is polled by timer 5.
#pragma once

#include <windows.h>

#include "hotkeys/keyset.h"
#include "ids_hotkeys.h"

// The host's own rows; plug-ins' rows follow them.
const int BUILTIN_HOTKEYS = 12;
// Rows made so far (they are never removed).
extern int countHotKey;

// Adds row countHotKey (the caller increments the count) and loads its two
// values from section "HotKey" of the settings file user.
void CreateHotKeysSettings(const char* user, const char* descr, const char* keynameWin, const char* keynameHot,
                           DravonexFunction pDravonex);
// The 12 built-in rows ("Win1".."Win12", "KvShortCut1".."KvShortCut12").
void CreateBuiltInHotKeys(const char* user);

void RegisterKeys();
// Registers one row (by its box, editor and label ids); a refusal warns.
void RegisterKey(int IDW, int IDH, int IDS);
void UnRegisterKey();
// Runs the command of hot-key id n.
void HotKeyRun(int n);
// 1 when that combination (an editor's value) is held down now.
int KeyPush(WORD HotKey, int WinKey);
// Stores every row's combination (none deletes the key).
void SaveHotKey();
// Every row to Ctrl+Shift with A, B, C ... in row order.
void SetDefaultHotKeys();
// The polling tick.
void OnTimer05();

// Hot keys on as chosen (KvKeyReg: registered, else polled), or off.
void StartHotKeys();
void StopHotKeys();

// An editor's value: the key code in the low byte, HOTKEYF_ flags above.
WORD RowCombination(int row);
bool RowWantsWinKey(int row);

// The keys that must be down for a combination (pure): the key code, then
// Shift, Ctrl, Alt as its modifiers ask. None for a combination without a
// key. Returns how many of keys[4] were filled.
int KeysToTest(WORD combination, int keys[4]);
// Where a row's columns go in a list of that client width (pixels).
struct HotKeyColumns {
    int labelWidth, editorWidth, winX, editorX;
};
HotKeyColumns HotKeyRowColumns(int listWidth);
// The system's MOD_ flags for a combination.
UINT HotKeyModifiers(WORD combination, bool winKey);

// The system calls behind hot keys, replaceable so tests do not depend on
// what other programs hold, nor wait on a message box; none restores the
// system's own. Each returns the previous function.
typedef BOOL(WINAPI* RegisterHotKeyFunction)(HWND, int, UINT, UINT);
typedef BOOL(WINAPI* UnregisterHotKeyFunction)(HWND, int);
typedef int(WINAPI* MessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT);
typedef SHORT(WINAPI* KeyStateFunction)(int);
RegisterHotKeyFunction SetRegisterHotKeyFunction(RegisterHotKeyFunction function);
UnregisterHotKeyFunction SetUnregisterHotKeyFunction(UnregisterHotKeyFunction function);
MessageBoxFunction SetHotKeyWarningFunction(MessageBoxFunction function);
KeyStateFunction SetKeyStateFunction(KeyStateFunction function);

// Row 0 starts the screen saver and row 10 checks for a new version: those
// features set these when they arrive. Unset, the rows do nothing.
struct HotKeyCommands {
    void (*runScreenSaver)() = nullptr;
    void (*checkUpdate)(HWND owner) = nullptr;
};
void SetHotKeyCommands(const HotKeyCommands& commands);
