// KvJoke.dll driven through its entry by a fake host, beside the fake shell's
// "Progman" and "Shell_TrayWnd". Only windows of this test are ever hidden,
// the pointer is released and the wallpaper put back after every test, and
// the lock goes to the fake host.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bmp_reader.h"
#include "fake_host.h"
#include "fake_shell.h"
#include "joke_ids.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const int kHotKeyRow = 14;
const int kMenuId = 21;
const int kAllFlags[] = {IDJOKEPICTURE, IDJOKEUPSIDEDOWN, IDJOKEMIRROR, IDJOKECHANGEWALL, IDJOKEICONS,
                         IDJOKETASKBAR, IDJOKEWINDOWS,    IDJOKECURSOR, IDJOKERAIN,       IDJOKELOCK};
const char kNothingTicked[] = "Tick at least one effect first.";
const char kNoHotKey[] = "The joke has no hot key. Start it anyway?";
const char kCaption[] = "Joke";

// Answers the message boxes this thread opens, from a thread of its own, and
// keeps what they said. Nothing ever waits for a click.
class MessageBoxAnswerer {
public:
    struct Box {
        std::string caption;
        std::string text;
    };
    MessageBoxAnswerer() : owner_(GetCurrentThreadId()), thread_([this] { Run(); }) {}
    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    void Answer(int button) { answer_ = button; }
    std::vector<Box> boxes() const {
        std::lock_guard<std::mutex> hold(lock_);
        return boxes_;
    }

private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
        char name[32] = "", text[512] = "";
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpiA(name, "Static") == 0 && text[0]) *reinterpret_cast<std::string*>(texts) += text;
        return TRUE;
    }
    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        char name[32] = "";
        GetClassNameA(window, name, sizeof name);
        if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    void Run() {
        while (!stop_) {
            HWND box = nullptr;
            EnumThreadWindows(owner_, FindBox, reinterpret_cast<LPARAM>(&box));
            if (box && box != answered_) {
                Box seen;
                char caption[128] = "";
                GetWindowTextA(box, caption, sizeof caption);
                seen.caption = caption;
                EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&seen.text));
                {
                    std::lock_guard<std::mutex> hold(lock_);
                    boxes_.push_back(seen);
                }
                answered_ = box;
                PostMessageA(box, WM_COMMAND, answer_, 0);
            }
            Sleep(20);
        }
    }

    DWORD owner_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answer_{IDOK};
    HWND answered_ = nullptr;
    mutable std::mutex lock_;
    std::vector<Box> boxes_;
    std::thread thread_;
};

LRESULT CALLBACK QuadrantProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        const int midX = area.right / 2, midY = area.bottom / 2;
        const struct {
            RECT rect;
            COLORREF colour;
        } quadrants[] = {{{0, 0, midX, midY}, RGB(255, 0, 0)},
                         {{midX, 0, area.right, midY}, RGB(0, 255, 0)},
                         {{0, midY, midX, area.bottom}, RGB(0, 0, 255)},
                         {{midX, midY, area.right, area.bottom}, RGB(255, 255, 255)}};
        for (const auto& quadrant : quadrants) {
            ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(quadrant.colour));
            FillRect(dc, &quadrant.rect, brush.get());
        }
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND TestWindow(const char* title, DWORD style, WNDPROC procedure = DefWindowProcA, DWORD exStyle = 0) {
    static const char kClass[] = "KvJokeTestWindow";
    static const char kQuadrants[] = "KvJokeQuadrants";
    const char* className = procedure == DefWindowProcA ? kClass : kQuadrants;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(exStyle | WS_EX_NOACTIVATE, className, title, style, 100, 100, 200, 120, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

std::string CurrentWallpaper() {
    char path[MAX_PATH] = "";
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof path, path, 0);
    return path;
}

BOOL CALLBACK CollectForeign(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (IsWindowVisible(window) && process != GetCurrentProcessId()) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        *reinterpret_cast<std::string*>(list) += std::string(name) + " ";
    }
    return TRUE;
}

