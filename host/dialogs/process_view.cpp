#include "dialogs/process_view.h"

#include <string>

#include "base/globals.h"
#include "system/process_list.h"
#include "ids_procview.h"
#include "kvinifunction.h"

namespace {

const COLORREF kTitleColour = RGB(128, 0, 0);

std::string ListText(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

void AddSelected(HWND hwnd) {
    HWND running = GetDlgItem(hwnd, IDPROCRUNNING);
    const LRESULT selected = SendMessageA(running, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return;
    const std::string name = ListText(running, static_cast<int>(selected));
    if (name.empty()) return;
    HWND excluded = GetDlgItem(hwnd, IDPROCEXCLUDED);
    const LRESULT at = SendMessageA(excluded, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (at >= 0) SendMessageA(excluded, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

void RemoveSelected(HWND hwnd) {
    HWND excluded = GetDlgItem(hwnd, IDPROCEXCLUDED);
    const LRESULT selected = SendMessageA(excluded, LB_GETCURSEL, 0, 0);
    if (selected != LB_ERR) SendMessageA(excluded, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
}

// The settings section and the list in memory become what the window shows.
void Close(HWND hwnd) {
    FreeProcList();
    SaveProcList(hwnd);
    EndDialog(hwnd, 0);
}

}  // namespace

INT_PTR CALLBACK ProcFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            for (int id = IDPROCTITLE; id <= IDPROCRUNNINGTEXT; ++id)
                if (GetDlgItem(hwnd, id) && id != IDPROCEXCLUDED && id != IDPROCRUNNING)
                    SetDlgItemTextA(hwnd, id, Priv(id, "PROCVIEW", ini));
            for (const s_window* node = sbproc; node; node = node->psw)
                SendDlgItemMessageA(hwnd, IDPROCEXCLUDED, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(node->name));
            ProcViewCreate(hwnd, 0);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDPROCADD:
                    AddSelected(hwnd);
                    return TRUE;
                case IDPROCREMOVE:
                    RemoveSelected(hwnd);
                    return TRUE;
                case IDPROCRUNNING:
                    if (HIWORD(wParam) == LBN_DBLCLK) AddSelected(hwnd);
                    return TRUE;
                case IDPROCEXCLUDED:
                    if (HIWORD(wParam) == LBN_DBLCLK) RemoveSelected(hwnd);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    Close(hwnd);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            Close(hwnd);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDPROCTITLE) return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wParam), kTitleColour);
            SetBkColor(reinterpret_cast<HDC>(wParam), colorBackStatic);
            return reinterpret_cast<INT_PTR>(hBrushBackStatic);
        default:
            return FALSE;
    }
}

void ShowProcessView(HWND owner) {
    DialogBoxParamA(hInS, MAKEINTRESOURCEA(IDD_PROCVIEW), owner, ProcFunc, 0);
}
