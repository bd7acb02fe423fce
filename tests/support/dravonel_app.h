// Dravonel started from a fresh copy of the dist tree, for end-to-end tests.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "program_folder.h"
#include "started_process.h"

class DravonelApp {
public:
    // Starts Dravonel.exe in folder with arguments.
    DravonelApp(const ProgramFolder& folder, const std::string& arguments = std::string());

    // Waits until the main window carries its title "Dravonel".
    bool WaitReady(DWORD timeoutMilliseconds = 30000);
    StartedProcess& process() { return *process_; }
    HWND main() const { return main_; }
    // The settings page (a child dialog) that holds the control.
    HWND Page(int controlId) const;
    // The settings panel (holds the command box 1013 and its buttons).
    HWND Panel() const;
    // Shows the settings window on a page: item index of the page tree in
    // its order (0 the root, the general page; 1 .. its children).
    bool ShowPage(int index);
    // Ends the program through its own exit path (WM_CLOSE while hidden).
    bool Close(DWORD timeoutMilliseconds = 10000);

private:
    std::unique_ptr<StartedProcess> process_;
    HWND main_ = nullptr;
};