// Visible top-level windows of other programs, which a test must not hide.
std::string ForeignWindows() {
    std::string found;
    EnumWindows(CollectForeign, reinterpret_cast<LPARAM>(&found));
    return found;
}

class JokePlugin : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveFolder(Here("Users"));
        CreateDirectoryA(Here("Users").c_str(), nullptr);
        DeleteFileA(Here("Joke.bmp").c_str());
        HeapString settings(SetUsetExtenPath(".set"));
        settings_ = settings.get();
        language_ = WriteLanguage();
        // A wallpaper of the test's own, stored as the user's would be: the
        // joke puts back what the registry holds, and what another test left
        // there may be a file that no longer exists.
        systemWallpaper_ = CurrentWallpaper();
        wallpaperBefore_ = Here("Before.bmp");
        ASSERT_TRUE(WriteBmpFile(wallpaperBefore_, SolidImage(8, 8, RGB(10, 20, 30))));
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &wallpaperBefore_[0], SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
        shell_.reset(new FakeShell());
        ASSERT_TRUE(shell_->ready());
        Open();
    }
    void TearDown() override {
        Close();
        shell_.reset();
        for (HWND window : windows_)
            if (IsWindow(window)) DestroyWindow(window);
        if (menu_) DestroyMenu(menu_);
        ClipCursor(nullptr);
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &systemWallpaper_[0], SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
        DeleteFileA(wallpaperBefore_.c_str());
        DeleteFileA(language_.c_str());
        RemoveFolder(Here("Users"));
    }

    // The program's English texts with the host's messages of the joke.
    std::string WriteLanguage() {
        std::string texts;
        ReadTextFile(DistFolder() + "\\Language\\eng.ini", texts);
        size_t strings = texts.find("[STRING]");
        if (strings == std::string::npos) return std::string();
        texts.insert(texts.find('\n', strings) + 1, std::string("13=") + kNothingTicked + "\n14=" + kNoHotKey +
                                                        "\n15=" + kCaption + "\n");
        std::string path = Here("joke-test.ini");
        WriteTextFile(path, texts);
        return path;
    }

    // As the host at start-up: page, name, settings, hot-key row, menu item.
    void Open() {
        plugin_.reset(new PluginModule("KvJoke"));
        ASSERT_TRUE(plugin_->loaded());
        page_ = reinterpret_cast<HWND>((*plugin_)(host_.panel(), KvCREATE, 0, language_.c_str()));
        ASSERT_NE(page_, nullptr);
        name_ = TakeHeapString((*plugin_)(host_.panel(), KvGETDESCRIPTION, 0, language_.c_str()));
        (*plugin_)(host_.main(), KvSETTINGS, 0, settings_.c_str());
        ASSERT_EQ((*plugin_)(host_.main(), KvGETCOUNTHOTKEY), 1);
        hotKey_.reset(reinterpret_cast<s_hotkey*>((*plugin_)(host_.main(), KvGETHOTKEY, 0, kHotKeyRow)));
        ASSERT_EQ((*plugin_)(host_.main(), KvGETCOUNTMENUITEM), 1);
        menuItem_.reset(reinterpret_cast<s_menuitem*>((*plugin_)(host_.main(), KvGETMENUITEM, 0, kMenuId)));
        menu_ = CreatePopupMenu();
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
        item.fType = MFT_OWNERDRAW;
        item.wID = kMenuId;
        item.dwItemData = reinterpret_cast<ULONG_PTR>(&menuData_);
        InsertMenuItemA(menu_, 0, TRUE, &item);
        (*plugin_)(reinterpret_cast<HWND>(menu_), KvCREATEMENUITEM, 0, kMenuId);
    }
    void Close() {
        if (!plugin_) return;
        (*plugin_)(host_.main(), KvAPPLICATIONCLOSE);
        if (IsWindow(page_)) DestroyWindow(page_);
        if (hotKey_) {
            free(hotKey_->DescroptionHotKey);
            free(hotKey_->KeyWin);
            free(hotKey_->KeyHotKey);
        }
        if (menuItem_) {
            free(menuItem_->NameMenuItem);
            free(menuItem_->KeyMenuItem);
        }
        plugin_.reset();
    }

    // Exactly these effects ticked (the page reads them when the joke starts).
    void Tick(std::initializer_list<int> controls) {
        for (int control : kAllFlags) CheckDlgButton(page_, control, BST_UNCHECKED);
        for (int control : controls) CheckDlgButton(page_, control, BST_CHECKED);
    }
    void PressHotKey() { (*plugin_)(host_.main(), KvRUNHOTKEY, 0, kHotKeyRow); }
    void ChooseMenuItem() { (*plugin_)(reinterpret_cast<HWND>(menu_), KvRUNMENUITEM, 0, kMenuId); }
    bool Refuses(int command) { return (*plugin_)(host_.main(), command) != 0; }
    bool Running() { return Refuses(KvSTOPNEXTWALL); }
    HWND Window(const char* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
        windows_.push_back(TestWindow(title, style));
        return windows_.back();
    }

    FakeHost host_;
    std::unique_ptr<FakeShell> shell_;
    std::unique_ptr<PluginModule> plugin_;
    std::unique_ptr<s_hotkey, FreeDeleter> hotKey_;
    std::unique_ptr<s_menuitem, FreeDeleter> menuItem_;
    HMENU menu_ = nullptr;
    menudata menuData_ = {};
    HWND page_ = nullptr;
    std::string name_;
    std::string settings_;
    std::string language_;
    std::string wallpaperBefore_, systemWallpaper_;
    std::vector<HWND> windows_;
};

