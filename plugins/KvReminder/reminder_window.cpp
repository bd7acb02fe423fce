#include "reminder_window.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "host_services.h"
#include "layout.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "scopedwin.h"
#include "sound_player.h"

namespace {

struct ReminderState {
    ReminderRecord record;
    ScopedGdiObj<HFONT> font;
    ScopedGdiObj<HBRUSH> background;
    ScopedGdiObj<HBITMAP> picture;
    SoundPlayer player;
};

std::vector<HWND> openWindows;

// Width and height of text in font, as a static control draws it.
Size Measure(HDC dc, const std::string& line) {
    RECT box = {0, 0, 0, 0};
    DrawTextA(dc, line.empty() ? " " : line.c_str(), -1, &box,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    return {box.right - box.left, box.bottom - box.top};
}

// The text's size with the width of an "A" added for air around it.
Size MeasureText(HWND window, HFONT font, const std::string& text, int* air = nullptr) {
    ScopedGetDC dc(window);
    ScopedSelectObject select(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    std::vector<std::string> lines = SplitLines(text);
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, static_cast<int>(Measure(dc, line).cx));
    int letter = Measure(dc, "A").cx;
    if (air) *air = letter;
    return {widest + letter, static_cast<int>(lines.size()) * metrics.tmHeight};
}

void Place(HWND dialog, int control, const Box& box) {
    MoveWindow(GetDlgItem(dialog, control), box.x, box.y, box.cx, box.cy, FALSE);
}

void LayOut(HWND window, ReminderState& state) {
    const ReminderRecord& r = state.record;
    // The button shows the time the reminder came.
    char caption[64] = "";
    if (!GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, "HH:mm OK", caption, sizeof caption)) {
        lstrcpynA(caption, "OK", sizeof caption);
    }
    HWND button = GetDlgItem(window, IDOK);
    SetWindowTextA(button, caption);
    Size text = MeasureText(window, reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0)), caption);
    Size buttonSize = {std::max(75, text.cx + 16), std::max(23, text.cy + 10)};

    Size pictureSize;
    if (!r.Picture.empty()) {
        SIZE shown = {0, 0};
        state.picture.reset(HostPictureBitmap(r.Picture, SIZE{r.PicWidth, r.PicHeight}, shown));
        if (state.picture) {
            pictureSize = {static_cast<int>(shown.cx), static_cast<int>(shown.cy)};
            SendDlgItemMessageA(window, IDC_REMPICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(state.picture.get()));
        }
    }

    Size textSize;
    int air = 0;
    if (!r.Text.empty()) {
        state.font.reset(CreateReminderFont(r.Face, r.Height, r.CharSet, r.Weight));
        SendDlgItemMessageA(window, IDC_REMTEXT, WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), FALSE);
        SetDlgItemTextA(window, IDC_REMTEXT, r.Text.c_str());
        textSize = MeasureText(window, state.font.get(), r.Text, &air);
    }

    ReminderLayout layout = LayOutReminder(buttonSize, pictureSize, textSize);
    Place(window, IDC_REMPICTURE, layout.picture);
    Place(window, IDOK, layout.button);
    // Half the air on either side, so the text does not touch the picture.
    Box textBox = layout.text;
    textBox.x += air / 2;
    textBox.cx -= air / 2;
    Place(window, IDC_REMTEXT, textBox);
    ShowWindow(GetDlgItem(window, IDC_REMPICTURE), state.picture ? SW_SHOWNA : SW_HIDE);
    ShowWindow(GetDlgItem(window, IDC_REMTEXT), r.Text.empty() ? SW_HIDE : SW_SHOWNA);

    RECT frame = {0, 0, layout.client.cx, layout.client.cy};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Show(HWND window, const ReminderRecord& r) {
    if (r.TopMost == 0) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
    } else {
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

INT_PTR ReminderFunc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ReminderState* state = reinterpret_cast<ReminderState*>(GetWindowLongPtrA(window, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<ReminderState*>(lParam);
            SetWindowLongPtrA(window, DWLP_USER, lParam);
            const ReminderRecord& r = state->record;
            SetWindowTextA(window, r.Name.c_str());
            state->background.reset(CreateSolidBrush(r.BackColor));
            LayOut(window, *state);
            if (!r.Sound.empty()) state->player.Start(window, r.Sound, r.Loop == 1);
            if (r.Interval > 0) {
                UINT milliseconds = r.Interval > 2000000 ? 2000000000u : static_cast<UINT>(r.Interval) * 1000u;
                SetTimer(window, TIMER_CLOSE, milliseconds, nullptr);
            }
            Show(window, r);
            return FALSE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            if (!state) return FALSE;
            SetBkColor(reinterpret_cast<HDC>(wParam), state->record.BackColor);
            SetTextColor(reinterpret_cast<HDC>(wParam), state->record.Color);
            return reinterpret_cast<INT_PTR>(state->background.get());
        case WM_TIMER:
            if (wParam == TIMER_CLOSE) DestroyWindow(window);
            else if (wParam == TIMER_SOUND && state) state->player.Tick();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        case WM_DESTROY:
            KillTimer(window, TIMER_CLOSE);
            if (state) state->player.Stop();
            openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), window), openWindows.end());
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, DWLP_USER, 0);
            delete state;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HFONT CreateReminderFont(const std::string& face, int height, int charSet, int weight) {
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = (weight == 2 || weight == 3) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (weight == 1 || weight == 3) ? TRUE : FALSE;
    font.lfCharSet = static_cast<BYTE>(charSet);
    lstrcpynA(font.lfFaceName, face.c_str(), sizeof font.lfFaceName);
    return CreateFontIndirectA(&font);
}

HWND ShowReminderWindow(const ReminderRecord& record) {
    std::unique_ptr<ReminderState> state(new ReminderState);
    state->record = record;
    HWND window = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_REMINDER), nullptr, Guarded<ReminderFunc>,
                                     reinterpret_cast<LPARAM>(state.get()));
    if (!window) return nullptr;
    state.release();  // the window owns it now
    openWindows.push_back(window);
    return window;
}

void CloseAllReminderWindows() {
    std::vector<HWND> closing = openWindows;
    for (HWND window : closing) {
        if (IsWindow(window)) DestroyWindow(window);
    }
    openWindows.clear();
}
