#include "app/startup.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/folder_check.h"
#include "app/language.h"
#include "app/main_menu.h"
#include "app/main_window.h"
#include "app/settings_loading.h"
#include "app/settings_window.h"
#include "app/timers.h"
#include "base/globals.h"
#include "base/save_failures.h"
#include "desktop/tray_icon.h"
#include "engine/calendar_drawing.h"
#include "engine/image_binding.h"
#include "engine/wallpaper_events.h"
#include "hotkeys/hotkey_page.h"
#include "hotkeys/hotkey_rows.h"
#include "hotkeys/menu_items.h"
#include "network/update_check.h"
#include "pages/page_calendar.h"
#include "pages/page_general.h"
#include "pages/page_lists.h"
#include "pages/page_wall.h"
#include "pages/page_wall_cycle.h"
#include "pages/tooltips.h"
#include "plugins/plugin_commands.h"
#include "plugins/plugin_list.h"
#include "plugins/plugin_services.h"
#include "screensavers/saver_commands.h"
#include "screensavers/saver_menu.h"
#include "screensavers/saver_selection.h"
#include "system/processor_usage.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "procaddress.h"
#include "resource.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

HWND CreatePage(int templateId, HWND parent, DLGPROC procedure) {
    return CreateDialogParamA(hInS, MAKEINTRESOURCEA(templateId), parent, procedure, 0);
}

void SetButtonIcon(HWND dialog, int control, int icon, int width, int height) {
    HANDLE image = LoadImageA(hInS, MAKEINTRESOURCEA(icon), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    SendDlgItemMessageA(dialog, control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
}

// Tool tip texts of the host's own buttons ("TOOLTIP" section).
struct ButtonTip {
    HWND* dialog;
    int control;
    int text;
};
const ButtonTip kButtonTips[] = {
    {&hContent, IDTREESHOW, 40},
    {&hContent, IDMENUSHOW, 41},
    {&hContent, IDTOWALL, 42},
    {&hContent, IDCMD, 43},
    {&hContent, IDCMDRUN, 44},
    {&hContent, IDCMDHELP, 45},
    {&hBoth, IDICONCAP, 46},
};

}  // namespace

HWND FindRunningInstance() {
    // Message boxes are dialogs too, and some are titled "Dravonel": the
    // main window is the one that holds the command field.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", "Dravonel")) != nullptr)
        if (GetDlgItem(window, IDCMD)) return window;
    return nullptr;
}

void HandOverCommandLine(HWND running, const char* commandLine) {
    SetDlgItemTextA(running, IDCMD, commandLine);
    SendMessageA(running, WM_COMMAND, IDCMDRUN, 0);
}

void SetProgramEnvironment() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    if (!folder) return;
    size_t length = strlen(folder.get());
    if (length && folder.get()[length - 1] == '\\') folder.get()[length - 1] = '\0';
    SetEnvironmentVariableA("Dravonel_path", folder.get());
    if (const char* colon = strchr(folder.get(), ':')) {
        std::string drive(folder.get(), static_cast<size_t>(colon + 1 - folder.get()));
        SetEnvironmentVariableA("Dravonel_drive", drive.c_str());
    }
}

bool CreateProgramWindows() {
    // The templates hold common controls: their classes must exist first.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    hHide = CreatePage(IDD_HIDE, nullptr, HideFunc);
    hMain = CreatePage(IDD_MAIN, hHide, MainFunc);
    hContent = CreatePage(IDD_CONTENT, hMain, MainFunc);
    hBoth = CreatePage(IDD_BOTH, hContent, BothFunc);
    hWall = CreatePage(IDD_WALL, hContent, WallFunc);
    hFile = CreatePage(IDD_FILE, hContent, FileFunc);
    hPicture = CreatePage(IDD_PICTURE, hFile, PictureFunc);
    hCalen = CreatePage(IDD_CALEN, hContent, CalenFunc);
    hKey = CreatePage(IDD_KEY, hContent, KeyFunc);
    hHotKey = CreatePage(IDD_HOTKEY, hKey, KeyFunc);
    hRassh = CreatePage(IDD_RASSH, hContent, RasshFunc);
    hRasshItem = CreatePage(IDD_RASSHITEM, hRassh, RasshFunc);
    hPlugins = CreatePage(IDD_PLUGINS, hContent, PluginsFunc);
    return hHide && hMain && hContent && hBoth && hWall && hFile && hPicture && hCalen && hKey && hHotKey && hRassh &&
           hRasshItem && hPlugins;
}

void hUser32DllInit() {
    hUser32Dll = LoadLibraryA("User32.dll");
    pLockWorkStation = GetProcAddressAs<LockWorkStationFunction>(hUser32Dll, "LockWorkStation");
    pSetLayeredWindowAttributes =
        GetProcAddressAs<SetLayeredWindowAttributesFunction>(hUser32Dll, "SetLayeredWindowAttributes");
}

