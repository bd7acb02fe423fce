// The screen-saver chooser end to end: stand-in savers in the prefix's
// Windows and system folders write down how they were started, and the
// chooser runs from a fresh copy of the dist tree. Stand-ins never open a
// window and end by themselves, so nothing is blanked or locked.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "program_folder.h"
#include "remote_controls.h"
#include "remote_list.h"
#include "settings_file.h"
#include "started_process.h"
#include "system_folders.h"
#include "window_wait.h"

namespace {

const char* const kQuitEvent = "KvScrSetTestQuit";

// A saver of either kind reads the handle's low 32 bits.
std::string Decimal(HWND window) {
    return std::to_string(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
}

struct Saver {
    std::string name;       // file name, as the stand-in logs it
    std::string shortPath;  // the chooser's key for it
};

class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        quit_ = CreateEventA(nullptr, TRUE, FALSE, kQuitEvent);
        ResetEvent(quit_);
        windows_ = WindowsFolder();
        system_ = SystemFolder();
        // Any other saver here could be started for real.
        for (const std::string& folder : {windows_, system_})
            for (const std::string& name : SaverFiles(folder))
                ASSERT_TRUE(IsOurs(name)) << "a saver not made by the test: " << folder << "\\" << name;

        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string here = self;
        here.erase(here.rfind('\\'));
        for (const char* name : {"ta.scr", "tb.scr", "tc.scr"})
            Install(here + "\\stand_in_saver.exe", windows_ + "\\" + name);
        // One without a description.
        Install(here + "\\stand_in_saver_plain.exe", system_ + "\\td.scr");
        // The chooser itself in the Windows folder must not list (and so run) itself.
        Install(folder_.file("KvScrSet.scr"), windows_ + "\\KvScrSet.scr");

        // List order: the Windows folder, then the system folder, as the
        // system enumerates them.
        for (const std::string& folder : {windows_, system_})
            for (const std::string& name : SaverFiles(folder))
                if (lstrcmpiA(name.c_str(), "KvScrSet.scr") != 0)
                    savers_.push_back({name, ShortPath(folder + "\\" + name)});
        ASSERT_EQ(savers_.size(), 4u);

        log_ = folder_.file("savers.log");
        SetEnvironmentVariableA("KVSCR_TEST_LOG", log_.c_str());
    }

    void TearDown() override {
        SetEvent(quit_);
        SetEnvironmentVariableA("KVSCR_TEST_LOG", nullptr);
        SetEnvironmentVariableA("KVSCR_TEST_STAY", nullptr);
        for (const std::string& file : installed_)
            WaitUntil([&] { return DeleteFileA(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }, 5000);
        CloseHandle(quit_);
    }

    static bool IsOurs(const std::string& name) {
        for (const char* ours : {"ta.scr", "tb.scr", "tc.scr", "td.scr", "KvScrSet.scr"})
            if (lstrcmpiA(name.c_str(), ours) == 0) return true;
        return false;
    }

    void Install(const std::string& from, const std::string& to) {
        ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << to;
        installed_.push_back(to);
    }

    // The stand-ins' log lines: "name|command line".
    std::vector<std::string> Log() const {
        std::string bytes;
        std::vector<std::string> lines;
        if (!ReadTextFile(log_, bytes)) return lines;
        size_t start = 0, end;
        while ((end = bytes.find('\n', start)) != std::string::npos) {
            lines.push_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
    void ClearLog() const { DeleteFileA(log_.c_str()); }

    // Runs the chooser with a command line that ends it, and returns what
    // the savers logged.
    std::vector<std::string> RunOnce(const std::string& arguments) {
        ClearLog();
        StartedProcess chooser(folder_.path(), "KvScrSet.scr", arguments);
        EXPECT_TRUE(chooser.WaitForExit(20000)) << arguments;
        EXPECT_EQ(chooser.exitCode(), 0u);
        // A saver started without waiting may still be writing.
        WaitUntil([&] { return !Log().empty(); }, 3000);
        return Log();
    }

    std::string Started(size_t saver, const std::string& arguments) const {
        return savers_[saver].name + "|" + arguments;
    }
    std::string StoredSaver() const { return settings_.Get("SCRNSAVE"); }
    void Store(size_t saver) const { settings_.Set("SCRNSAVE", savers_[saver].shortPath); }
    void Exclude(size_t saver) const { settings_.Set(savers_[saver].shortPath, "0", "scr"); }

    HANDLE quit_ = nullptr;
    std::string windows_, system_, log_;
    std::vector<std::string> installed_;
    std::vector<Saver> savers_;
    ProgramFolder folder_;
    SettingsFile settings_{folder_.path()};
};

// The settings dialog of a running chooser, once it is shown.
HWND WaitForSettingsDialog(const StartedProcess& chooser) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            dialog = FindTopWindow("#32770", "KvScrSet", chooser.id());
            return dialog && IsWindowVisible(dialog);
        },
        20000);
    return dialog;
}

}  // namespace

