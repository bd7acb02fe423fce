#include "dravonel_app.h"

#include <commctrl.h>

#include "remote_controls.h"
#include "window_wait.h"

DravonelApp::DravonelApp(const ProgramFolder& folder, const std::string& arguments)
    : process_(new StartedProcess(folder.path(), "Dravonel.exe", arguments)) {}

bool DravonelApp::WaitReady(DWORD timeoutMilliseconds) {
    if (!process_->started()) return false;
    main_ = WaitForTopWindow("#32770", "Dravonel", process_->id(), timeoutMilliseconds);
    return main_ != nullptr;
}

HWND DravonelApp::Page(int controlId) const { return main_ ? FindChildDialogWithControl(main_, controlId) : nullptr; }

HWND DravonelApp::Panel() const { return Page(1014); }

bool DravonelApp::ShowPage(int index) {
    if (!main_) return false;
    ShowWindow(main_, SW_SHOWNORMAL);
    HWND tree = GetDlgItem(main_, 1012);
    LPARAM item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    if (index > 0) item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, item);
    for (int i = 1; i < index && item; ++i) item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
    return item && SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
}

bool DravonelApp::Close(DWORD timeoutMilliseconds) {
    if (!main_) return false;
    if (IsWindowVisible(main_)) PostMessageA(main_, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(main_) || !process_->running(); }, 3000);
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_->WaitForExit(timeoutMilliseconds);
}
