#include "firing.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "dialup.h"
#include "host_services.h"
#include "kvinifunction.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "reminder_window.h"
#include "reminders.h"
#include "scopedwin.h"

namespace {

bool EndsWithLnk(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    return lstrcmpiA(tail.c_str(), ".lnk") == 0;
}

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// A shortcut runs its target with the shortcut's own arguments and folder,
// as the shell would start it.
void RunShortcut(const std::string& path, int showCmd) {
    HRESULT com = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(Wide(path).c_str(), STGM_READ))) {
                char arguments[1024] = "", folder[MAX_PATH] = "", target[MAX_PATH] = "";
                link->GetArguments(arguments, sizeof arguments);
                link->GetWorkingDirectory(folder, sizeof folder);
                LPITEMIDLIST item = nullptr;
                SHELLEXECUTEINFOA run = {};
                run.cbSize = sizeof run;
                run.nShow = showCmd;
                run.lpParameters = arguments[0] ? arguments : nullptr;
                run.lpDirectory = folder[0] ? folder : nullptr;
                if (SUCCEEDED(link->GetIDList(&item)) && item) {
                    run.fMask = SEE_MASK_IDLIST;
                    run.lpIDList = item;
                    ShellExecuteExA(&run);
                    CoTaskMemFree(item);
                } else if (SUCCEEDED(link->GetPath(target, sizeof target, nullptr, 0)) && target[0]) {
                    run.lpFile = target;
                    ShellExecuteExA(&run);
                }
            }
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

void RunFile(const ReminderRecord& record) {
    HeapString expanded(ExpandEnvStr(record.File.c_str()));
    std::string path = expanded ? expanded.get() : record.File;
    if (EndsWithLnk(path)) {
        RunShortcut(path, record.ShowCmd);
        return;
    }
    ShellExecuteA(nullptr, nullptr, path.c_str(), record.Parameters.empty() ? nullptr : record.Parameters.c_str(),
                  nullptr, record.ShowCmd);
}

// Next check one second after the next minute begins, so that a check's
// own time never lets a minute slip by.
UINT MillisecondsToNextMinute() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    UINT into = now.wSecond * 1000u + now.wMilliseconds;
    return 60000u - (into > 59000u ? 59000u : into) + 1000u;
}

INT_PTR HiddenFunc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_TIMER:
            if (wParam == TIMER_MINUTE) MinuteCheck();
            return TRUE;
        case WM_HOTKEY:
            FireReminder(NumberAtPosition(static_cast<int>(wParam)), true);
            return TRUE;
        case WM_KV_DELETE:
            if (!hEditor) DeleteAndReload(static_cast<int>(wParam));
            return TRUE;
        case WM_CLOSE:
            return TRUE;  // only the plug-in ends it
        default:
            (void)window;
            return FALSE;
    }
}

}  // namespace

HWND CreateHiddenWindow() {
    if (!hHidden) {
        hHidden = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_HIDDEN), nullptr, Guarded<HiddenFunc>, 0);
        if (hHidden) SetWindowTextA(hHidden, "KvReminder");
    }
    return hHidden;
}

void DestroyHiddenWindow() {
    if (!hHidden) return;
    KillTimer(hHidden, TIMER_MINUTE);
    DestroyWindow(hHidden);
    hHidden = nullptr;
}

void MinuteCheck() {
    if (!hHidden) return;
    KillTimer(hHidden, TIMER_MINUTE);
    connectionState = ProbeConnection();
    std::vector<int> due = schedule.Check(Now(), connectionState, startTime, hEditor != nullptr);
    for (int number : due) FireReminder(number, false);
    if (hHidden) SetTimer(hHidden, TIMER_MINUTE, MillisecondsToNextMinute(), nullptr);
}

void FireReminder(int number, bool forced) {
    if (hEditor || number == 0 || !RecordExists(number)) return;
    FireRecord(ReadRecord(number), forced);
}

void FireRecord(const ReminderRecord& record, bool forced) {
    if (!forced && record.CancelWork && !HostMayAct()) return;
    if (!record.File.empty()) RunFile(record);
    else if (!record.Parameters.empty()) HostRunCommandLine(record.Parameters);
    if (record.Text.empty() && record.Sound.empty() && record.Picture.empty()) return;
    ShowReminderWindow(record);
}

void CloseReminderWindows() { CloseAllReminderWindows(); }
