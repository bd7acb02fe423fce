// KvScrSet: a screen saver that runs one of the other installed savers,
// the next of a chosen set or one at random, and can replace it while the
// screen saver runs. Its settings live in the host's per-user settings file
// (section "scr"; the last saver as "SCRNSAVE" in section "set").
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "createpathfile.h"
#include "kvinifunction.h"
#include "resource.h"
#include "saverchoice.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

const char* const kSection = "scr";
const char* const kSelf = "KvScrSet.scr";
const UINT WM_STARTCHOICE = WM_APP + 1;
// After a saver's own settings, the preview comes back.
const UINT_PTR kPreviewAgainTimer = 1;

ScrCommandLine commandLine;
bool settingsMode = false;
// Check boxes, rows and the period are stored only once the dialog is set up.
bool initialised = false;
// Once closing, the list's last notifications change nothing stored.
bool closing = false;
HBRUSH previewBrush = nullptr;
HFONT linkFont = nullptr;
HCURSOR handCursor = nullptr;
HICON smallIcon = nullptr;
// The saver the full-screen run waits for.
HANDLE runningSaver = nullptr;

HWND List(HWND dialog) { return GetDlgItem(dialog, IDSCRLIST); }

std::string SettingsPath() {
    HeapString path(SetUsetExtenPath(".set"));
    return path ? path.get() : std::string();
}

// The row's short path (its list data), or none.
const char* RowPath(HWND dialog, int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (row < 0 || !ListView_GetItem(List(dialog), &item)) return nullptr;
    return reinterpret_cast<const char*>(item.lParam);
}

int SelectedRow(HWND dialog) { return ListView_GetNextItem(List(dialog), -1, LVNI_SELECTED); }

int RowOfPath(HWND dialog, const char* path) {
    if (!path || !*path) return -1;
    const int rows = ListView_GetItemCount(List(dialog));
    for (int row = 0; row < rows; ++row) {
        const char* rowPath = RowPath(dialog, row);
        if (rowPath && lstrcmpiA(rowPath, path) == 0) return row;
    }
    return -1;
}

// The stored saver's row, or -1.
int StoredRow(HWND dialog) {
    HeapString stored(GetKey(SettingsPath().c_str(), "set", "SCRNSAVE", nullptr));
    return RowOfPath(dialog, stored.get());
}

std::vector<bool> CheckMarks(HWND dialog) {
    std::vector<bool> marks;
    const int rows = ListView_GetItemCount(List(dialog));
    for (int row = 0; row < rows; ++row) marks.push_back(ListView_GetCheckState(List(dialog), row) != 0);
    return marks;
}

int NextStartRow(HWND dialog) {
    const bool randomOrder = IsDlgButtonChecked(dialog, IDRNDSTART) == BST_CHECKED;
    return ChooseStartRow(CheckMarks(dialog), StoredRow(dialog), commandLine.mode == 'S', randomOrder,
                          [](int n) { return rand() % n; });
}

// A saver's preview window lives in the preview pane; it is asked to close,
// and its process ended when it does not.
void StopPreview(HWND dialog) {
    HWND pane = GetDlgItem(dialog, IDPREVIEW);
    for (int attempt = 0; attempt < 11; ++attempt) {
        HWND child = GetWindow(pane, GW_CHILD);
        if (!child) break;
        DWORD_PTR ignored;
        SendMessageTimeoutA(child, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
        if (!IsWindow(child)) continue;
        DWORD owner = 0;
        GetWindowThreadProcessId(child, &owner);
        if (owner == GetCurrentProcessId()) {
            DestroyWindow(child);
            continue;
        }
        ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner));
        if (process.valid()) {
            TerminateProcess(process.get(), 0);
            WaitForSingleObject(process.get(), 1000);
        }
    }
}

