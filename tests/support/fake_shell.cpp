#include "fake_shell.h"

#include <commctrl.h>

namespace {

const UINT kInvokeMessage = WM_APP + 1;

struct InvokeCall {
    const std::function<void()>* work;
    HANDLE done;
};

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        FakeTray* tray = reinterpret_cast<FakeTray*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        return tray ? tray->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : FALSE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterPlainClass(const char* name, WNDPROC procedure = DefWindowProcA) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace

FakeShell::FakeShell(const FakeShellOptions& options) : options_(options) {
    trayIcons_.SetProbe([this] {
        ShellState state;
        state.iconViewVisible = iconView_ && IsWindowVisible(iconView_);
        state.taskbarLayered = tray_ && (GetWindowLongA(tray_, GWL_EXSTYLE) & WS_EX_LAYERED);
        return state;
    });
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_);
    if (thread_) WaitForSingleObject(ready_, 10000);
}

FakeShell::~FakeShell() {
    if (thread_) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
    }
    if (ready_) CloseHandle(ready_);
}

void FakeShell::Invoke(const std::function<void()>& work) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    InvokeCall call = {&work, done};
    if (PostThreadMessageA(threadId_, kInvokeMessage, 0, reinterpret_cast<LPARAM>(&call)))
        WaitForSingleObject(done, 10000);
    CloseHandle(done);
}

void FakeShell::Restart() {
    Invoke([this] {
        DestroyWindows();
        trayIcons_.Forget();
        CreateWindows();
        PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    });
}

DWORD WINAPI FakeShell::ThreadMain(LPVOID parameter) {
    FakeShell* self = static_cast<FakeShell*>(parameter);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // a queue before anyone posts
    self->CreateWindows();
    SetEvent(self->ready_);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!message.hwnd && message.message == kInvokeMessage) {
            InvokeCall* call = reinterpret_cast<InvokeCall*>(message.lParam);
            (*call->work)();
            SetEvent(call->done);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    self->DestroyWindows();
    return 0;
}

void FakeShell::CreateWindows() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterPlainClass("Progman");
    RegisterPlainClass("SHELLDLL_DefView");
    RegisterPlainClass("Internet Explorer_Server");
    RegisterPlainClass("Desktop");
    RegisterPlainClass("Shell_TrayWnd", TrayWindowProc);
    HINSTANCE instance = GetModuleHandleA(nullptr);

    // Shown but small and never activated: IsWindowVisible of the icon view
    // needs its parents visible, and tests must not lose the focus to it.
    const DWORD quiet = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    progman_ = CreateWindowExA(quiet, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr,
                               nullptr, instance, nullptr);
    defView_ = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, progman_, nullptr,
                               instance, nullptr);
    if (options_.activeDesktop)
        browser_ = CreateWindowExA(0, "Internet Explorer_Server", "", WS_CHILD | WS_VISIBLE, 0, 0, 160, 120, defView_,
                                   nullptr, instance, nullptr);
    if (options_.iconView)
        iconView_ = CreateWindowExA(0, WC_LISTVIEWA, "FolderView",
                                    WS_CHILD | LVS_ICON | (options_.iconsVisible ? WS_VISIBLE : 0), 0, 0, 160, 120,
                                    defView_, nullptr, instance, nullptr);
    if (options_.desktopWindow)
        desktop_ = CreateWindowExA(quiet, "Desktop", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (options_.tray) {
        int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        tray_ = CreateWindowExA(quiet | WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, height - 30,
                                width, 30, nullptr, nullptr, instance, nullptr);
        SetWindowLongPtrA(tray_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&trayIcons_));
    }
}

void FakeShell::DestroyWindows() {
    for (HWND* window : {&tray_, &desktop_, &progman_}) {
        if (*window) DestroyWindow(*window);
        *window = nullptr;
    }
    defView_ = iconView_ = browser_ = nullptr;
}