TEST_F(JokePlugin, OffersOneHotKeyAndOneMenuItem) {
    EXPECT_EQ(GetParent(page_), host_.panel());
    EXPECT_EQ(name_, "Joke");
    ASSERT_TRUE(hotKey_);
    EXPECT_STREQ(hotKey_->DescroptionHotKey, "Start or stop the joke");
    EXPECT_STREQ(hotKey_->KeyWin, "WinJoke");
    EXPECT_STREQ(hotKey_->KeyHotKey, "HotKeyJoke");
    ASSERT_TRUE(menuItem_);
    EXPECT_STREQ(menuItem_->NameMenuItem, "Start or stop the joke");
    EXPECT_STREQ(menuItem_->KeyMenuItem, "JokeMenuItem");
    EXPECT_STREQ(menuData_.text, "Start the joke");
    EXPECT_NE(menuData_.hIcon, nullptr);
    // The Russian name reaches the host in Windows-1251.
    std::string russian = DistFolder() + "\\Language\\rus.ini";
    EXPECT_EQ(TakeHeapString((*plugin_)(host_.panel(), KvGETDESCRIPTION, 0, russian.c_str())), "Розыгрыш");
}

TEST_F(JokePlugin, NoEffectTickedOnlyShowsTheMessage) {
    HWND window = Window("stays");
    Tick({IDJOKEUPSIDEDOWN, IDJOKEMIRROR});
    {
        MessageBoxAnswerer answerer;
        PressHotKey();
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes()[0].caption, kCaption);
        EXPECT_EQ(answerer.boxes()[0].text, kNothingTicked);
    }
    EXPECT_FALSE(Running());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(host_.Count(KvSrvReadHotKey) + host_.Count(KvSrvSavePicture), 0) << "nothing else happens";
    EXPECT_STREQ(menuData_.text, "Start the joke");
}

