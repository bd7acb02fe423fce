#include "joke_effects.h"

#include <cstring>
#include <string>

#include "createpathfile.h"
#include "dib_section.h"
#include "dravonel_plugin.h"
#include "scopedwin.h"

namespace {

const char* const kNeverHidden[] = {"Progman", "Shell_TrayWnd", "Shell_SecondaryTrayWnd", "Desktop"};

std::string JokePicturePath() {
    HeapString path(CreatePathFile(nullptr, "Joke", ".bmp"));
    return path ? path.get() : std::string();
}

bool OwnThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

// A hung program must not stop the host: other threads' windows are shown
// and hidden asynchronously.
void ShowOrHide(HWND window, int command) {
    if (OwnThread(window)) ShowWindow(window, command);
    else ShowWindowAsync(window, command);
}

bool NeverHidden(HWND window) {
    if (window == GetDesktopWindow() || window == GetShellWindow()) return true;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    for (const char* shell : kNeverHidden)
        if (strcmp(name, shell) == 0) return true;
    return false;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && !IsIconic(window) && !NeverHidden(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The registry value whole: a longer path than the settings helpers read
// must not come back cut.
std::string RegistryWallpaper() {
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, key.receive()) != ERROR_SUCCESS)
        return std::string();
    char value[MAX_PATH * 2] = "";
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "Wallpaper", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return std::string();
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    return value;
}

}  // namespace

void ShowScreenAsWallpaper(HWND host, bool upsideDown, bool mirrored) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0) return;
    void* bits = nullptr;
    ScopedGetDC screen(nullptr);
    // Top-down: row 0 is the top.
    ScopedGdiObj<HBITMAP> picture(CreateDibSection32(width, height, true, &bits));
    if (!picture || !bits) return;
    {
        ScopedMemoryDC memory(screen);
        ScopedSelectObject select(memory, picture.get());
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    }
    GdiFlush();
    FlipPixels(static_cast<uint32_t*>(bits), width, height, upsideDown, mirrored);

    std::string path = JokePicturePath();
    if (path.empty() || !host) return;
    // A picture left from an earlier run must not pass for this one.
    DeleteFileA(path.c_str());
    s_savepicture request = {&path[0], picture.get()};
    LRESULT failed = SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvSavePicture, reinterpret_cast<LPARAM>(&request));
    // The loader's save answers 0 for success, and the host answers 0 too
    // when it has no save function: only a file that exists is applied.
    if (failed || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &path[0], SPIF_SENDWININICHANGE);
}

void RestoreWallpaper() {
    DeleteFileA(JokePicturePath().c_str());
    std::string wallpaper = RegistryWallpaper();
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &wallpaper[0], SPIF_SENDWININICHANGE);
}

void ShellWindowHider::Hide() {
    HWND window = FindWindowA(className_, title_);
    if (!window || !IsWindowVisible(window)) return;
    ShowOrHide(window, SW_HIDE);
    hidden_ = window;
}

void ShellWindowHider::Show() {
    if (!hidden_) return;
    // A restarted shell has a new window; the joke may have hidden it too.
    HWND current = FindWindowA(className_, title_);
    if (IsWindow(hidden_)) ShowOrHide(hidden_, SW_SHOWNA);
    if (current && current != hidden_) ShowOrHide(current, SW_SHOWNA);
    hidden_ = nullptr;
}

void WindowHider::HideAll() {
    std::vector<HWND> found;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    for (HWND window : found) {
        ShowOrHide(window, SW_HIDE);
        hidden_.push_back(window);
    }
}

void WindowHider::ShowAll() {
    // Shown without taking the focus from whoever has it now.
    for (HWND window : hidden_)
        if (IsWindow(window)) ShowOrHide(window, SW_SHOWNA);
    hidden_.clear();
}

void FreezeCursor() {
    POINT at = {};
    if (!GetCursorPos(&at)) return;
    RECT spot = {at.x, at.y, at.x + 1, at.y + 1};
    ClipCursor(&spot);
}

// No clip at all, rather than the first screen's rectangle, which would keep
// the pointer off a second monitor.
void ReleaseCursor() { ClipCursor(nullptr); }

void PaintRainDrop(RainRandom& random, int radius) {
    const int x = random.Below(GetSystemMetrics(SM_CXSCREEN));
    const int y = random.Below(GetSystemMetrics(SM_CYSCREEN));
    ScopedGetDC screen(nullptr);
    if (!screen) return;
    COLORREF colour = GetPixel(screen, x, y);
    if (colour == CLR_INVALID) return;
    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colour));
    ScopedGdiObj<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelectObject useBrush(screen, brush.get());
    ScopedSelectObject usePen(screen, pen.get());
    Ellipse(screen, x - radius, y - radius, x + radius, y + radius);
}

void RepaintScreen() { RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }
