// The general page's proxy fields, and the excluded programs: the check that
// holds a timed change back, the ProcessView window and the wallpaper page's
// switch, in-process on the program's own windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "base/globals.h"
#include "dialogs/process_view.h"
#include "engine/change_cycle.h"
#include "pages/page_general.h"
#include "pages/page_texts.h"
#include "system/process_list.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "remote_controls.h"
#include "resource.h"
#include "scopedwin.h"
#include "searchandpast.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

std::string Folder() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    std::string path = folder.get();
    return path.substr(0, path.size() - 1);
}

std::string ThisProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return ProgramName(path);
}

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

class SettingsPages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (hMain) return;
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        lstrcpynA(ini, (DistFolder() + "\\Language\\eng.ini").c_str(), sizeof ini);
        FillComboFromLanguage(hBoth, IDPRIORITY, "BOTH", 0, 5);
    }
    void SetUp() override {
        CreateDirectoryA((Folder() + "\\Users").c_str(), nullptr);
        DeleteFileA(settings.path().c_str());
        startProgress = 0;
    }
    void TearDown() override {
        startProgress = 0;
        StopProcessExclusion();
        CheckDlgButton(hWall, IDPROCEXCL, BST_UNCHECKED);
    }
    std::string FileText() {
        std::string bytes;
        ReadTextFile(settings.path(), bytes);
        return bytes;
    }
    SettingsFile settings{Folder()};
};

std::string Wrapped(const char* plain) {
    HeapString wrapped(WrapCredential(plain));
    return wrapped.get();
}

std::string Unwrapped(const std::string& stored) {
    HeapString plain(UnwrapCredential(stored.c_str()));
    return plain ? plain.get() : "";
}

TEST_F(SettingsPages, ProxyCredentialsAreLoadedPlainAndStoredOnlyWrapped) {
    settings.Set("KvProxy", "proxy.example:3128");
    settings.Set("KvUser", Wrapped("anna"));
    settings.Set("KvPass", Wrapped("pa55 word"));
    settings.Set("KvUsProxy", "0");
    settings.Set("KvPriority", "3");  // the priority is applied (and stored) as it loads
    const std::string before = FileText();
    LoadGeneralSettings();
    EXPECT_EQ(ControlText(hBoth, IDPROXY), "proxy.example:3128");
    EXPECT_EQ(ControlText(hBoth, IDUSER), "anna");
    EXPECT_EQ(ControlText(hBoth, IDPASS), "pa55 word");
    EXPECT_TRUE(ControlChecked(hBoth, IDUSEPROXY));
    EXPECT_EQ(FileText(), before) << "loading writes nothing back";

    startProgress = 1;
    SetDlgItemTextA(hBoth, IDPASS, "n3w secret");
    SetDlgItemTextA(hBoth, IDUSER, "boris");
    EXPECT_EQ(Unwrapped(settings.Get("KvPass")), "n3w secret");
    EXPECT_EQ(Unwrapped(settings.Get("KvUser")), "boris");
    EXPECT_EQ(FileText().find("n3w secret"), std::string::npos) << "never in clear text";
    EXPECT_EQ(FileText().find("boris"), std::string::npos);
    SetDlgItemTextA(hBoth, IDPROXY, "10.0.0.1:8080");
    EXPECT_EQ(settings.Get("KvProxy"), "10.0.0.1:8080");

    SetDlgItemTextA(hBoth, IDUSER, "");
    EXPECT_FALSE(settings.Has("KvUser")) << "an empty field deletes its key";
    SendDlgItemMessageA(hBoth, IDUSEPROXY, BM_CLICK, 0, 0);
    EXPECT_FALSE(settings.Has("KvUsProxy"));
}

// PSAPI as a 32-bit program finds it for a 64-bit one: the modules of the
// other kind cannot be read.
BOOL WINAPI ModulesOfAnotherKind(HANDLE, HMODULE*, DWORD, DWORD*) {
    SetLastError(ERROR_PARTIAL_COPY);
    return FALSE;
}

// Counts the enumerations that reach the system.
EnumProcessesFunction realEnumProcesses;
int enumerations;
BOOL WINAPI CountedEnumProcesses(DWORD* ids, DWORD size, DWORD* bytes) {
    ++enumerations;
    return realEnumProcesses(ids, size, bytes);
}