TEST_F(JokePlugin, WithAHotKeyAssignedNoConfirmationIsAsked) {
    Tick({IDJOKEICONS});
    MessageBoxAnswerer answerer;
    answerer.Answer(IDNO);
    PressHotKey();
    ASSERT_EQ(answerer.boxes().size(), 1u) << "without a hot key the user confirms";
    EXPECT_EQ(answerer.boxes()[0].text, kNoHotKey);
    EXPECT_EQ(answerer.boxes()[0].caption, kCaption);
    EXPECT_FALSE(Running());
    ASSERT_EQ(host_.Count(KvSrvReadHotKey), 1);
    EXPECT_EQ(host_.Calls(KvSrvReadHotKey)[0].number, kHotKeyRow);

    host_.hotKeyCode = 'J' | HOTKEYF_CONTROL << 8;
    PressHotKey();
    EXPECT_EQ(answerer.boxes().size(), 1u);
    ASSERT_TRUE(Running());
    // The shell's windows are another thread's: shown and hidden without
    // waiting for it.
    EXPECT_TRUE(host_.WaitFor([&] { return !IsWindowVisible(shell_->progman()); }, 1000)) << "the icons are hidden";
    for (int command : {KvSTOPNEXTWALL, KvSTOPPREVIOUSWALL, KvUPDATEWALL, KvSTOPICONRULE})
        EXPECT_TRUE(Refuses(command)) << "command " << command;
    EXPECT_FALSE(Refuses(KvCHANGEDATE)) << "a command it does not handle answers 0";

    host_.hotKeyCode = 0;
    ChooseMenuItem();
    EXPECT_EQ(answerer.boxes().size(), 1u) << "stopping asks nothing";
    EXPECT_FALSE(Running());
    EXPECT_TRUE(host_.WaitFor([&] { return IsWindowVisible(shell_->progman()); }, 1000));
    for (int command : {KvSTOPNEXTWALL, KvSTOPPREVIOUSWALL, KvUPDATEWALL, KvSTOPICONRULE})
        EXPECT_FALSE(Refuses(command)) << "command " << command;

    answerer.Answer(IDYES);
    ChooseMenuItem();
    EXPECT_EQ(answerer.boxes().size(), 2u);
    EXPECT_TRUE(Running());
}

TEST_F(JokePlugin, StartingTwiceBringsEveryHiddenWindowBack) {
    host_.hotKeyCode = 'J' | HOTKEYF_ALT << 8;
    HWND first = Window("first"), second = Window("second"), third = Window("third");
    HWND minimised = Window("minimised", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE);
    HWND hidden = Window("hidden before", WS_OVERLAPPEDWINDOW);
    // Hiding windows reaches every program on the display; only this test's
    // own may be there.
    if (!ForeignWindows().empty()) GTEST_SKIP() << "other programs' windows are visible: " << ForeignWindows();
    Tick({IDJOKEWINDOWS, IDJOKEICONS, IDJOKETASKBAR});
    PressHotKey();
    ASSERT_TRUE(Running());
    for (HWND window : {first, second, third}) EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowVisible(minimised)) << "minimised windows are left alone";
    EXPECT_TRUE(host_.WaitFor([&] { return !IsWindowVisible(shell_->progman()) && !IsWindowVisible(shell_->tray()); },
                              1000));
    EXPECT_STREQ(menuData_.text, "Stop the joke");

    // The taskbar that comes back is hidden again at the next tick.
    shell_->Invoke([&] { ShowWindow(shell_->tray(), SW_SHOWNA); });
    EXPECT_TRUE(host_.WaitFor([&] { return !IsWindowVisible(shell_->tray()); }, 1000));

    PressHotKey();
    EXPECT_FALSE(Running());
    for (HWND window : {first, second, third}) EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowVisible(hidden)) << "only what the joke hid comes back";
    EXPECT_TRUE(host_.WaitFor([&] { return IsWindowVisible(shell_->progman()) && IsWindowVisible(shell_->tray()); },
                              1000));
    EXPECT_STREQ(menuData_.text, "Start the joke");
    (*plugin_)(reinterpret_cast<HWND>(menu_), KvCREATEMENUITEM, 0, kMenuId);
    EXPECT_STREQ(menuData_.text, "Start the joke");
}

TEST_F(JokePlugin, TheHostsNextWallpaperIsRefusedWhileTheJokesOwnTimerChangesIt) {
    host_.hotKeyCode = 'J';
    Tick({IDJOKECHANGEWALL});
    SetDlgItemInt(page_, IDJOKEPERIOD, 1, FALSE);
    PressHotKey();
    ASSERT_TRUE(Running());
    EXPECT_TRUE(Refuses(KvSTOPNEXTWALL));
    ASSERT_TRUE(host_.WaitFor([&] { return host_.Count(KvSrvNextWallpaper) >= 2; }, 3000));

    PressHotKey();
    EXPECT_FALSE(Refuses(KvSTOPNEXTWALL));
    int changes = host_.Count(KvSrvNextWallpaper);
    host_.Run(1500);
    EXPECT_EQ(host_.Count(KvSrvNextWallpaper), changes) << "the timer ends with the joke";
}