void ConnectWallpaperEvents() {
    WallpaperEvents events;
    events.stepStarting = HidePreviewForStep;
    events.pictureComposed = ShowComposedPicture;
    events.wallpaperApplied = OnTimer04;
    events.currentRowCleared = ClearCurrentRowView;
    events.nextRefused = PluginsRefuseNextWall;
    events.previousRefused = PluginsRefusePreviousWall;
    events.updateRefused = PluginsRefuseUpdateWall;
    events.drawItems = PluginsDrawWallpaper;
    SetWallpaperEvents(events);
}

void ConnectPageHooks() {
    SetMenuItemsChangedHandler(CreateMainMenu);
    SetSaverCommandHandler(OnSaverPageCommand);
    SetListsChangedHandler(PluginsListsChanged);
    HotKeyCommands commands;
    commands.runScreenSaver = RunScr;
    commands.checkUpdate = CheckUpdate;
    SetHotKeyCommands(commands);
    WatchSettingsWrites();
}

namespace {

void RunPluginCommandLine(const char* line) { CmdRun(line, 0); }

}  // namespace

void ConnectPluginHost() {
    SetDayColourFunction(PluginDayColour);
    PluginHostCommands commands;
    commands.showSettings = ShowSettings;
    commands.trackMenu = TrackMainMenu;
    commands.runCommandLine = RunPluginCommandLine;
    SetPluginHostCommands(commands);
}

void InitializeApp(const char* commandLine) {
    ConnectWallpaperEvents();
    ConnectPageHooks();
    ConnectPluginHost();
    HeapString users(CreatePathFile("Users", nullptr, nullptr));
    if (users) CreateDirectoryA(users.get(), nullptr);

    CreateLanguageMenu();
    Language();
    CheckProgramFolder();
    TellOldSettingsKept();

    PrepeaCpu();
    GetCpuUsage();
    CreateScreenSaverMenu();

    hBrushBackStatic = GetSysColorBrush(COLOR_BTNFACE);
    colorBackStatic = GetSysColor(COLOR_BTNFACE);

    PrepareTrayIcon();
    SendMessageA(hMain, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hMainIcon));
    SendMessageA(hMain, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadImageA(hInS, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    AddTrayIcon();

    SetButtonIcon(hContent, IDTOWALL, IDI_APPLY, ScaleForDpi(32), ScaleForDpi(18));
    SetButtonIcon(hContent, IDTREESHOW, IDI_TREE, SmallIconSize(), SmallIconSize());
    PrepareGeneralPage();
    PrepareWallPage();
    PrepareListsPage();
    PrepareCalendarPage();
    PrepareMenuItemsPage();

    for (const ButtonTip& tip : kButtonTips) AddToolTip(GetDlgItem(*tip.dialog, tip.control), tip.control, tip.text);

    srand(static_cast<unsigned>(time(nullptr)));
    GetLocalTime(&loctime);

    Settings();
    CreateMainMenu();
    FindScreenSaverChooser();
    FindScreenSavers();

    startProgress = 1;
    if (commandLine) CmdRun(commandLine, 0);
    else if (*StartCommand()) CmdRun(StartCommand(), 1);

    SetWindowTextA(hMain, "Dravonel");
    // A pause kept from the last run has already stopped the desktop care.
    if (!checkOff || !GeneralOption(IDNOICON)) SetTimer(hMain, Timer04, 2000, nullptr);
    // The first check selects the current saver, also while paused.
    OnTimer06();
    if (!checkOff || !GeneralOption(IDNOSCR)) SetTimer(hMain, Timer06, 2000, nullptr);
    ShowWindow(hMain, SW_MINIMIZE);
    StartHotKeys();
    SetTimer(hMain, Timer08, 1000, nullptr);
}

bool RedirectMouseWheel(const MSG& message) {
    if (message.message != WM_MOUSEWHEEL) return false;
    POINT pointer = {static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
    HWND under = WindowFromPoint(pointer);
    if (!under) return false;
    for (HWND list : {hHotKey, hRasshItem}) {
        if (list && (under == list || GetParent(under) == list)) {
            SendMessageA(list, WM_MOUSEWHEEL, message.wParam, message.lParam);
            return true;
        }
    }
    return false;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (RedirectMouseWheel(message)) continue;
        // Tab and arrow keys move through the controls of the visible pages.
        if (hMain && IsWindowVisible(hMain) && IsDialogMessageA(hMain, &message)) continue;
        if (hAbout && IsDialogMessageA(hAbout, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int DravonelMain(HINSTANCE instance, const char* commandLine) {
    hInS = instance;
    const bool hasCommandLine = commandLine && *commandLine;
    if (HWND running = FindRunningInstance()) {
        if (hasCommandLine) HandOverCommandLine(running, commandLine);
        return 0;
    }
    RezSaveReg();
    SetProgramEnvironment();
    if (!CreateProgramWindows()) return 1;
    CoInitialize(nullptr);
    hUser32DllInit();
    hMyDllFuncInit();
    InitializeApp(hasCommandLine ? commandLine : nullptr);
    return RunMessageLoop();
}