TEST_F(SettingsPages, TheExclusionCheckMatchesNamesInAnyCaseByEitherMethod) {
    settings.Set("0", "nothere.exe", "Process");
    settings.Set("1", Upper(ThisProgram()), "Process");
    LoadProcList();
    PsAPIFunctions();
    ASSERT_NE(hPsAPI, nullptr) << "PSAPI.DLL is there";
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 1) << "a name stored in capitals matches";

    // Where PSAPI cannot read a program's modules, the limited query names it.
    const EnumProcessModulesFunction realModules = pEnumProcessModules;
    pEnumProcessModules = ModulesOfAnotherKind;
    if (pQueryFullProcessImageName)
        EXPECT_EQ(ProcViewCreate(nullptr, 1), 1) << "found through the limited query";
    else
        std::printf("[  SKIPPED ] this system has no QueryFullProcessImageName (before Windows Vista)\n");
    pEnumProcessModules = realModules;

    FreeProcessFunctions();
    hToolH32 = LoadLibraryA("KERNEL32.DLL");
    ToolH32Functions();
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 1) << "the snapshot method matches too";
    FreeProcessFunctions();
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 0) << "nothing bound, nothing enumerated";

    settings.Delete("1", "Process");
    StartProcessExclusion();
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 0) << "no listed program runs";

    realEnumProcesses = pEnumProcesses;
    pEnumProcesses = CountedEnumProcesses;
    enumerations = 0;
    ReleaseProcList();
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 0);
    EXPECT_EQ(enumerations, 0) << "an empty list answers without enumerating";
}

TEST_F(SettingsPages, ProcessViewShowsBothListsAndSavesExactlyWhatItsListHolds) {
    settings.Set("0", "old.exe", "Process");
    StartProcessExclusion();
    HWND view = CreateDialogParamA(hInS, MAKEINTRESOURCEA(IDD_PROCVIEW), nullptr, ProcFunc, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ControlText(view, IDPROCTITLE), Priv(IDPROCTITLE, "PROCVIEW", ini));
    HWND excluded = GetDlgItem(view, IDPROCEXCLUDED);
    HWND running = GetDlgItem(view, IDPROCRUNNING);
    EXPECT_EQ(SendMessageA(excluded, LB_GETCOUNT, 0, 0), 1);
    const LRESULT self = SendMessageA(running, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(ThisProgram().c_str()));
    ASSERT_NE(self, LB_ERR) << "this program is among the running ones";
    EXPECT_EQ(SendMessageA(running, LB_FINDSTRINGEXACT, static_cast<WPARAM>(self),
                           reinterpret_cast<LPARAM>(ThisProgram().c_str())),
              self)
        << "listed once";

    SendMessageA(running, LB_SETCURSEL, static_cast<WPARAM>(self), 0);
    SendDlgItemMessageA(view, IDPROCADD, BM_CLICK, 0, 0);
    SendDlgItemMessageA(view, IDPROCADD, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(excluded, LB_GETCOUNT, 0, 0), 3) << "added twice is kept twice";
    SendMessageA(excluded, LB_SETCURSEL,
                 SendMessageA(excluded, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("old.exe")),
                 0);
    SendDlgItemMessageA(view, IDPROCREMOVE, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(excluded, LB_GETCOUNT, 0, 0), 2);

    SendMessageA(view, WM_CLOSE, 0, 0);
    DestroyWindow(view);
    EXPECT_EQ(settings.Get("0", "Process"), ThisProgram());
    EXPECT_EQ(settings.Get("1", "Process"), ThisProgram());
    EXPECT_FALSE(settings.Has("2", "Process")) << "old.exe is gone from the file";
    int nodes = 0;
    for (const s_window* node = sbproc; node; node = node->psw) ++nodes;
    EXPECT_EQ(nodes, 2);
    EXPECT_EQ(ProcViewCreate(nullptr, 1), 1);
}

VOID CALLBACK CloseProcessView(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND view = FindWindowA("#32770", "ProcessView")) PostMessageA(view, WM_CLOSE, 0, 0);
}

TEST_F(SettingsPages, TheWallpaperPageSwitchBindsLoadsAndShowsTheListAndReleasesItWhenCleared) {
    settings.Set("0", Upper(ThisProgram()), "Process");
    CheckDlgButton(hWall, IDFULLSCR, BST_UNCHECKED);
    CheckDlgButton(hWall, IDCPUSTOP, BST_UNCHECKED);
    EXPECT_EQ(CheckChange(), 1);

    const UINT_PTR closer = SetTimer(nullptr, 0, 200, CloseProcessView);
    SendDlgItemMessageA(hWall, IDPROCEXCL, BM_CLICK, 0, 0);  // returns when the window closes
    KillTimer(nullptr, closer);
    EXPECT_EQ(settings.Get("KvProcExcl"), "0");
    EXPECT_NE(hPsAPI, nullptr);
    ASSERT_NE(sbproc, nullptr);
    EXPECT_EQ(std::string(sbproc->name), Upper(ThisProgram())) << "kept through the window";
    EXPECT_EQ(CheckChange(), 0) << "held back while this program runs";

    SendDlgItemMessageA(hWall, IDPROCEXCL, BM_CLICK, 0, 0);
    EXPECT_FALSE(settings.Has("KvProcExcl"));
    EXPECT_EQ(hPsAPI, nullptr);
    EXPECT_EQ(sbproc, nullptr);
    EXPECT_EQ(settings.Get("0", "Process"), Upper(ThisProgram())) << "the list stays in the file";
    EXPECT_EQ(CheckChange(), 1);
}

}  // namespace