// Starts the selected saver with the switch (settings mode) or with the
// chooser's own command line (every other mode).
void StartSaver(HWND dialog, const char* switchText) {
    StopPreview(dialog);
    const char* path = RowPath(dialog, SelectedRow(dialog));
    if (!path) return;
    if (switchText[0] == '/' && (switchText[1] == 'P' || switchText[1] == 'S')) SetValueKeySet("SCRNSAVE", path);

    std::string command = "\"" + std::string(path) + "\" " + (settingsMode ? switchText : commandLine.text.c_str());
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    CloseHandle(info.hThread);
    if (commandLine.mode == 'S' && !settingsMode) {
        if (runningSaver) CloseHandle(runningSaver);
        runningSaver = info.hProcess;
    } else {
        CloseHandle(info.hProcess);
    }
}

void StartPreview(HWND dialog) {
    // Savers of either kind read the handle's low 32 bits, all that counts.
    char text[32];
    snprintf(text, sizeof text, "/P %lu",
             static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDPREVIEW))));
    StartSaver(dialog, text);
}

void SelectRow(HWND dialog, int row) {
    HWND list = List(dialog);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

// Waits for the saver while keeping the hidden dialog answering messages.
bool WaitForSaver(DWORD milliseconds) {
    if (!runningSaver) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD waited = GetTickCount() - start;
        DWORD left = milliseconds == INFINITE ? INFINITE : (waited >= milliseconds ? 0 : milliseconds - waited);
        DWORD result = MsgWaitForMultipleObjects(1, &runningSaver, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;  // time is up
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // The chooser was closed (the session ends): stop waiting, and
            // leave the quit for the main loop.
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return true;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

class DialogRunner : public SaverRunner {
public:
    explicit DialogRunner(HWND dialog) : dialog_(dialog) {}
    bool Start(int row) override {
        if (closing) return false;
        if (runningSaver) {
            CloseHandle(runningSaver);
            runningSaver = nullptr;
        }
        // Selecting a row starts it (the list's notification does).
        const int selected = SelectedRow(dialog_);
        if (selected == row) StartPreview(dialog_);
        else SelectRow(dialog_, row);
        return runningSaver != nullptr;
    }
    bool WaitForEnd(DWORD milliseconds) override { return WaitForSaver(milliseconds); }
    void Stop() override {
        if (!runningSaver) return;
        TerminateProcess(runningSaver, 0);
        WaitForSingleObject(runningSaver, 5000);
    }
    int NextRow() override { return NextStartRow(dialog_); }

private:
    HWND dialog_;
};

std::string FileDescription(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!size) return std::string();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return std::string();
    for (unsigned codePage : {1200u, 1252u}) {
        char key[64];
        snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\FileDescription", GetUserDefaultLangID(), codePage);
        char* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(data.data(), key, reinterpret_cast<void**>(&value), &length) && value && length && *value)
            return std::string(value, strnlen(value, length));
    }
    return std::string();
}

// One row per "*.scr" of the folder, except the chooser itself.
void AddSavers(HWND dialog, const std::string& folder, const std::string& settings) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.scr").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    HWND list = List(dialog);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (lstrcmpiA(found.cFileName, kSelf) == 0) continue;
        const std::string full = folder + "\\" + found.cFileName;
        char shortPath[MAX_PATH] = "";
        DWORD length = GetShortPathNameA(full.c_str(), shortPath, sizeof shortPath);
        // Without 8.3 names the long path is the key.
        std::string key = length && length < sizeof shortPath ? shortPath : full;
        char* record = _strdup(key.c_str());
        if (!record) continue;
        std::string text = SaverDisplayName(FileDescription(full.c_str()).c_str(), found.cFileName);

        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = ListView_GetItemCount(list);
        item.pszText = &text[0];
        item.lParam = reinterpret_cast<LPARAM>(record);
        if (settingsMode) {
            SHFILEINFOA info = {};
            if (SHGetFileInfoA(full.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
                item.mask |= LVIF_IMAGE;
                item.iImage = info.iIcon;
            }
        }
        const int row = ListView_InsertItem(list, &item);
        if (row < 0) {
            free(record);
            continue;
        }
        ListView_SetCheckState(list, row, GetKeyYes(settings.c_str(), kSection, key.c_str()) == 0);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void InitList(HWND dialog) {
    HWND list = List(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = ScaleForDpi(220);
    column.pszText = const_cast<wchar_t*>(L"Список заставок");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    if (settingsMode) {
        SHFILEINFOA info = {};
        HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        if (icons) ListView_SetImageList(list, icons, LVSIL_SMALL);
    }
}

void OnInitDialog(HWND dialog) {
    HeapString users(CreatePathFile(nullptr, "Users", nullptr));
    if (users) CreateDirectoryA(users.get(), nullptr);
    smallIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SCRSET), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (smallIcon) SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    previewBrush = CreateSolidBrush(RGB(0, 0, 0));
    handCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND, not on the oldest systems
    if (!handCursor) handCursor = LoadCursorA(nullptr, IDC_ARROW);
    LOGFONTA font = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (dialogFont && GetObjectA(dialogFont, sizeof font, &font)) {
        font.lfUnderline = TRUE;
        linkFont = CreateFontIndirectA(&font);
        if (linkFont) SendDlgItemMessageA(dialog, IDMAIL, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    }

    InitList(dialog);
    const std::string settings = SettingsPath();
    CheckDlgButton(dialog, IDRNDSTART, GetKeyYes(settings.c_str(), kSection, "KvRndStart") ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDCHANGE, GetKeyYes(settings.c_str(), kSection, "KvChange") ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(dialog, IDPERIOD, PeriodMinutes(GetKeyInt(settings.c_str(), kSection, "KvPeriod", 10)), FALSE);
    SendDlgItemMessageA(dialog, IDPERIOD, EM_LIMITTEXT, 5, 0);

    char folder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length && length < sizeof folder) AddSavers(dialog, folder, settings);
    length = GetSystemDirectoryA(folder, sizeof folder);
    if (length && length < sizeof folder) AddSavers(dialog, folder, settings);

    if (settingsMode) ShowWindow(dialog, SW_SHOW);
    // The choice runs from the message loop, so the dialog exists in full.
    PostMessageA(dialog, WM_STARTCHOICE, 0, 0);
}

void CloseChooser(HWND dialog) {
    if (closing) return;
    closing = true;
    KillTimer(dialog, kPreviewAgainTimer);
    StopPreview(dialog);
    if (settingsMode) EndDialog(dialog, 0);
    else DestroyWindow(dialog);
}

void OnStartChoice(HWND dialog) {
    const int row = NextStartRow(dialog);
    if (commandLine.mode == 'S' && !settingsMode) {
        // Selecting the row starts the saver; the run waits for it.
        DialogRunner runner(dialog);
        const std::string settings = SettingsPath();
        RunFullScreen(runner, row, GetKeyYes(settings.c_str(), kSection, "KvChange") != 0,
                      GetKeyInt(settings.c_str(), kSection, "KvPeriod", 10));
    } else if (row >= 0) {
        SelectRow(dialog, row);
    }
    if (settingsMode) initialised = true;
    else CloseChooser(dialog);
}

void OnListChanged(HWND dialog, const NMLISTVIEW* change) {
    if (closing || !(change->uChanged & LVIF_STATE)) return;
    const UINT oldState = change->uOldState, newState = change->uNewState;
    if ((newState & LVIS_SELECTED) && !(oldState & LVIS_SELECTED)) {
        StartPreview(dialog);
    } else if ((oldState & LVIS_SELECTED) && !(newState & LVIS_SELECTED) && SelectedRow(dialog) < 0) {
        StopPreview(dialog);
        DeleteValueKey(".set", "set", "SCRNSAVE");
    }
    const UINT oldImage = (oldState & LVIS_STATEIMAGEMASK) >> 12, newImage = (newState & LVIS_STATEIMAGEMASK) >> 12;
    if (initialised && oldImage && newImage && oldImage != newImage) {
        const char* path = RowPath(dialog, change->iItem);
        if (!path) return;
        // An unchecked saver takes no part in the choice.
        if (newImage == 2) DeleteValueKey(".set", kSection, path);
        else SetValueKey(".set", kSection, path, "0");
    }
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDSETUP: {
        char text[32];  // the low 32 bits of the handle, as for the preview
        snprintf(text, sizeof text, "/C %lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(dialog)));
        StartSaver(dialog, text);
        SetTimer(dialog, kPreviewAgainTimer, 1000, nullptr);
        break;
    }
    case IDTEST:
        StartSaver(dialog, "/S");
        break;
    case IDRNDSTART:
    case IDCHANGE:
        if (initialised && code == BN_CLICKED)
            KeyTipUnChecked(".set", kSection, dialog, id, id == IDRNDSTART ? "KvRndStart" : "KvChange");
        break;
    case IDPERIOD:
        if (initialised && code == EN_CHANGE) {
            BOOL valid = FALSE;
            int minutes = static_cast<int>(GetDlgItemInt(dialog, IDPERIOD, &valid, FALSE));
            SetValueKeyInt(".set", kSection, "KvPeriod", PeriodMinutes(valid ? minutes : 0));
        }
        break;
    case IDABOUT: {
        MSGBOXPARAMSW box = {};
        box.cbSize = sizeof box;
        box.hwndOwner = dialog;
        box.hInstance = GetModuleHandleA(nullptr);
        box.lpszText = L"KvScrSet — выбор экранной заставки для Dravonel.\n\n"
                       L"Запускает по очереди или случайно одну из отмеченных заставок "
                       L"и может сменять её во время работы.\n\n© Malvoren";
        box.lpszCaption = L"О программе";
        box.dwStyle = MB_OK | MB_USERICON;
        box.lpszIcon = MAKEINTRESOURCEW(IDI_SCRSET);
        MessageBoxIndirectW(&box);
        break;
    }
    case IDMAIL:
        if (code == STN_CLICKED)
            ShellExecuteA(dialog, "open", "mailto:malvoren@example.com?subject=KvScrSet", nullptr, nullptr,
                          SW_SHOWNORMAL);
        break;
    case IDCANCEL:
        CloseChooser(dialog);
        break;
    }
}

INT_PTR CALLBACK ScrSetFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_STARTCHOICE:
        OnStartChoice(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDSCRLIST) break;
        if (header->code == LVN_ITEMCHANGED) OnListChanged(dialog, reinterpret_cast<const NMLISTVIEW*>(lParam));
        if (header->code == LVN_DELETEITEM) {
            const NMLISTVIEW* item = reinterpret_cast<const NMLISTVIEW*>(lParam);
            free(reinterpret_cast<void*>(item->lParam));
        }
        break;
    }
    case WM_TIMER:
        if (wParam == kPreviewAgainTimer) {
            KillTimer(dialog, kPreviewAgainTimer);
            if (!closing) StartPreview(dialog);
        }
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control == GetDlgItem(dialog, IDPREVIEW) && previewBrush) return reinterpret_cast<INT_PTR>(previewBrush);
        if (control == GetDlgItem(dialog, IDMAIL)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 204));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetDlgItem(dialog, IDMAIL) && handCursor) {
            SetCursor(handCursor);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        break;
    case WM_CLOSE:
        CloseChooser(dialog);
        return TRUE;
    case WM_DESTROY:
        if (!settingsMode) PostQuitMessage(0);
        break;
    }
    return FALSE;
}

void ReleaseResources() {
    if (runningSaver) CloseHandle(runningSaver);
    if (previewBrush) DeleteObject(previewBrush);
    if (linkFont) DeleteObject(linkFont);
    if (smallIcon) DestroyIcon(smallIcon);
    runningSaver = nullptr;
    previewBrush = nullptr;
    linkFont = nullptr;
    smallIcon = nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    // The dialog is a Unicode window, so its fixed Russian texts show
    // whatever the system's ANSI code page. One chooser at a time.
    if (HWND running = FindWindowA("#32770", "KvScrSet")) {
        SetForegroundWindow(running);
        return 0;
    }
    srand(static_cast<unsigned>(time(nullptr)));
    commandLine = ParseScrCommandLine(arguments);
    settingsMode = commandLine.mode == 'C';

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (settingsMode) {
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SCRSET), commandLine.parent, ScrSetFunc, 0);
    } else if (CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SCRSET), nullptr, ScrSetFunc, 0)) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    ReleaseResources();
    return 0;
}
