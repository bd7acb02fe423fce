#include "joke_run.h"

#include <string>

#include "dravonel_plugin.h"
#include "joke_effects.h"
#include "joke_ids.h"
#include "joke_page.h"
#include "kvfunction.h"
#include "kvinifunction.h"

namespace {

const UINT_PTR kFastTimer = 1;
const UINT kFastMilliseconds = 100;
const UINT_PTR kWallpaperTimer = 2;

// Texts of the host's "STRING" section: the message, the question, their caption.
const int kNothingTicked = 13;
const int kNoHotKey = 14;
const int kMessageCaption = 15;

HWND host = nullptr;
std::string language;
int hotKeyRow = -1;
int menuItem = -1;
HMENU menu = nullptr;
HICON menuIcon = nullptr;

bool running = false;
bool asking = false;  // a message is open; a second press waits for it
JokeEffects effects;  // as they were when the joke started
ShellWindowHider desktopIcons("Progman", "Program Manager");
ShellWindowHider taskbar("Shell_TrayWnd", nullptr);
WindowHider windows;
RainRandom rain(GetTickCount());

std::string Text(int number, const char* section) { return Priv(number, section, language.c_str()); }

int Ask(int text, UINT style) {
    asking = true;
    HWND owner = host ? GetAncestor(host, GA_ROOT) : nullptr;
    std::string message = Text(text, "STRING");
    std::string caption = Text(kMessageCaption, "STRING");
    int answer = MessageBoxA(owner, message.c_str(), caption.c_str(), style | MB_SETFOREGROUND);
    asking = false;
    return answer;
}

void UpdateMenuCaption() {
    if (!menu || menuItem < 0) return;
    menudata* item = static_cast<menudata*>(getMenuData(menuItem, menu, FALSE));
    if (!item) return;
    lstrcpynA(item->text, Text(running ? 1 : 0, "JOKE").c_str(), sizeof item->text);
    if (menuIcon) item->hIcon = menuIcon;
}

void FastTick() {
    if (effects.hideTaskbar) taskbar.Hide();
    if (effects.freezeCursor) FreezeCursor();
    if (effects.rain) PaintRainDrop(rain, DropRadius(effects.dropSize));
}

void Start(const JokeEffects& ticked) {
    running = true;
    effects = ticked;
    HWND page = JokePage();
    // The picture is taken first, with every window still on it.
    if (effects.screenPicture) ShowScreenAsWallpaper(host, effects.upsideDown, effects.mirrored);
    if (effects.hideIcons) desktopIcons.Hide();
    if (effects.hideWindows) windows.HideAll();
    if (NeedsFastTimer(effects)) {
        FastTick();
        SetTimer(page, kFastTimer, kFastMilliseconds, nullptr);
    }
    UpdateMenuCaption();
    if (effects.changeWallpaper) SetTimer(page, kWallpaperTimer, static_cast<UINT>(effects.period) * 1000u, nullptr);
}

}  // namespace

void SetJokeHost(HWND window, const char* languageFile) {
    host = window;
    language = languageFile ? languageFile : "";
}

void SetJokeHotKeyRow(int row) { hotKeyRow = row; }
int JokeHotKeyRow() { return hotKeyRow; }
void SetJokeMenuItem(int id) { menuItem = id; }
int JokeMenuItem() { return menuItem; }

void ShowJokeMenuItem(HINSTANCE instance, HMENU hostMenu, int id) {
    if (id != menuItem) return;
    menu = hostMenu;
    // Shared: the host may keep the handle in its menu as long as it likes.
    if (!menuIcon)
        menuIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_JOKE), IMAGE_ICON, 16, 16, LR_SHARED));
    UpdateMenuCaption();
}

bool JokeRunning() { return running; }

void ToggleJoke() {
    if (asking) return;
    if (running) {
        // Stopping needs no tick: a joke must always be stoppable.
        StopJoke();
        return;
    }
    JokeEffects ticked = TickedEffects();
    if (!AnyEffect(ticked)) {
        Ask(kNothingTicked, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Without a hot key, a frozen pointer and hidden windows leave only the
    // main menu to stop the joke: the user confirms.
    int hotKey = host && hotKeyRow >= 0
                     ? static_cast<int>(SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvReadHotKey, hotKeyRow))
                     : 0;
    if (!(hotKey & 0xFF) && Ask(kNoHotKey, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    Start(ticked);
}

void StopJoke() {
    if (!running) return;
    running = false;
    HWND page = JokePage();
    if (page) {
        KillTimer(page, kFastTimer);
        KillTimer(page, kWallpaperTimer);
    }
    desktopIcons.Show();
    taskbar.Show();
    windows.ShowAll();
    if (effects.freezeCursor) ReleaseCursor();
    RestoreWallpaper();
    if (effects.rain) RepaintScreen();
    UpdateMenuCaption();
    if (TickedEffects().lockAtStop && host) SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvLockWorkstation, 0);
}

void OnJokeTimer(UINT_PTR id) {
    if (!running) return;
    if (id == kFastTimer) FastTick();
    else if (id == kWallpaperTimer && host) SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvNextWallpaper, 0);
}
