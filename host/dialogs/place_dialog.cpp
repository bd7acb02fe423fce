#include "dialogs/place_dialog.h"

#include <algorithm>

#include "base/globals.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

const UINT_PTR kFollowTimer = 1;
const UINT kFollowMilliseconds = 10;
const UINT WM_PLACECANCEL = WM_USER + 1;
const int kDisc = 14;

// The one open placement window (it is modal).
struct PlaceState {
    s_placefunc* place = nullptr;
    int oldX = 0;
    int oldY = 0;
    HICON marker = nullptr;
    HCURSOR hand = nullptr;
    POINT shown = {LONG_MIN, LONG_MIN};
};
PlaceState state;

int SignedNumber(HWND dialog, int control) {
    BOOL valid = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(dialog, control, &valid, TRUE));
    return valid ? value : 0;
}

void SetReadOnly(bool readOnly) {
    if (!state.place || !state.place->hPlaceDialogType) return;
    for (int control : {state.place->IDpx, state.place->IDpy})
        SendDlgItemMessageA(state.place->hPlaceDialogType, control, EM_SETREADONLY, readOnly, 0);
}

// Follows the mouse: the window's centre is the pointer; the edits get the
// top-left corner (type 1) or the pointer itself (the anchor point).
void Follow(HWND hwnd) {
    const s_placefunc& place = *state.place;
    POINT pointer;
    if (!GetCursorPos(&pointer)) return;
    const POINT corner = {pointer.x - place.Width / 2, pointer.y - place.Height / 2};
    const POINT shown = place.PlaceDialogType == 1 ? corner : pointer;
    // Only changes are written: every write is stored by the owner's page.
    if (shown.x != state.shown.x || shown.y != state.shown.y) {
        SetDlgItemInt(place.hPlaceDialogType, place.IDpx, static_cast<UINT>(shown.x), TRUE);
        SetDlgItemInt(place.hPlaceDialogType, place.IDpy, static_cast<UINT>(shown.y), TRUE);
        state.shown = shown;
    }
    SetWindowPos(hwnd, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) PostMessageA(hwnd, WM_PLACECANCEL, 0, 0);
}

void ClosePlacement(HWND hwnd) {
    KillTimer(hwnd, kFollowTimer);
    if (state.marker) DestroyIcon(state.marker);
    state.marker = nullptr;
    state.hand = nullptr;  // a shared system cursor: never destroyed
    SetReadOnly(false);
    state.place = nullptr;
    EndDialog(hwnd, 0);
}

}  // namespace

HRGN PlaceWindowRegion(int type, int width, int height, int anchor, int dpi) {
    const int cx = width / 2, cy = height / 2;
    // A 2-pixel frame, 2-pixel bars and a 14-pixel disc at 96 DPI.
    const int line = std::max(2, ScaleForDpi(2, dpi));
    const int half = line / 2;
    const int disc = ScaleForDpi(kDisc, dpi);
    HRGN shape;
    if (type == 1) {
        shape = CreateRectRgn(0, 0, width, height);
        HRGN inner = CreateRectRgn(line, line, width - line, height - line);
        CombineRgn(shape, shape, inner, RGN_DIFF);
        DeleteObject(inner);
    } else {
        const bool down = anchor == 0 || anchor == 1;
        const bool right = anchor == 0 || anchor == 2;
        const int low = cx - half, top = cy - half;  // the bars' near edges
        HRGN vertical = CreateRectRgn(low, down ? top : 0, low + line, down ? height : top + line);
        HRGN horizontal = CreateRectRgn(right ? low : 0, top, right ? width : low + line, top + line);
        shape = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(shape, vertical, horizontal, RGN_OR);
        DeleteObject(vertical);
        DeleteObject(horizontal);
    }
    HRGN round = CreateRoundRectRgn(cx - disc / 2, cy - disc / 2, cx + disc / 2, cy + disc / 2, disc, disc);
    CombineRgn(shape, shape, round, RGN_OR);
    DeleteObject(round);
    return shape;
}

INT_PTR CALLBACK PlaceDialogFunc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            state = PlaceState();
            state.place = reinterpret_cast<s_placefunc*>(lParam);
            if (!state.place || state.place->Width <= 0 || state.place->Height <= 0) {
                state.place = nullptr;
                EndDialog(hwnd, 0);
                return TRUE;
            }
            const s_placefunc& place = *state.place;
            state.marker = static_cast<HICON>(LoadImageA(hInS, MAKEINTRESOURCEA(IDI_MARKER), IMAGE_ICON, 48, 48, 0));
            state.hand = LoadCursor(nullptr, IDC_HAND);
            int anchor = 0;
            if (place.PlaceDialogType == 2)
                anchor = static_cast<int>(
                    SendDlgItemMessageA(place.hPlaceDialogType, place.IDTypePos, CB_GETCURSEL, 0, 0));
            anchor = std::min(std::max(anchor, 0), 3);
            POINT pointer = {};
            GetCursorPos(&pointer);
            SetWindowPos(hwnd, HWND_TOPMOST, pointer.x - place.Width / 2, pointer.y - place.Height / 2, place.Width,
                         place.Height, SWP_NOACTIVATE);
            SetWindowRgn(hwnd, PlaceWindowRegion(place.PlaceDialogType, place.Width, place.Height, anchor, ScreenDpi()),
                         TRUE);
            state.oldX = SignedNumber(place.hPlaceDialogType, place.IDpx);
            state.oldY = SignedNumber(place.hPlaceDialogType, place.IDpy);
            SetReadOnly(true);
            SetTimer(hwnd, kFollowTimer, kFollowMilliseconds, nullptr);
            return TRUE;
        }
        case WM_TIMER:
            if (state.place) Follow(hwnd);
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd, &paint);
            RECT client;
            GetClientRect(hwnd, &client);
            if (state.marker) DrawIconEx(dc, 0, 0, state.marker, client.right, client.bottom, 0, nullptr, DI_NORMAL);
            EndPaint(hwnd, &paint);
            return TRUE;
        }
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
            if (state.hand) SetCursor(state.hand);
            if (message == WM_SETCURSOR) SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_CLOSE:
            ClosePlacement(hwnd);
            return TRUE;
        case WM_PLACECANCEL:
            if (state.place) {
                SetDlgItemInt(state.place->hPlaceDialogType, state.place->IDpx, static_cast<UINT>(state.oldX), TRUE);
                SetDlgItemInt(state.place->hPlaceDialogType, state.place->IDpy, static_cast<UINT>(state.oldY), TRUE);
            }
            ClosePlacement(hwnd);
            return TRUE;
        default:
            return FALSE;
    }
}

void RunPlaceDialog(s_placefunc* place) {
    if (!place) return;
    DialogBoxParamA(hInS, MAKEINTRESOURCEA(IDD_HIDE), hHide, PlaceDialogFunc, reinterpret_cast<LPARAM>(place));
}
