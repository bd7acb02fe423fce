#include "hotkeys/row_list.h"

#include "base/globals.h"
#include "screen_dpi.h"

namespace {

// Scroll steps in pixels at 96 DPI.
const int kLine = 4;
const int kPage = 20;

// The rows are moved themselves rather than scrolled with the window's
// pixels: the system does not scroll a window that is not on the screen,
// and the rows must stay where the scroll position says.
void MoveRows(HWND window, int dy) {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
    HDWP moves = BeginDeferWindowPos(count);
    for (HWND child = GetWindow(window, GW_CHILD); child && moves; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        moves = DeferWindowPos(moves, child, nullptr, place.left, place.top + dy, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

int ScrolledPosition(int position, int code, int thumb, int low, int high) {
    int next = position;
    switch (code) {
        case SB_LINEUP:
            next -= ScaleForDpi(kLine);
            break;
        case SB_LINEDOWN:
            next += ScaleForDpi(kLine);
            break;
        case SB_PAGEUP:
            next -= ScaleForDpi(kPage);
            break;
        case SB_PAGEDOWN:
            next += ScaleForDpi(kPage);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            next = thumb;
            break;
        case SB_TOP:
            next = low;
            break;
        case SB_BOTTOM:
            next = high;
            break;
        default:
            break;
    }
    if (next < low) next = low;
    if (next > high) next = high;
    return next;
}

void ForScroll(HWND window, UINT message, WPARAM wParam) {
    int code = LOWORD(wParam);
    if (message == WM_MOUSEWHEEL) {
        const short delta = static_cast<short>(HIWORD(wParam));
        if (delta == 0) return;
        code = delta > 0 ? SB_LINEUP : SB_LINEDOWN;
    }
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(window, SB_VERT, &info)) return;
    const int next = ScrolledPosition(info.nPos, code, info.nTrackPos, info.nMin, info.nMax);
    if (next == info.nPos) return;
    SetScrollPos(window, SB_VERT, next, TRUE);
    MoveRows(window, info.nPos - next);
}

void SetRowScrollRange(HWND list, HWND lastRow) {
    int high = 0;
    if (lastRow) {
        RECT row, whole;
        GetWindowRect(lastRow, &row);
        GetWindowRect(list, &whole);
        high = row.bottom - whole.bottom + ScaleForDpi(4);
    }
    // Rows that all fit need no scrolling (and no negative range).
    if (high < 0) high = 0;
    SetScrollRange(list, SB_VERT, 0, high, TRUE);
    SetScrollPos(list, SB_VERT, 0, TRUE);
}

HWND CreateRowControl(HWND list, const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y,
                      int width, int height, int id) {
    HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, list,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInS, nullptr);
    if (control) SendMessageA(control, WM_SETFONT, SendMessageA(list, WM_GETFONT, 0, 0), FALSE);
    return control;
}
