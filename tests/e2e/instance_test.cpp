// One program per user session: a second start hands its command line over.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dravonel_app.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "scopedwin.h"
#include "started_process.h"
#include "window_wait.h"

namespace {

// A stand-in for a running instance: a dialog with the hidden command field
// that records what a second instance hands over (without the field it
// stands in for one of the program's message boxes).
class StandInInstance {
public:
    explicit StandInInstance(const char* title, bool commandField = true) {
        struct {
            DLGTEMPLATE dialog;
            WORD menu, windowClass, caption;
        } blank = {};
        blank.dialog.style = WS_POPUP;
        window_ = CreateDialogIndirectParamA(nullptr, &blank.dialog, nullptr, Procedure, reinterpret_cast<LPARAM>(this));
        SetWindowTextA(window_, title);
        if (commandField)
            CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window_, reinterpret_cast<HMENU>(1013), nullptr,
                            nullptr);
    }
    ~StandInInstance() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    int commands = 0;
    std::string received;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
            return TRUE;
        }
        StandInInstance* self = reinterpret_cast<StandInInstance*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (message == WM_COMMAND && LOWORD(wParam) == 1014 && self) {
            ++self->commands;
            self->received = ControlText(hwnd, 1013);
            return TRUE;
        }
        return FALSE;
    }
    HWND window_;
};

TEST(SingleInstance, SecondStartWithoutArgumentsLeavesTheFirstAlone) {
    ProgramFolder folder;
    DravonelApp first(folder);
    ASSERT_TRUE(first.WaitReady());

    StartedProcess second(folder.path(), "Dravonel.exe", "");
    ASSERT_TRUE(second.WaitForExit(15000));
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_TRUE(first.process().running());
    EXPECT_EQ(WindowText(first.main()), "Dravonel");
    EXPECT_TRUE(first.Close());
}

TEST(SingleInstance, SecondStartHandsItsCommandLineOver) {
    ProgramFolder folder;
    StandInInstance running("Dravonel");
    StartedProcess second(folder.path(), "Dravonel.exe", "\"C:\\My Pictures\\a.jpg\" /nx");
    ASSERT_TRUE(WaitUntil([&] { return !second.running(); }, 15000));
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_EQ(running.commands, 1);
    EXPECT_EQ(running.received, "\"C:\\My Pictures\\a.jpg\" /nx");
}

// A box of the running program carries its title too, and is newer than
// its main window: the command line must still reach the main window.
TEST(SingleInstance, AnOpenBoxTitledLikeTheProgramDoesNotTakeTheCommandLine) {
    ProgramFolder folder;
    StandInInstance running("Dravonel");
    StandInInstance box("Dravonel", false);
    ASSERT_EQ(FindWindowA("#32770", "Dravonel"), box.window()) << "the newer box comes first";
    StartedProcess second(folder.path(), "Dravonel.exe", "/nx");
    ASSERT_TRUE(WaitUntil([&] { return !second.running(); }, 15000));
    EXPECT_EQ(running.commands, 1);
    EXPECT_EQ(running.received, "/nx");
    EXPECT_EQ(box.commands, 0);
}

TEST(SingleInstance, SecondStartWithExEndsTheFirst) {
    ProgramFolder folder;
    DravonelApp first(folder);
    ASSERT_TRUE(first.WaitReady());
    StartedProcess second(folder.path(), "Dravonel.exe", "/ex");
    ASSERT_TRUE(second.WaitForExit(15000));
    EXPECT_EQ(second.exitCode(), 0u);
    ASSERT_TRUE(first.process().WaitForExit(10000)) << "the first instance must exit";
    EXPECT_EQ(first.process().exitCode(), 0u);
}

TEST(SingleInstance, AnInstanceStillStartingIsNotFound) {
    // Until start-up is complete the main window has the template's empty
    // title, so a second start becomes a full instance of its own.
    ProgramFolder folder;
    StandInInstance starting("");
    DravonelApp second(folder, "");
    EXPECT_TRUE(second.WaitReady());
    EXPECT_EQ(starting.commands, 0);
    EXPECT_TRUE(second.Close());
}

TEST(SettingsWindow, CloseHidesTheVisibleWindowAndEndsTheHiddenOne) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    // The title is set just before start-up minimises the window.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.main()); }, 3000)) << "start-up ends in the tray";

    PostMessageA(app.main(), 0x207, 212, WM_LBUTTONDBLCLK);  // double click on the tray icon
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(app.main()) != FALSE; }, 5000));
    HWND general = app.Page(10301);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(general) != FALSE; }, 3000)) << "the general page is shown";

    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(app.main()); }, 5000));
    EXPECT_TRUE(app.process().running()) << "closing the visible window only hides it";

    PostMessageA(app.main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.process().WaitForExit(10000));
    EXPECT_EQ(app.process().exitCode(), 0u);
}

TEST(SettingsWindow, PanelCommandBoxRunsItsText) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    HWND panel = app.Panel();
    ASSERT_NE(panel, nullptr);
    SetDlgItemTextA(panel, 1013, " \"/ex\" ");
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(1014, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel, 1014)));
    EXPECT_TRUE(app.process().WaitForExit(10000));
}

// The text editor the program opened, ended by its id once the test has it.
class EditorWindow {
public:
    explicit EditorWindow(DWORD timeoutMilliseconds) {
        window_ = WaitForTopWindow("Notepad", nullptr, 0, timeoutMilliseconds);
        if (window_) GetWindowThreadProcessId(window_, &id_);
    }
    ~EditorWindow() {
        if (!id_) return;
        ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id_));
        PostMessageA(window_, WM_CLOSE, 0, 0);
        if (process.valid() && WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    }
    bool found() const { return window_ != nullptr; }
    std::string title() const { return WindowText(window_); }

private:
    HWND window_ = nullptr;
    DWORD id_ = 0;
};

TEST(CommandLineHelp, WrittenByteForByteAndOpened) {
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    PostMessageA(app.main(), WM_COMMAND, 1015, 0);
    EditorWindow editor(10000);
    ASSERT_TRUE(editor.found());
    EXPECT_NE(editor.title().find("cmd"), std::string::npos);
    std::string written, expected;
    ASSERT_TRUE(ReadTextFile(folder.file("cmd.txt"), written));
    ASSERT_TRUE(ReadTextFile(HELP_FILE, expected));
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.substr(0, 13), "Dravonel\r\n\r\n-");
    EXPECT_NE(written.find("\xCF\xE0\xF0\xE0\xEC\xE5\xF2\xF0\xFB"), std::string::npos) << "\"Параметры\" in Windows-1251";
    EXPECT_EQ(written.find("\n\n"), std::string::npos) << "every line ends in CR LF";
    EXPECT_TRUE(app.Close());
}

}  // namespace