TEST_F(ChooserTest, InTurnStartsTheCheckedSaverAfterTheStoredOne) {
    Exclude(3);
    Store(2);
    EXPECT_EQ(RunOnce("/s"), std::vector<std::string>{Started(0, "/S")});
    EXPECT_EQ(StoredSaver(), savers_[0].shortPath);
    EXPECT_EQ(RunOnce("/S"), std::vector<std::string>{Started(1, "/S")});
    EXPECT_EQ(StoredSaver(), savers_[1].shortPath);
    // A stored saver that is not checked: the first checked one.
    Store(3);
    EXPECT_EQ(RunOnce("/s"), std::vector<std::string>{Started(0, "/S")});
}

TEST_F(ChooserTest, RandomStartNeverRepeatsTheStoredSaver) {
    settings_.Set("KvRndStart", "0", "scr");
    Store(0);
    for (int run = 0; run < 4; ++run) {
        const std::string before = StoredSaver();
        std::vector<std::string> log = RunOnce("/s");
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(StoredSaver(), before);
        EXPECT_EQ(log[0].substr(log[0].find('|')), "|/S");
    }
}

TEST_F(ChooserTest, FewerThanTwoCheckedRunsTheStoredSaver) {
    Exclude(0);
    Exclude(2);
    Exclude(3);
    Store(2);  // stored, though not checked
    EXPECT_EQ(RunOnce("/s"), std::vector<std::string>{Started(2, "/S")});
    // Nothing stored: the first row, checked or not.
    settings_.Delete("SCRNSAVE");
    EXPECT_EQ(RunOnce("/s"), std::vector<std::string>{Started(0, "/S")});
    // A preview for the system's display dialog: the stored saver, with the
    // same command line.
    EXPECT_EQ(RunOnce("/p 4242"), std::vector<std::string>{Started(0, "/p 4242")});
}

TEST_F(ChooserTest, SettingsDialogListsTheSaversAndPreviewsTheStoredOne) {
    Exclude(3);
    Store(1);
    settings_.Set("KvRndStart", "0", "scr");
    settings_.Set("KvPeriod", "7", "scr");
    StartedProcess chooser(folder_.path(), "KvScrSet.scr", "/c");
    HWND dialog = WaitForSettingsDialog(chooser);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, 1001);
    ASSERT_TRUE(WaitUntil([&] { return RemoteListSelected(list) == 1; }, 10000));

    ASSERT_EQ(RemoteListCount(list), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(RemoteListText(list, row), row < 3 ? "Stand-in" : "td") << row;
        EXPECT_EQ(RemoteListChecked(list, row), row != 3) << row;
    }
    EXPECT_TRUE(ControlChecked(dialog, 1005));
    EXPECT_FALSE(ControlChecked(dialog, 1007));
    // The fixed Russian texts read right whatever the ANSI code page.
    wchar_t text[64] = L"";
    GetWindowTextW(GetDlgItem(dialog, 1005), text, 64);
    EXPECT_STREQ(text, L"Случайный выбор для запуска");
    GetWindowTextW(GetDlgItem(dialog, 1000), text, 64);
    EXPECT_STREQ(text, L"Период (мин)");
    EXPECT_EQ(ControlText(dialog, 1008), "7");

    // The selected saver previews in the pane.
    const std::string pane = Decimal(GetDlgItem(dialog, 1003));
    ASSERT_TRUE(WaitUntil([&] { return !Log().empty(); }, 5000));
    EXPECT_EQ(Log(), std::vector<std::string>{Started(1, "/P " + pane)});

    // Its own settings, with the dialog as parent; then the preview again.
    ClearLog();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(2000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 2000)));
    ASSERT_TRUE(WaitUntil([&] { return Log().size() >= 2; }, 10000));
    EXPECT_EQ(Log(), (std::vector<std::string>{Started(1, "/C " + Decimal(dialog)), Started(1, "/P " + pane)}));
    // The test button runs it full screen.
    ClearLog();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(2001, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 2001)));
    ASSERT_TRUE(WaitUntil([&] { return !Log().empty(); }, 10000));
    EXPECT_EQ(Log(), std::vector<std::string>{Started(1, "/S")});

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(chooser.WaitForExit(10000));
    EXPECT_EQ(chooser.exitCode(), 0u);
    EXPECT_EQ(StoredSaver(), savers_[1].shortPath);
}

