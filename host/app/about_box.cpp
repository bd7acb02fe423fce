#include "app/about_box.h"

#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "app/clear_win.h"
#include "base/globals.h"
#include "desktop/desktop_shortcut.h"
#include "engine/calendar_drawing.h"
#include "network/update_check.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

HWND hAbout;

namespace {

const COLORREF kVersionColour = 0x000080;
const COLORREF kLinkColour = 0xA00000;
const int kLinkRows[] = {IDMAILTO, IDWEBMIRROR, IDWEBHOME, IDWEBPLUGINS, IDWEBFORUM};

ShellOpenFunction shellOpen = ShellExecuteA;
HFONT boldFont;
HFONT linkFont;
HCURSOR handCursor;

bool IsLinkRow(int control) {
    for (int row : kLinkRows)
        if (row == control) return true;
    return false;
}

std::string StringTableText(UINT id) {
    char text[260] = "";
    if (LoadStringA(hInS, id, text, sizeof text) <= 0) text[0] = '\0';
    return text;
}

HFONT VariantOf(HFONT font, bool underline) {
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfWeight = FW_BOLD;
    description.lfUnderline = underline ? TRUE : FALSE;
    return CreateFontIndirectA(&description);
}

HWND DecoratedDesktop() {
    HWND desktop = GetCurrentDesktop();
    return desktop ? desktop : GetDesktopWindow();
}

BOOL CALLBACK ExcludeWindow(HWND window, LPARAM dc) {
    RECT rect;
    if (IsWindowVisible(window) && !IsIconic(window) && GetWindowRect(window, &rect))
        ExcludeClipRect(reinterpret_cast<HDC>(dc), rect.left, rect.top, rect.right, rect.bottom);
    return TRUE;
}

// The program's name scattered over the desktop in the calendar's font.
void DecorateDesktop() {
    HWND desktop = DecoratedDesktop();
    RECT area;
    GetClientRect(desktop, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    HDC dc = GetDC(desktop);
    if (!dc) return;
    // Without the shell's icon view the desktop window's DC covers every
    // window: the names must stay behind them.
    if (desktop == GetDesktopWindow()) EnumWindows(ExcludeWindow, reinterpret_cast<LPARAM>(dc));
    LOGFONTA description = {};
    HFONT calendarFont = hCalen ? reinterpret_cast<HFONT>(SendDlgItemMessageA(hCalen, IDFONTBOX, WM_GETFONT, 0, 0))
                                : nullptr;
    if (!calendarFont || !GetObjectA(calendarFont, sizeof description, &description))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfHeight = (height + 50) / 25;
    description.lfWidth = 0;
    {
        ScopedGdiObj<HFONT> font(CreateFontIndirectA(&description));
        ScopedSelectObject selected(dc, font.get());
        SetBkMode(dc, TRANSPARENT);
        for (int count = rand() % 50; count > 0; --count) {
            PrintSimbol("Malvoren Soft", dc, rand() % width, rand() % height, kVersionColour, false, 0, 0, nullptr, 0,
                        0);
            PrintSimbol("Dravonel", dc, rand() % width, rand() % height, kLinkColour, false, 0, 0, nullptr, 0, 0);
        }
    }
    ReleaseDC(desktop, dc);
}

void RepaintDesktop() {
    HWND desktop = DecoratedDesktop();
    // The desktop window is repainted with every window on it.
    InvalidateRect(desktop == GetDesktopWindow() ? nullptr : desktop, nullptr, TRUE);
    UpdateWindow(desktop);
}

void OpenLinkRow(HWND box, int row) {
    std::string target;
    if (row == IDMAILTO) {
        char address[260] = "";
        GetDlgItemTextA(box, IDMAILTO, address, sizeof address);
        target = MailToLink(address, StringTableText(IDVERSION).c_str());
    } else {
        const std::string address = StringTableText(static_cast<UINT>(row));
        if (address.empty()) return;
        target = "http://" + address;
    }
    shellOpen(box, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void InitAboutBox(HWND box) {
    SetWindowTextA(box, Priv(0, "ABOUT", ini));
    for (int control = IDABOUTTEXT; control <= IDCLEARWIN; ++control)
        SetDlgItemTextA(box, control, Priv(control, "ABOUT", ini));
    SetDlgItemTextA(box, IDVERSION, StringTableText(IDVERSION).c_str());
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
    boldFont = VariantOf(dialogFont, false);
    linkFont = VariantOf(dialogFont, true);
    handCursor = LoadCursorA(nullptr, IDC_HAND);
    for (int control : {IDPROGNAME, IDVERSION})
        SendDlgItemMessageA(box, control, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont), FALSE);
    for (int row : kLinkRows) SendDlgItemMessageA(box, row, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
}

void CloseAboutBox(HWND box) {
    DestroyWindow(box);
    hAbout = nullptr;
    // The controls are gone: the fonts may go too.
    if (boldFont) DeleteObject(boldFont);
    if (linkFont) DeleteObject(linkFont);
    boldFont = linkFont = nullptr;
    handCursor = nullptr;  // a shared system cursor: not destroyed
    RepaintDesktop();
}

}  // namespace

std::string MailToLink(const char* address, const char* version) {
    std::string subject = std::string("Dravonel ") + (version ? version : "");
    std::string escaped;
    for (char c : subject) escaped += c == ' ' ? std::string("%20") : std::string(1, c);
    return std::string("mailto:") + (address ? address : "") + "?subject=" + escaped;
}

void ShowAbout() {
    if (!hAbout) hAbout = CreateDialogParamA(hInS, MAKEINTRESOURCEA(IDD_ABOUT), hHide, AboutDialogFunc, 0);
    if (!hAbout) return;
    ShowWindow(hAbout, SW_SHOW);
    SetForegroundWindow(hAbout);
}

INT_PTR CALLBACK AboutDialogFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitAboutBox(hwnd);
            DecorateDesktop();
            return TRUE;
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            const int notification = HIWORD(wParam);
            if (IsLinkRow(control)) {
                if (notification == STN_CLICKED) OpenLinkRow(hwnd, control);
            } else if (control == IDCRERL) {
                CreateLabel();
            } else if (control == IDCHECKUPDATE) {
                CheckUpdate(hwnd);
            } else if (control == IDCLEARWIN) {
                ClearWin();
            } else if (control == IDOK || control == IDCANCEL) {
                CloseAboutBox(hwnd);
            }
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            const int control = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (control != IDVERSION && !IsLinkRow(control)) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, control == IDVERSION ? kVersionColour : kLinkColour);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (!handCursor || !IsLinkRow(GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) return FALSE;
            SetCursor(handCursor);
            SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CLOSE:
            CloseAboutBox(hwnd);
            return TRUE;
        default:
            return FALSE;
    }
}

ShellOpenFunction SetAboutOpenFunction(ShellOpenFunction function) {
    ShellOpenFunction previous = shellOpen;
    shellOpen = function ? function : ShellExecuteA;
    return previous;
}
