// Shows a plug-in's settings page in the fake host so that a person can
// look at it: plugin_pages <KvFileMon|KvJoke> <language file> <seconds>.
// The folder monitor gets a few watched folders first. screens.sh takes
// the pictures.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fake_host.h"
#include "filemon_ids.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

void MakePictures(const std::string& folder, int count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < count; ++i) WriteTextFile(folder + "\\photo" + std::to_string(100 + i) + ".jpg", "jpeg");
}

void WatchSome(HWND page) {
    const struct {
        const char* folder;
        int pictures;
        const char* list;
    } rows[] = {{"Pictures\\Holidays", 24, "Holidays"}, {"Pictures\\Holidays\\Sea", 9, "Holidays"},
                {"Pictures\\Cats", 5, "Animals"}};
    for (const auto& row : rows) {
        MakePictures(Here(row.folder), row.pictures);
        SetDlgItemTextA(page, IDFMFOLDER, Here(row.folder).c_str());
        SendDlgItemMessageA(page, IDFMLISTS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(row.list));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDFMADD, BN_CLICKED), 0);
    }
    SetDlgItemTextA(page, IDFMFOLDER, Here("Pictures\\Cats").c_str());
    ListView_SetItemState(GetDlgItem(page, IDFMWATCHLIST), 1, LVIS_SELECTED, LVIS_SELECTED);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    const std::string plugin = argv[1], language = argv[2];
    const DWORD seconds = static_cast<DWORD>(atoi(argv[3]));
    for (const char* folder : {"Lists", "Users", "Pictures"}) RemoveFolder(Here(folder));
    for (const char* folder : {"Lists", "Users", "Pictures"}) CreateDirectoryA(Here(folder).c_str(), nullptr);
    for (const char* list : {"Holidays", "Animals", "Autumn"}) WriteTextFile(Here("Lists\\") + list + ".lst", "#0");
    HeapString settings(SetUsetExtenPath(".set"));

    FakeHost host(false);
    {
        PluginModule module(plugin.c_str());
        if (!module.loaded()) return 1;
        HWND page = reinterpret_cast<HWND>(module(host.panel(), KvCREATE, 0, language.c_str()));
        if (!page) return 1;
        std::string name = TakeHeapString(module(host.panel(), KvGETDESCRIPTION, 0, language.c_str()));
        module(host.main(), KvSETTINGS, 0, settings.get());
        if (plugin == "KvFileMon") WatchSome(page);

        // The window around the page, titled with the name the tree would show.
        RECT area = {};
        GetWindowRect(page, &area);
        RECT frame = {0, 0, area.right - area.left + 16, area.bottom - area.top + 16};
        AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE);
        SetWindowTextA(host.main(), ("Dravonel - " + name).c_str());
        SetWindowPos(host.main(), nullptr, 8, 8, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
        RECT client = {};
        GetClientRect(host.main(), &client);
        MoveWindow(host.panel(), 0, 0, client.right, client.bottom, TRUE);
        SetWindowPos(page, nullptr, 8, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(page, SW_SHOW);
        ShowWindow(host.main(), SW_SHOW);
        printf("shown\n");
        fflush(stdout);
        host.Run(seconds * 1000);
        module(host.main(), KvAPPLICATIONCLOSE);
        DestroyWindow(page);
    }
    for (const char* folder : {"Lists", "Users", "Pictures"}) RemoveFolder(Here(folder));
    return 0;
}
