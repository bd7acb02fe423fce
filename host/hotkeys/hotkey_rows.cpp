#include "hotkeys/hotkey_rows.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/control_values.h"
#include "base/globals.h"
#include "base/main_menu_state.h"
#include "base/timer_ids.h"
#include "engine/change_cycle.h"
#include "engine/wall_lists.h"
#include "hotkeys/row_list.h"
#include "ids_lists.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "screen_dpi.h"

int countHotKey;

namespace {

// Row geometry in pixels at 96 DPI (scaled for the screen where used): 21
// pixels a row; label, "Win +" box, editor.
const int kRowPitch = 21;
const int kLabelWidth = 226, kLabelHeight = 16, kLabelGap = 22;
const int kWinWidth = 55, kWinHeight = 16, kWinGap = 9;
const int kEditorWidth = 190, kEditorHeight = 19;
const int kNarrowestLabel = 130;

const char kSection[] = "HotKey";
const char kWriteSection[] = "hotkey";
const int kRefusedText = 23;    // section "STRING"
const int kRunHotKey = 4;       // plug-in command: one of its hot keys fired
const DWORD kPollQuiet = 1000;  // one press fires once

RegisterHotKeyFunction registerHotKey = RegisterHotKey;
UnregisterHotKeyFunction unregisterHotKey = UnregisterHotKey;
MessageBoxFunction warningBox = MessageBoxA;
KeyStateFunction keyState = GetAsyncKeyState;
HotKeyCommands commands;

// Polling: a fired row keeps the keyboard quiet until this time.
bool pollQuiet;
DWORD pollQuietUntil;
// A row's command may open a message box, whose loop runs timer 5 again.
bool pollRunning;

bool Down(int key) { return keyState(key) < 0; }

// The command of a main-menu item, run exactly as if the user chose it.
void RunMenuCommand(int id) {
    if (!hMainMenu) return;
    SendMessageA(hHide, WM_MENUSELECT, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(hMainMenu));
    SendMessageA(hHide, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

std::string RowLabel(int row) {
    char text[260] = "";
    GetDlgItemTextA(hHotKey, IDSTA1 + row, text, sizeof text);
    return text;
}

}  // namespace

RegisterHotKeyFunction SetRegisterHotKeyFunction(RegisterHotKeyFunction function) {
    RegisterHotKeyFunction previous = registerHotKey;
    registerHotKey = function ? function : RegisterHotKey;
    return previous;
}

UnregisterHotKeyFunction SetUnregisterHotKeyFunction(UnregisterHotKeyFunction function) {
    UnregisterHotKeyFunction previous = unregisterHotKey;
    unregisterHotKey = function ? function : UnregisterHotKey;
    return previous;
}

MessageBoxFunction SetHotKeyWarningFunction(MessageBoxFunction function) {
    MessageBoxFunction previous = warningBox;
    warningBox = function ? function : MessageBoxA;
    return previous;
}

KeyStateFunction SetKeyStateFunction(KeyStateFunction function) {
    KeyStateFunction previous = keyState;
    keyState = function ? function : GetAsyncKeyState;
    return previous;
}

void SetHotKeyCommands(const HotKeyCommands& hooks) { commands = hooks; }

int KeysToTest(WORD combination, int keys[4]) {
    const int key = LOBYTE(combination);
    if (!key) return 0;
    // The extended-key flag only tells which of two keys of a name was
    // meant; the modifiers still count.
    const int modifiers = HIBYTE(combination) & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
    int count = 0;
    keys[count++] = key;
    if (modifiers & HOTKEYF_SHIFT) keys[count++] = VK_SHIFT;
    if (modifiers & HOTKEYF_CONTROL) keys[count++] = VK_CONTROL;
    if (modifiers & HOTKEYF_ALT) keys[count++] = VK_MENU;
    return count;
}

UINT HotKeyModifiers(WORD combination, bool winKey) {
    const int flags = HIBYTE(combination);
    UINT modifiers = winKey ? MOD_WIN : 0;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return modifiers;
}

int KeyPush(WORD HotKey, int WinKey) {
    int keys[4];
    const int count = KeysToTest(HotKey, keys);
    if (!count) return 0;
    if (WinKey && !Down(VK_LWIN) && !Down(VK_RWIN)) return 0;
    for (int i = 0; i < count; ++i)
        if (!Down(keys[i])) return 0;
    return 1;
}

HotKeyColumns HotKeyRowColumns(int listWidth) {
    HotKeyColumns columns = {ScaleForDpi(kLabelWidth), ScaleForDpi(kEditorWidth), 0, 0};
    // A list narrower than the full row (larger fonts, fewer pixels a
    // dialog unit) takes it from the label first, then from the editor.
    const int spare = listWidth - ScaleForDpi(4 + kLabelWidth + kLabelGap + kWinWidth + kWinGap + kEditorWidth);
    if (spare < 0) {
        columns.labelWidth += spare;
        const int narrowest = ScaleForDpi(kNarrowestLabel);
        if (columns.labelWidth < narrowest) {
            columns.editorWidth -= narrowest - columns.labelWidth;
            columns.labelWidth = narrowest;
        }
    }
    columns.winX = columns.labelWidth + ScaleForDpi(kLabelGap);
    columns.editorX = columns.winX + ScaleForDpi(kWinWidth + kWinGap);
    return columns;
}

void CreateHotKeysSettings(const char* user, const char* descr, const char* keynameWin, const char* keynameHot,
                           DravonexFunction pDravonex) {
    const int row = countHotKey;
    const int y = ScaleForDpi(kRowPitch * row);
    RECT client = {};
    GetClientRect(hHotKey, &client);
    const HotKeyColumns columns = HotKeyRowColumns(client.right);
    CreateRowControl(hHotKey, "STATIC", descr ? descr : "", SS_RIGHT | SS_NOPREFIX, 0, 0, y + ScaleForDpi(2),
                     columns.labelWidth, ScaleForDpi(kLabelHeight), IDSTA1 + row);
    HWND win = CreateRowControl(hHotKey, "BUTTON", "Win +", BS_AUTOCHECKBOX | WS_TABSTOP, 0, columns.winX,
                                y + ScaleForDpi(2), ScaleForDpi(kWinWidth), ScaleForDpi(kWinHeight), IDWIN1 + row);
    HWND editor = CreateRowControl(hHotKey, HOTKEY_CLASSA, "", WS_TABSTOP, WS_EX_CLIENTEDGE, columns.editorX,
                                   y + ScaleForDpi(1), columns.editorWidth, ScaleForDpi(kEditorHeight),
                                   IDHOTKEY1 + row);
    if (win) {
        SetWindowLongPtrA(win, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(_strdup(keynameWin ? keynameWin : "")));
        if (user && keynameWin && GetKeyYes(user, kSection, keynameWin)) CheckDlgButton(hHotKey, IDWIN1 + row, BST_CHECKED);
    }
    if (editor) {
        SetWindowLongPtrA(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(NewKeySet(keynameHot, pDravonex)));
        const int value = user && keynameHot ? GetKeyInt(user, kSection, keynameHot, 0) : 0;
        if (value > 0) SendMessageA(editor, HKM_SETHOTKEY, static_cast<WPARAM>(value & 0xFFFF), 0);
    }
}

void CreateBuiltInHotKeys(const char* user) {
    for (int row = 0; row < BUILTIN_HOTKEYS; ++row) {
        char win[16], hot[24];
        snprintf(win, sizeof win, "Win%d", row + 1);
        snprintf(hot, sizeof hot, "KvShortCut%d", row + 1);
        std::string label = Priv(IDSTA1 + row, "KEY", ini);
        CreateHotKeysSettings(user, label.c_str(), win, hot, nullptr);
        ++countHotKey;
    }
}

WORD RowCombination(int row) {
    return static_cast<WORD>(SendDlgItemMessageA(hHotKey, IDHOTKEY1 + row, HKM_GETHOTKEY, 0, 0));
}

bool RowWantsWinKey(int row) { return IsDlgButtonChecked(hHotKey, IDWIN1 + row) == BST_CHECKED; }

void RegisterKey(int IDW, int IDH, int IDS) {
    const WORD combination = static_cast<WORD>(SendDlgItemMessageA(hHotKey, IDH, HKM_GETHOTKEY, 0, 0));
    if (!LOBYTE(combination)) return;
    const bool win = IsDlgButtonChecked(hHotKey, IDW) == BST_CHECKED;
    if (registerHotKey(hMain, IDH, HotKeyModifiers(combination, win), LOBYTE(combination))) return;
    const std::string reason = Priv(kRefusedText, "STRING", ini);
    const std::string label = RowLabel(IDS - IDSTA1);
    std::string text(reason.size() + label.size() + 8, '\0');
    snprintf(&text[0], text.size(), "%s:\n\"%s\"", reason.c_str(), label.c_str());
    warningBox(hMain, text.c_str(), "Dravonel", MB_OK | MB_ICONWARNING);
}

void RegisterKeys() {
    for (int row = 0; row < countHotKey; ++row) RegisterKey(IDWIN1 + row, IDHOTKEY1 + row, IDSTA1 + row);
}

void UnRegisterKey() {
    for (int row = 0; row < countHotKey; ++row) unregisterHotKey(hMain, IDHOTKEY1 + row);
}

void StartHotKeys() {
    if (IsChecked(hKey, IDKEYREG)) RegisterKeys();
    else SetTimer(hMain, Timer05, 100, nullptr);
}

void StopHotKeys() {
    // Both, whichever ran: the mode may have been switched since.
    UnRegisterKey();
    KillTimer(hMain, Timer05);
}

void HotKeyRun(int n) {
    const int row = n - IDHOTKEY1;
    if (row < 0 || row >= countHotKey) return;
    switch (row) {
        case 0:
            if (commands.runScreenSaver) commands.runScreenSaver();
            break;
        case 1:
            NextWall(1);
            break;
        case 2:
            PreviousWall();
            break;
        case 3:
            RunMenuCommand(IDPCHECKOFF);
            break;
        case 4:
            if (pLockWorkStation) pLockWorkStation();
            break;
        case 5:
            RunMenuCommand(IDPSLEEP);
            break;
        case 6:
            RunMenuCommand(IDPCALEN);
            break;
        case 7:
            RunMenuCommand(IDPHIDEICON);
            break;
        case 8:
            if (DelFile()) ToWall(1);
            break;
        case 9:
            SendMessageA(hFile, WM_COMMAND, MAKEWPARAM(IDOPENPICTURE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hFile, IDOPENPICTURE)));
            break;
        case 10:
            if (commands.checkUpdate) commands.checkUpdate(hMain);
            break;
        case 11:
            ToWall(1);
            break;
        default: {
            const keyset* record = KeySetOf(GetDlgItem(hHotKey, n));
            if (record && record->pDravonex) record->pDravonex(hMain, kRunHotKey, 0, row);
            break;
        }
    }
}

void SaveHotKey() {
    HeapString file(SetUsetExtenPath(".set"));
    if (!file) return;
    for (int row = 0; row < countHotKey; ++row) {
        const keyset* record = KeySetOf(GetDlgItem(hHotKey, IDHOTKEY1 + row));
        if (!record || !record->keyname || !*record->keyname) continue;
        const int value = RowCombination(row);
        if (value <= 0) SetKey(file.get(), kWriteSection, record->keyname, nullptr);
        else SetKeyInt(file.get(), kWriteSection, record->keyname, value);
    }
}

void SetDefaultHotKeys() {
    for (int row = 0; row < countHotKey; ++row) {
        // Past Z the codes are the Windows and application keys: no default.
        const int key = 'A' + row <= 'Z' ? 'A' + row : 0;
        const WORD combination = key ? MAKEWORD(key, HOTKEYF_CONTROL | HOTKEYF_SHIFT) : 0;
        SendDlgItemMessageA(hHotKey, IDHOTKEY1 + row, HKM_SETHOTKEY, combination, 0);
    }
}

void OnTimer05() {
    if (pollRunning) return;
    if (pollQuiet) {
        if (static_cast<LONG>(GetTickCount() - pollQuietUntil) < 0) return;
        pollQuiet = false;
    }
    for (int row = 0; row < countHotKey; ++row) {
        if (!KeyPush(RowCombination(row), RowWantsWinKey(row))) continue;
        pollRunning = true;
        HotKeyRun(IDHOTKEY1 + row);
        pollRunning = false;
        // Quiet for a second instead of blocking the whole program for it.
        pollQuiet = true;
        pollQuietUntil = GetTickCount() + kPollQuiet;
        return;
    }
}