TEST_F(ChooserTest, SettingsDialogStoresEveryChangeAtOnce) {
    StartedProcess chooser(folder_.path(), "KvScrSet.scr", "/c:0");
    HWND dialog = WaitForSettingsDialog(chooser);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, 1001);
    ASSERT_TRUE(WaitUntil([&] { return RemoteListSelected(list) == 0; }, 10000));
    // Opening the dialog changes nothing stored but the previewed saver.
    EXPECT_FALSE(settings_.Has(savers_[2].shortPath, "scr"));
    EXPECT_FALSE(settings_.Has("KvPeriod", "scr"));

    ASSERT_TRUE(RemoteListSetChecked(list, 2, false));
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get(savers_[2].shortPath, "scr") == "0"; }, 5000));
    ASSERT_TRUE(RemoteListSetChecked(list, 2, true));
    EXPECT_TRUE(WaitUntil([&] { return !settings_.Has(savers_[2].shortPath, "scr"); }, 5000));

    SetDlgItemTextA(dialog, 1008, "0");
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get("KvPeriod", "scr") == "1"; }, 5000));
    SetDlgItemTextA(dialog, 1008, "15");
    EXPECT_TRUE(WaitUntil([&] { return settings_.Get("KvPeriod", "scr") == "15"; }, 5000));

    for (int control : {1005, 1007}) {
        const char* key = control == 1005 ? "KvRndStart" : "KvChange";
        SendMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return settings_.Get(key, "scr") == "0"; }, 5000)) << key;
        SendMessageA(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !settings_.Has(key, "scr"); }, 5000)) << key;
    }

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(chooser.WaitForExit(10000));
    // Closing leaves the stored saver alone.
    EXPECT_EQ(StoredSaver(), savers_[0].shortPath);
}

TEST_F(ChooserTest, SecondSettingsDialogOnlyBringsTheFirstForward) {
    StartedProcess first(folder_.path(), "KvScrSet.scr", "/c");
    HWND dialog = WaitForSettingsDialog(first);
    ASSERT_NE(dialog, nullptr);

    // Something else in front first.
    HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    PumpMessages();
    ASSERT_EQ(GetForegroundWindow(), other);

    StartedProcess second(folder_.path(), "KvScrSet.scr", "/c");
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_EQ(FindTopWindow("#32770", "KvScrSet", second.id()), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 5000));
    EXPECT_TRUE(first.running());
    DestroyWindow(other);

    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(10000));
}

// The period is counted in minutes, so this one waits a minute.
TEST_F(ChooserTest, PeriodicChangeReplacesTheRunningSaverAfterThePeriod) {
    SetEnvironmentVariableA("KVSCR_TEST_STAY", "1");
    settings_.Set("KvChange", "0", "scr");
    settings_.Set("KvPeriod", "0", "scr");  // counts as one minute
    Exclude(2);
    Exclude(3);
    Store(1);
    ClearLog();
    const DWORD start = GetTickCount();
    StartedProcess chooser(folder_.path(), "KvScrSet.scr", "/s");
    ASSERT_TRUE(WaitUntil([&] { return Log().size() == 1; }, 10000));
    EXPECT_EQ(Log(), std::vector<std::string>{Started(0, "/S")});

    ASSERT_TRUE(WaitUntil([&] { return Log().size() >= 2; }, 90000));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 59000u);
    EXPECT_EQ(Log(), (std::vector<std::string>{Started(0, "/S"), Started(1, "/S")}));
    EXPECT_EQ(StoredSaver(), savers_[1].shortPath);
    EXPECT_TRUE(chooser.running());

    // The user is back: the saver ends, and so does the chooser.
    SetEvent(quit_);
    ASSERT_TRUE(chooser.WaitForExit(10000));
    EXPECT_EQ(chooser.exitCode(), 0u);
}

TEST_F(ChooserTest, WaitingChooserEndsWhenClosed) {
    // As when the session ends while a saver runs.
    SetEnvironmentVariableA("KVSCR_TEST_STAY", "1");
    StartedProcess chooser(folder_.path(), "KvScrSet.scr", "/s");
    ASSERT_TRUE(WaitUntil([&] { return Log().size() == 1; }, 10000));
    HWND hidden = FindTopWindow("#32770", "KvScrSet", chooser.id());
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    PostMessageA(hidden, WM_CLOSE, 0, 0);
    EXPECT_TRUE(chooser.WaitForExit(10000));
}