TEST_F(JokePlugin, TheScreenBecomesTheWallpaperFlippedAsAsked) {
    host_.hotKeyCode = 'J';
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND quadrants = TestWindow("quadrants", WS_POPUP | WS_VISIBLE, QuadrantProc, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    windows_.push_back(quadrants);
    SetWindowPos(quadrants, HWND_TOPMOST, 0, 0, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(quadrants);
    host_.Run(200);
    const std::string picture = Here("Joke.bmp");

    const struct {
        bool upsideDown, mirrored;
        COLORREF topLeft;
    } cases[] = {{false, false, RGB(255, 0, 0)},
                 {true, false, RGB(0, 0, 255)},
                 {false, true, RGB(0, 255, 0)},
                 {true, true, RGB(255, 255, 255)}};
    for (const auto& each : cases) {
        Tick({IDJOKEPICTURE});
        CheckDlgButton(page_, IDJOKEUPSIDEDOWN, each.upsideDown ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(page_, IDJOKEMIRROR, each.mirrored ? BST_CHECKED : BST_UNCHECKED);
        PressHotKey();
        ASSERT_TRUE(Running());
        std::vector<ServiceCall> saves = host_.Calls(KvSrvSavePicture);
        ASSERT_FALSE(saves.empty());
        EXPECT_EQ(saves.back().text, picture);
        ASSERT_EQ(host_.savedWidth, width);
        ASSERT_EQ(host_.savedHeight, height);
        auto at = [&](int x, int y) {
            DWORD pixel = host_.savedPixels[static_cast<size_t>(y) * width + x];
            return RGB(pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255);
        };
        if (!each.upsideDown && !each.mirrored && at(width / 4, height / 4) != RGB(255, 0, 0)) {
            PressHotKey();
            GTEST_SKIP() << "the screen cannot be read back here (Wine's display gave "
                         << std::hex << at(width / 4, height / 4) << ")";
        }
        EXPECT_EQ(at(width / 4, height / 4), each.topLeft) << each.upsideDown << each.mirrored;
        EXPECT_TRUE(FileExists(picture));
        EXPECT_EQ(CurrentWallpaper(), picture) << "the saved picture is the wallpaper";
        PressHotKey();
        EXPECT_FALSE(FileExists(picture)) << "the picture goes with the joke";
        EXPECT_EQ(CurrentWallpaper(), wallpaperBefore_) << "the user's wallpaper comes back";
    }

    // A loader that could not save: the desktop keeps its wallpaper.
    host_.saveAnswer = 1;
    host_.writeSavedPicture = false;
    Tick({IDJOKEPICTURE});
    PressHotKey();
    ASSERT_TRUE(Running());
    EXPECT_EQ(CurrentWallpaper(), wallpaperBefore_);
    PressHotKey();
}

TEST_F(JokePlugin, ThePointerFreezesAndTheLockComesWhenTheJokeStops) {
    host_.hotKeyCode = 'J';
    SetCursorPos(300, 200);
    Tick({IDJOKECURSOR, IDJOKERAIN, IDJOKELOCK});
    SetDlgItemInt(page_, IDJOKEDROP, 40, FALSE);
    PressHotKey();
    ASSERT_TRUE(Running());
    RECT clip = {};
    // The joke confines the pointer again on every fast tick; under Wine a
    // tick before this process has the X focus confines nothing.
    host_.WaitFor([&] { return GetClipCursor(&clip) && clip.right - clip.left == 1; }, 1000);
    if (clip.right - clip.left != 1) {
        // Wine confines the pointer through an X pointer grab, which it takes
        // only while a window of the process has the input focus.
        RECT probe = {300, 200, 301, 201};
        RECT probed = {};
        const bool wineClips = ClipCursor(&probe) && GetClipCursor(&probed) && probed.right - probed.left == 1;
        ClipCursor(nullptr);
        if (!wineClips) {
            PressHotKey();
            GTEST_SKIP() << "Wine could not confine the pointer just now (no window of this process has the X focus)";
        }
    }
    EXPECT_EQ(clip.right - clip.left, 1);
    EXPECT_EQ(clip.bottom - clip.top, 1);
    host_.Run(400);
    EXPECT_EQ(host_.Count(KvSrvLockWorkstation), 0) << "the lock waits for the end";

    PressHotKey();
    EXPECT_EQ(host_.Count(KvSrvLockWorkstation), 1);
    GetClipCursor(&clip);
    EXPECT_EQ(clip.right - clip.left, GetSystemMetrics(SM_CXSCREEN)) << "the pointer is free again";
    EXPECT_EQ(clip.bottom - clip.top, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(JokePlugin, ARunningJokeStopsWhenItsTicksAreClearedAndAtExit) {
    host_.hotKeyCode = 'J';
    HWND window = Window("comes back");
    // Hiding windows reaches every program on the display; only this test's
    // own may be there.
    if (!ForeignWindows().empty()) GTEST_SKIP() << "other programs' windows are visible: " << ForeignWindows();
    Tick({IDJOKEWINDOWS});
    PressHotKey();
    ASSERT_TRUE(Running());
    EXPECT_FALSE(IsWindowVisible(window));
    Tick({});
    {
        MessageBoxAnswerer answerer;
        PressHotKey();
        EXPECT_TRUE(answerer.boxes().empty());
    }
    EXPECT_FALSE(Running()) << "a joke can always be stopped";
    EXPECT_TRUE(IsWindowVisible(window));

    Tick({IDJOKEWINDOWS});
    PressHotKey();
    ASSERT_FALSE(IsWindowVisible(window));
    EXPECT_EQ((*plugin_)(host_.main(), KvAPPLICATIONCLOSE), 0);
    EXPECT_FALSE(Running());
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(JokePlugin, SettingsAreReadAndEveryChangeWrittenAtOnce) {
    WritePrivateProfileStringA("set", "KvICHide", "0", settings_.c_str());
    WritePrivateProfileStringA("set", "KvMirGor", "0", settings_.c_str());
    WritePrivateProfileStringA("set", "KvPixel", "0", settings_.c_str());
    WritePrivateProfileStringA("set", "KvJPeriod", "30", settings_.c_str());
    (*plugin_)(host_.main(), KvSETTINGS, 0, settings_.c_str());
    EXPECT_EQ(IsDlgButtonChecked(page_, IDJOKEICONS), BST_UNCHECKED) << "an inverted flag that is stored is off";
    EXPECT_EQ(IsDlgButtonChecked(page_, IDJOKEPICTURE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, IDJOKEUPSIDEDOWN), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page_, IDJOKELOCK), BST_UNCHECKED);
    EXPECT_EQ(GetDlgItemInt(page_, IDJOKEDROP, nullptr, FALSE), 1u) << "below 1 reads as 1";
    EXPECT_EQ(GetDlgItemInt(page_, IDJOKEPERIOD, nullptr, FALSE), 30u);

    auto click = [&](int control, bool ticked) {
        CheckDlgButton(page_, control, ticked ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(page_, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page_, control)));
    };
    auto stored = [&](const char* key) {
        HeapString value(GetKey(settings_.c_str(), "set", key, "<absent>"));
        return std::string(value.get());
    };
    click(IDJOKEICONS, true);
    EXPECT_EQ(stored("KvICHide"), "<absent>");
    click(IDJOKERAIN, false);
    EXPECT_EQ(stored("KvRain"), "0");
    click(IDJOKELOCK, true);
    EXPECT_EQ(stored("KvJoKeBlockAdd"), "0");
    click(IDJOKEUPSIDEDOWN, false);
    EXPECT_EQ(stored("KvMirGor"), "<absent>");
    SetDlgItemTextA(page_, IDJOKEPERIOD, "7");
    EXPECT_EQ(stored("KvJPeriod"), "7");
}

}  // namespace
