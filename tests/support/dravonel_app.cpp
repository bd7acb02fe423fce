#include "dravonel_app.h"

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

bool DravonelApp::Close(DWORD timeoutMilliseconds) {
    if (!main_) return false;
    if (IsWindowVisible(main_)) PostMessageA(main_, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(main_) || !process_->running(); }, 3000);
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return process_->WaitForExit(timeoutMilliseconds);
}
