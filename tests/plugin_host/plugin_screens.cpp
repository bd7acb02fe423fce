// Not a test: starts Dravonel from a fresh copy of dist with the delivered
// plug-ins and shows one view for screens.sh to photograph, then ends it.
//   plugin_screens <eng|rus> menu       the main menu from the tray
//   plugin_screens <eng|rus> page <n>   the settings window on the n-th
//                                       plug-in page of the tree (0 = the
//                                       plug-ins' root)
//   plugin_screens <eng|rus> page 0 <module>...   the root with modules of
//                                       the other kind put into Plugins
// Prints "shown" when the view stands and holds it for a few seconds.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bmp_reader.h"
#include "dravonel_app.h"
#include "program_folder.h"
#include "settings_file.h"
#include "window_wait.h"

namespace {

// Something on the pages: a date file, a watched folder, a list.
void Furnish(const ProgramFolder& folder, SettingsFile& settings) {
    CreateDirectoryA(folder.file("Dates").c_str(), nullptr);
    WriteTextFile(folder.file("Dates\\Birthdays.dte"), "[03]\r\n15=Anna\r\n[07]\r\n02=Boris\r\n");
    WriteTextFile(folder.file("Dates\\Holidays.dte"), "[01]\r\n01=New Year\r\n");
    CreateDirectoryA(folder.file("Pictures").c_str(), nullptr);
    CreateDirectoryA(folder.file("Lists").c_str(), nullptr);
    std::string list;
    for (int i = 0; i < 3; ++i) {
        const std::string picture = folder.file("Pictures\\p" + std::to_string(i) + ".bmp");
        WriteBmpFile(picture, SolidImage(64, 48, RGB(40 + 60 * i, 90, 160 - 40 * i)));
        list += picture + "#0\n";
    }
    WriteTextFile(folder.file("Lists\\Holiday.lst"), list + "#3");
    settings.Set("KvFileList", "Holiday");
    settings.Set("0", folder.file("Pictures") + ":Holiday", "FileMon");
}

HTREEITEM PluginItem(HWND tree, int index) {
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    if (index > 0 && item)
        item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    for (int i = 1; i < index && item; ++i)
        item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    return item;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string language = argv[1], view = argv[2];
    ProgramFolder folder;
    SettingsFile settings(folder.path());
    settings.Set("ini", language + ".ini");
    Furnish(folder, settings);
    for (int i = 4; i < argc; ++i) {
        const std::string module = argv[i];
        // Beside the modules of the same name, not over them.
        const std::string name = "Old" + module.substr(module.find_last_of('\\') + 1);
        CopyFileA(module.c_str(), folder.file("Plugins\\" + name).c_str(), FALSE);
    }
    DravonelApp app(folder);
    if (!app.WaitReady()) return 1;
    Sleep(500);

    if (view == "menu") {
        SetCursorPos(40, 20);
        PostMessageA(app.main(), 0x207, 212, WM_RBUTTONDOWN);
        if (!WaitForTopWindow("#32768", nullptr, app.process().id(), 5000)) return 1;
    } else {
        const int index = argc > 3 ? atoi(argv[3]) : 0;
        ShowWindow(app.main(), SW_SHOWNORMAL);
        SetWindowPos(app.main(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        HWND tree = GetDlgItem(app.main(), 1012);
        HTREEITEM item = PluginItem(tree, index);
        if (!item) return 1;
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        RECT rect;
        GetWindowRect(app.main(), &rect);
        printf("window %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    WaitUntil([] { return false; }, 800);
    printf("shown\n");
    fflush(stdout);
    WaitUntil([] { return false; }, 4000);

    if (view == "menu") {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        Sleep(300);
    }
    return app.Close() ? 0 : 1;
}
