// KvReminder.dll as the host sees it: loaded from dist\Plugins, driven
// through its entry (KV_PLUGIN_ENTRY) by a fake host that answers its service requests.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>
#include <shlobj.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "fake_host.h"
#include "program_folder.h"
#include "reminder_ids.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

const int kBase = 18;  // the host's own menu items take rows 0 to 17

std::string TestFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = '\0';
    return path;
}

std::string Scratch(const std::string& name) {
    std::string folder = TestFolder() + "\\scratch";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name;
}

bool MakeShortcut(const std::string& link, const std::string& target) {
    IShellLinkA* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink)))) {
        return false;
    }
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
        saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    shellLink->Release();
    return saved;
}

// Waits until the current minute has at least this many seconds left.
SYSTEMTIME NowWithRoom(int seconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (now.wSecond > 60 - seconds) {
        Sleep(static_cast<DWORD>((61 - now.wSecond) * 1000));
        GetLocalTime(&now);
    }
    return now;
}

std::string Two(int value) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return text;
}

// Mouse input at screen pixel (x, y), as a user's hand gives it.
void Mouse(int x, int y, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>((y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

class ReminderPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        file.reset(new ReminderFile);
        DeleteFileA(ConnectedFlag().c_str());
    }

    static std::string ConnectedFlag() { return TestFolder() + "\\connected.flag"; }

    void TearDown() override {
        plugin.reset();
        menu.reset();
        EXPECT_TRUE(OwnWindows("MCIWndClass").empty());
        EXPECT_EQ(FindOwnWindow("#32770", "KvReminder"), nullptr) << "no window outlives the module";
        CoUninitialize();
    }

    // Loads the module and runs the host's start-up commands.
    void Start(const char* language = "eng") {
        plugin.reset(new PluginModule);
        ASSERT_TRUE(plugin->loaded());
        EXPECT_EQ(plugin->Create(host, LanguageFile(language)), 0) << "no settings page";
        hidden = FindOwnWindow("#32770", "KvReminder");
        ASSERT_NE(hidden, nullptr);
        ASSERT_EQ(plugin->Call(host.window(), KvGETCOUNTMENUITEM), 2);
        for (int index = 0; index < 2; ++index) {
            s_menuitem* item = reinterpret_cast<s_menuitem*>(
                plugin->Call(host.window(), KvGETMENUITEM, index, kBase + index));
            ASSERT_NE(item, nullptr);
            names[index] = item->NameMenuItem;
            keys[index] = item->KeyMenuItem;
            free(item->NameMenuItem);
            free(item->KeyMenuItem);
            free(item);
        }
        menu.reset(new FakeMainMenu(kBase + 2));
        for (int id = kBase; id < kBase + 2; ++id) {
            plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvCREATEMENUITEM, 0, id);
        }
        for (int id = kBase; id < kBase + 2; ++id) {
            plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvCREATEMENUITEMPOPUP, id, id);
        }
        sub = GetSubMenu(menu->menu(), kBase + 1);
        ASSERT_NE(sub, nullptr);
    }

    // A choice in the plug-in's submenu, as the host passes it on.
    void Choose(int id) { plugin->Call(reinterpret_cast<HWND>(sub), KvPOPMENU, MAKEWPARAM(id, 0), 0); }

    void MinuteCheck() { SendMessageA(hidden, WM_TIMER, TIMER_MINUTE, 0); }

    HWND Reminder(const char* name, DWORD wait = 3000) {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindOwnWindow("#32770", name)) != nullptr; }, wait);
        return found;
    }

    std::vector<std::string> SubMenuTexts() {
        std::vector<std::string> texts;
        for (int i = 2; i < GetMenuItemCount(sub); ++i) {
            char text[256] = "";
            GetMenuStringA(sub, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            texts.push_back(text);
        }
        return texts;
    }

    std::vector<HWND> Notes() {
        std::vector<HWND> notes;
        for (HWND window : OwnWindows("#32770")) {
            if (GetWindow(window, GW_OWNER) == hidden && GetDlgItem(window, IDC_NOTENAME)) notes.push_back(window);
        }
        return notes;
    }

    FakeHost host;
    std::unique_ptr<ReminderFile> file;
    std::unique_ptr<PluginModule> plugin;
    std::unique_ptr<FakeMainMenu> menu;
    HWND hidden = nullptr;
    HMENU sub = nullptr;
    std::string names[2], keys[2];
};

TEST_F(ReminderPlugin, AnswersTheHostsCommandsWithItsItemsAndSubmenu) {
    file->Add(0, 1001, "Morning", {{"Type", "0"}, {"Houre", "7"}});
    file->Add(1, 1002, "");  // no name: not loaded
    file->Add(2, 1003, "Evening");
    file->Add(4, 1005, "Behind a gap");
    Start();
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(names[0], "Reminders");
    EXPECT_EQ(names[1], "Notes");
    EXPECT_EQ(keys[0], "RemInderMenuItem0");
    EXPECT_EQ(keys[1], "RemInderMenuItem1");
    EXPECT_EQ(plugin->Call(host.window(), KvGETMENUITEM, 2, kBase + 2), 0);

    ASSERT_NE(menu->Data(kBase)->hIcon, nullptr);
    ASSERT_NE(menu->Data(kBase + 1)->hIcon, nullptr);
    EXPECT_NE(menu->Data(kBase)->hIcon, menu->Data(kBase + 1)->hIcon);
    EXPECT_EQ(GetSubMenu(menu->menu(), kBase), nullptr) << "the editor's item has no submenu";

    // New note, a separator, then the reminders under their list positions + 1.
    ASSERT_EQ(GetMenuItemCount(sub), 4);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoA(sub, 0, TRUE, &item);
    EXPECT_EQ(item.wID, 0u);
    EXPECT_TRUE(item.fType & MFT_OWNERDRAW);
    menudata* newNote = reinterpret_cast<menudata*>(item.dwItemData);
    ASSERT_NE(newNote, nullptr);
    EXPECT_STREQ(newNote->text, "New note");
    EXPECT_NE(newNote->hIcon, nullptr);
    GetMenuItemInfoA(sub, 1, TRUE, &item);
    EXPECT_TRUE(item.fType & MFT_SEPARATOR);
    EXPECT_EQ(SubMenuTexts(), (std::vector<std::string>{"Morning", "Evening"}));
    EXPECT_EQ(GetMenuItemID(sub, 3), 3u) << "list position 2";

    char* description = reinterpret_cast<char*>(plugin->Call(host.window(), KvGETDESCRIPTION, 0,
                                                             reinterpret_cast<INT_PTR>(LanguageFile("eng").c_str())));
    ASSERT_NE(description, nullptr);
    EXPECT_STREQ(description, "Reminders");
    free(description);
    for (int command : {1, 2, 3, 4, 5, 12, 13, 14, 15, 16, 20, 21, 22}) {
        EXPECT_EQ(plugin->Call(host.window(), command), 0) << "command " << command;
    }

    // A new day reloads: a reminder added meanwhile appears.
    file->Add(3, 1004, "Added");
    plugin->Call(host.window(), KvCHANGEDATE);
    EXPECT_EQ(SubMenuTexts(), (std::vector<std::string>{"Morning", "Evening", "Added", "Behind a gap"}));

    EXPECT_EQ(plugin->Call(host.window(), KvAPPLICATIONCLOSE), 0);
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_EQ(GetSubMenu(menu->menu(), kBase + 1), nullptr) << "the host's menu keeps no destroyed submenu";
}

TEST_F(ReminderPlugin, FiringShowsPictureTextAndTimeOrHandsTheCommandLineToTheHost) {
    std::string picture = Scratch("big.bmp");
    WriteBmp(picture, 1000, 1000);
    file->Add(0, 2001, "Picture and text",
              {{"Picture", picture}, {"Text", "line one|line two, longer"}, {"Color", "255"},
               {"BackColor", "16777215"}, {"Height", "-16"}, {"Face", "Arial"}});
    file->Add(1, 2002, "Next wallpaper", {{"Parameters", "/nx"}});
    file->Add(2, 2003, "Quiet", {{"Text", "quietly"}, {"TopMost", "1"}, {"Interval", "1"}});
    Start();

    Choose(1);
    HWND window = Reminder("Picture and text");
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(host.bitmapSizes.size(), 1u);
    EXPECT_EQ(host.bitmapSizes[0].cx, 512) << "1000 x 1000 on a 1024 x 768 screen";
    EXPECT_EQ(host.bitmapSizes[0].cy, 512);
    EXPECT_EQ(host.releasedPictures, 1);
    RECT box;
    GetWindowRect(GetDlgItem(window, IDC_REMPICTURE), &box);
    EXPECT_EQ(box.right - box.left, 512);
    EXPECT_EQ(TextOf(GetDlgItem(window, IDC_REMTEXT)), "line one\r\nline two, longer");
    std::string button = TextOf(GetDlgItem(window, IDOK));
    ASSERT_EQ(button.size(), 8u) << button;
    EXPECT_TRUE(isdigit(static_cast<unsigned char>(button[0])) && button[2] == ':' && button.substr(5) == " OK")
        << button;
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "centred";
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT text, pictureBox;
    GetWindowRect(GetDlgItem(window, IDC_REMTEXT), &text);
    GetWindowRect(GetDlgItem(window, IDC_REMPICTURE), &pictureBox);
    EXPECT_GE(text.left, pictureBox.right) << "the text stands right of the picture";
    RECT okBox;
    GetWindowRect(GetDlgItem(window, IDOK), &okBox);
    EXPECT_GE(okBox.top, pictureBox.bottom) << "the button under it";
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(window));

    Choose(2);
    EXPECT_EQ(host.commandLines, std::vector<std::string>{"/nx"});
    EXPECT_EQ(FindOwnWindow("#32770", "Next wallpaper"), nullptr) << "nothing to show";

    // Shown quietly, and closed by itself after a second.
    HWND foreground = GetForegroundWindow();
    Choose(3);
    HWND quiet = Reminder("Quiet");
    ASSERT_NE(quiet, nullptr);
    EXPECT_FALSE(GetWindowLongA(quiet, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetForegroundWindow(), quiet);
    (void)foreground;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(quiet); }, 3000));
}

TEST_F(ReminderPlugin, RunsProgramsWithTheirParametersAndShortcutsToTheirTargets) {
    std::string marker = Scratch("program.txt"), linked = Scratch("shortcut.txt");
    DeleteFileA(marker.c_str());
    DeleteFileA(linked.c_str());
    std::string program = Scratch("program.bat"), target = Scratch("target.bat"), link = Scratch("target.lnk");
    WriteTextFile(program, "@echo off\r\necho %1> \"" + marker + "\"\r\n");
    WriteTextFile(target, "@echo off\r\necho linked> \"" + linked + "\"\r\n");
    ASSERT_TRUE(MakeShortcut(link, target));
    file->Add(0, 3001, "Program", {{"File", program}, {"Parameters", "hello"}});
    file->Add(1, 3002, "Shortcut", {{"File", link}, {"Parameters", "ignored"}});
    Start();
    Choose(1);
    Choose(2);
    std::string written;
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(marker, written) && written.find("hello") == 0; }, 15000))
        << written;
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(linked, written) && written.find("linked") == 0; }, 15000));
    EXPECT_TRUE(host.commandLines.empty()) << "a program's parameters are its own";
}

TEST_F(ReminderPlugin, DueRemindersFireAtTheirMinuteUnlessBusyOrTheEditorIsOpen) {
    SYSTEMTIME now = NowWithRoom(8);
    std::vector<std::pair<std::string, std::string>> due = {
        {"Type", "0"}, {"Houre", Two(now.wHour)}, {"Minute", Two(now.wMinute)}, {"Text", "due"}};
    file->Add(0, 4001, "Due", due);
    auto busy = due;
    busy.push_back({"CancelWork", "1"});
    file->Add(1, 4002, "Busy", busy);
    auto later = due;
    later[2].second = Two((now.wMinute + 1) % 60);
    file->Add(2, 4003, "Later", later);
    host.mayChange = 0;
    Start();  // the first check runs at once

    HWND window = Reminder("Due");
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(host.mayChangeAsked, 1);
    EXPECT_EQ(FindOwnWindow("#32770", "Busy"), nullptr) << "the host said the machine is busy";
    EXPECT_EQ(FindOwnWindow("#32770", "Later"), nullptr);

    Choose(2);  // chosen from the menu: forced, the host is not asked
    HWND forced = Reminder("Busy");
    ASSERT_NE(forced, nullptr);
    SendMessageA(forced, WM_CLOSE, 0, 0);
    EXPECT_EQ(host.mayChangeAsked, 1);

    // With the editor open nothing fires, neither by the clock nor from the menu.
    plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvRUNMENUITEM, 0, kBase);
    HWND editor = FindOwnWindow("#32770", "Reminders");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetMenuItemCount(sub), 2) << "the reminders are unloaded while it is open";
    MinuteCheck();
    Choose(1);
    PumpMessages();
    EXPECT_EQ(FindOwnWindow("#32770", "Due"), nullptr);
    plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvRUNMENUITEM, 0, kBase);
    EXPECT_EQ(FindOwnWindow("#32770", "Reminders"), editor) << "brought to the front, not opened twice";
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(SubMenuTexts(), (std::vector<std::string>{"Due", "Busy", "Later"}));
}

TEST_F(ReminderPlugin, HotKeysAreRegisteredOnTheHiddenWindowAndATakenOneWarnsOnce) {
    SYSTEMTIME now = NowWithRoom(8);
    // Ctrl+Alt+F10 is somebody else's already.
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 77, MOD_CONTROL | MOD_ALT, VK_F10));
    file->Add(0, 5001, "Keyed", {{"HotKey", Two(0x0600 | VK_F9)}, {"Text", "by key"}});
    file->Add(1, 5002, "Taken",
              {{"HotKey", Two(0x0600 | VK_F10)}, {"Type", "0"}, {"Houre", Two(now.wHour)},
               {"Minute", Two(now.wMinute)}, {"Text", "on time"}});
    {
        MessageBoxCloser closer("KvReminder( Taken )");
        Start();
        EXPECT_EQ(closer.seen(), 1);
    }
    HWND onTime = Reminder("Taken");
    EXPECT_NE(onTime, nullptr) << "fires on time without its hot key";
    if (onTime) SendMessageA(onTime, WM_CLOSE, 0, 0);

    EXPECT_FALSE(RegisterHotKey(other, 78, MOD_CONTROL | MOD_ALT, VK_F9)) << "held by the plug-in";
    INPUT keys[6] = {};
    WORD codes[3] = {VK_CONTROL, VK_MENU, VK_F9};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[5 - i].type = INPUT_KEYBOARD;
        keys[5 - i].ki.wVk = codes[i];
        keys[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, keys, sizeof(INPUT));
    EXPECT_NE(Reminder("Keyed"), nullptr) << "the pressed hot key fires its reminder";
    UnregisterHotKey(other, 77);
    DestroyWindow(other);
}

TEST_F(ReminderPlugin, NotesMadeWithinOneSecondBothSurvive) {
    Start("rus");
    Choose(0);
    Choose(0);
    std::string first = file->Get("LIST_REMAINDERS", "0"), second = file->Get("LIST_REMAINDERS", "1");
    ASSERT_NE(first, "<absent>");
    ASSERT_NE(second, "<absent>");
    EXPECT_NE(first, second);
    for (const std::string& number : {first, second}) {
        EXPECT_EQ(file->Get(number, "Name"), "\xC7\xE0\xEC\xE5\xF2\xEA\xE0") << "\"Заметка\" in Windows-1251";
        EXPECT_EQ(file->Get(number, "Type"), "1");
        EXPECT_EQ(file->Get(number, "ShowNote"), "1");
        EXPECT_EQ(file->Get(number, "XNote"), "50");
        EXPECT_EQ(file->Get(number, "ColorNote"), Two(0xC08000));
    }
    EXPECT_EQ(Notes().size(), 2u);
    EXPECT_EQ(SubMenuTexts().size(), 2u);
    HWND note = Notes().front();
    EXPECT_EQ(TextOf(GetDlgItem(note, IDC_NOTEDAY)).size(), 2u);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(note, IDC_NOTEMONTH))) << "a yearly note shows its date";
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    GetMenuItemInfoA(sub, 0, TRUE, &item);
    EXPECT_STREQ(reinterpret_cast<menudata*>(item.dwItemData)->text, "\xcd\xee\xe2\xe0\xff \xe7\xe0\xec\xe5\xf2\xea\xe0")
        << "\"Новая заметка\" from rus.ini";
}

TEST_F(ReminderPlugin, EditingANoteSavesAndReschedulesWhenItLosesTheFocus) {
    SYSTEMTIME now = NowWithRoom(8);
    file->Add(0, 7001, "Call Bob",
              {{"Type", "0"}, {"Houre", "3"}, {"Minute", "0"}, {"ShowNote", "1"}, {"Text", "tel 123|ask about Friday"},
               {"XNote", "200"}, {"YNote", "150"}, {"AlphaNote", "-50"}});
    Start();
    std::vector<HWND> notes = Notes();
    ASSERT_EQ(notes.size(), 1u);
    HWND note = notes[0];
    RECT place;
    GetWindowRect(note, &place);
    EXPECT_EQ(place.left, 200);
    EXPECT_EQ(place.top, 150);
    EXPECT_EQ(place.bottom - place.top, 14) << "folded: only the strip";
    ASSERT_FALSE(host.layered.empty());
    EXPECT_EQ(host.layered.back().hwnd, note);
    EXPECT_EQ(host.layered.back().bAlpha, 124);
    EXPECT_EQ(host.layered.back().dwFlags, 2u);
    EXPECT_EQ(host.layered.back().crKey, 0u);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(note, IDC_NOTEDAY))) << "no date for a day rule";
    EXPECT_EQ(TextOf(GetDlgItem(note, IDC_NOTEHOUR)), "03");
    EXPECT_EQ(TextOf(GetDlgItem(note, IDC_NOTEMINUTE)), "00");

    SetDlgItemTextA(note, IDC_NOTENAME, "");
    EXPECT_EQ(TextOf(GetDlgItem(note, IDC_NOTENAME)), "Call Bob") << "a cleared name comes back";

    // Unfolded by its button: the text below the strip.
    SendMessageA(note, WM_COMMAND, MAKEWPARAM(IDC_NOTEFOLD, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(note, IDC_NOTEFOLD)));
    GetWindowRect(note, &place);
    EXPECT_GT(place.bottom - place.top, 14 + 2 * 10);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(note, IDC_NOTETEXT)));

    SetForegroundWindow(note);
    SetDlgItemTextA(note, IDC_NOTEHOUR, Two(now.wHour).c_str());
    SetDlgItemTextA(note, IDC_NOTEMINUTE, Two(now.wMinute).c_str());
    SetDlgItemTextA(note, IDC_NOTENAME, "Call Robert");
    // Typed: a multi-line edit reports no change for WM_SETTEXT.
    SendDlgItemMessageA(note, IDC_NOTETEXT, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(note, IDC_NOTETEXT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("tel 123\r\nask about Monday"));
    EXPECT_EQ(file->Get(7001, "Houre"), "3") << "nothing saved while it has the focus";

    HWND elsewhere = CreateWindowA("STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 600, 600, 40, 40, nullptr, nullptr,
                                   nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    PumpMessages();
    EXPECT_EQ(file->Get(7001, "Houre"), Two(now.wHour));
    EXPECT_EQ(file->Get(7001, "Minute"), now.wMinute ? Two(now.wMinute) : "<absent>");
    EXPECT_EQ(file->Get(7001, "Name"), "Call Robert");
    EXPECT_EQ(file->Get(7001, "Text"), "tel 123|ask about Monday");
    EXPECT_EQ(SubMenuTexts(), std::vector<std::string>{"Call Robert"});
    GetWindowRect(note, &place);
    EXPECT_EQ(place.bottom - place.top, 14) << "folded again";

    MinuteCheck();
    EXPECT_NE(Reminder("Call Robert"), nullptr) << "rescheduled to the new minute";
    DestroyWindow(elsewhere);
}

TEST_F(ReminderPlugin, DeletingFromTheNoteMenuClosesTheListsGap) {
    for (int k = 0; k < 3; ++k) {
        file->Add(k, 8000 + k, "note " + Two(k), {{"ShowNote", "1"}, {"XNote", Two(100 + 200 * k)}});
    }
    Start();
    ASSERT_EQ(Notes().size(), 3u);
    HWND middle = nullptr;
    for (HWND note : Notes()) {
        if (TextOf(GetDlgItem(note, IDC_NOTENAME)) == "note 1") middle = note;
    }
    ASSERT_NE(middle, nullptr);
    HMENU context = reinterpret_cast<HMENU>(GetWindowLongPtrA(GetDlgItem(middle, IDC_NOTEMENU), GWLP_USERDATA));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(GetMenuItemCount(context), 6);
    EXPECT_EQ(GetMenuItemID(context, 6 - 1), static_cast<UINT>(IDM_NOTEDELETE));
    SendMessageA(middle, WM_COMMAND, IDM_NOTEDELETE, 0);
    EXPECT_TRUE(WaitUntil([&] { return Notes().size() == 2u; }, 3000));
    EXPECT_FALSE(file->HasSection(8001));
    EXPECT_EQ(file->Get("LIST_REMAINDERS", "0"), "8000");
    EXPECT_EQ(file->Get("LIST_REMAINDERS", "1"), "8002");
    EXPECT_EQ(file->Get("LIST_REMAINDERS", "2"), "<absent>");
    EXPECT_EQ(SubMenuTexts(), (std::vector<std::string>{"note 0", "note 2"}));

    // "Do not show" keeps the reminder but not its note.
    HWND last = Notes().front();
    std::string name = TextOf(GetDlgItem(last, IDC_NOTENAME));
    SendMessageA(last, WM_COMMAND, IDM_NOTEHIDE, 0);
    EXPECT_FALSE(IsWindow(last));
    int number = name == "note 0" ? 8000 : 8002;
    EXPECT_EQ(file->Get(number, "ShowNote"), "<absent>");
    EXPECT_EQ(file->Get(number, "Name"), name);
}

TEST_F(ReminderPlugin, TheEditorWritesCompleteRecordsFromItsControls) {
    Start();
    plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvRUNMENUITEM, 0, kBase);
    HWND editor = FindOwnWindow("#32770", "Reminders");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_ETYPE, CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_EDAYRULE, CB_GETCOUNT, 0, 0), 14);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_EWEEKRULE, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_ECONNECTION, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_EINET, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendDlgItemMessageA(editor, IDC_ESHOWCMD, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(TextOf(GetDlgItem(editor, IDC_ENEW)), "New");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(editor, IDC_ENAME))) << "nothing to edit yet";

    auto click = [&](int control) {
        SendMessageA(editor, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(editor, control)));
    };
    click(IDC_ENEW);
    SetDlgItemTextA(editor, IDC_ENAME, "Tea");
    SendDlgItemMessageA(editor, IDC_ETYPE, CB_SETCURSEL, 2, 0);
    SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_ETYPE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(editor, IDC_ETYPE)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(editor, IDC_EEVERY)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(editor, IDC_EDAYRULE)));
    SetDlgItemTextA(editor, IDC_EHOUR, "16");
    SetDlgItemTextA(editor, IDC_EMINUTE, "30");
    SetDlgItemTextA(editor, IDC_EEVERY, "15");
    SetDlgItemTextA(editor, IDC_ETIMES, "3");
    SetDlgItemTextA(editor, IDC_ETEXT, "Kettle\r\non");
    SendDlgItemMessageA(editor, IDC_EHOTKEY, HKM_SETHOTKEY, MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    SendMessageA(editor, WM_COMMAND, MAKEWPARAM(IDC_EHOTKEY, EN_CHANGE), reinterpret_cast<LPARAM>(GetDlgItem(editor, IDC_EHOTKEY)));
    click(IDC_EFONT);
    EXPECT_EQ(host.fontRequests, 1);
    click(IDC_ESAVE);

    std::string number = file->Get("LIST_REMAINDERS", "0");
    ASSERT_NE(number, "<absent>");
    EXPECT_EQ(file->Get(number, "Name"), "Tea");
    EXPECT_EQ(file->Get(number, "Type"), "2");
    EXPECT_EQ(file->Get(number, "ParamA"), "15");
    EXPECT_EQ(file->Get(number, "ParamB"), "3");
    EXPECT_EQ(file->Get(number, "Houre"), "16");
    EXPECT_EQ(file->Get(number, "Minute"), "30");
    EXPECT_EQ(file->Get(number, "Text"), "Kettle|on");
    EXPECT_EQ(file->Get(number, "HotKey"), Two(MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT)));
    EXPECT_EQ(file->Get(number, "Face"), "Courier New");
    EXPECT_EQ(file->Get(number, "Weight"), "3");
    EXPECT_EQ(file->Get(number, "CharSet"), "204");
    EXPECT_EQ(file->Get(number, "ShowCmd"), "1");
    EXPECT_NE(file->Get(number, "BackColor"), "<absent>");
    EXPECT_EQ(file->Get(number, "XNote"), "50");

    // The note check box shows the note while editing; its position comes back.
    click(IDC_ESHOWNOTE);
    CheckDlgButton(editor, IDC_ESHOWNOTE, BST_CHECKED);
    click(IDC_ESHOWNOTE);
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(TextOf(GetDlgItem(Notes()[0], IDC_NOTENAME)), "Tea");

    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(file->Get(number, "ShowNote"), "1") << "saved on closing";
    EXPECT_EQ(SubMenuTexts(), std::vector<std::string>{"Tea"}) << "loaded again";
    EXPECT_EQ(Notes().size(), 1u);
    EXPECT_FALSE(RegisterHotKey(nullptr, 0x3000, MOD_CONTROL | MOD_ALT, 'T')) << "its hot key is registered";
}

TEST_F(ReminderPlugin, SoundsPlayRoundAndRoundWhileTheWindowIsOpen) {
    std::string folder = Scratch("sounds");
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\more").c_str(), nullptr);
    WriteWav(folder + "\\beep.wav", 200);
    WriteWav(folder + "\\more\\BOOP.WAV", 200);
    file->Add(0, 9001, "Music", {{"Sound", folder}, {"Loop", "1"}});
    Start();
    Choose(1);
    HWND window = Reminder("Music");
    ASSERT_NE(window, nullptr) << "a sound alone opens the window";
    HWND player = FindWindowExA(window, nullptr, "MCIWndClass", nullptr);
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(IsWindowVisible(player));
    if (waveOutGetNumDevs() == 0) {
        SendMessageA(window, WM_CLOSE, 0, 0);
        GTEST_SKIP() << "Wine has no audio output device in the test prefix: the player cannot play";
    }
    int starts = 0;
    LONG before = -1;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 3500) {
        LONG mode = MCIWndGetMode(player, nullptr, 0);
        if (mode == MCI_MODE_PLAY && before != MCI_MODE_PLAY) ++starts;
        before = mode;
        PumpMessages();
        Sleep(20);
    }
    SendMessageA(window, WM_CLOSE, 0, 0);
    if (starts == 0) GTEST_SKIP() << "Wine's media player never reached the playing state in the test prefix";
    EXPECT_GE(starts, 2) << "the next sound starts after one has ended";
}

TEST_F(ReminderPlugin, ConnectionRemindersFollowTheDialUpLibrary) {
    SYSTEMTIME now = NowWithRoom(8);
    if (now.wHour == 0 && now.wMinute == 0) now = NowWithRoom(61);
    file->Add(0, 6001, "Online", {{"Type", "3"}, {"ParamA", "0"}, {"ParamB", "0"}, {"Text", "connected"}});
    file->Add(1, 6002, "Offline only",
              {{"Type", "0"}, {"Houre", Two(now.wHour)}, {"Minute", Two(now.wMinute)}, {"InetState", "2"},
               {"Text", "offline"}});
    Start();
    HWND offline = Reminder("Offline only");
    ASSERT_NE(offline, nullptr) << "no connection: a reminder for offline times fires";
    SendMessageA(offline, WM_CLOSE, 0, 0);
    EXPECT_EQ(FindOwnWindow("#32770", "Online"), nullptr);

    WriteTextFile(ConnectedFlag(), "up");
    MinuteCheck();
    HWND online = Reminder("Online");
    ASSERT_NE(online, nullptr) << "fires as the connection comes up";
    SendMessageA(online, WM_CLOSE, 0, 0);
    MinuteCheck();
    PumpMessages();
    EXPECT_EQ(FindOwnWindow("#32770", "Online"), nullptr) << "once per connect";
    DeleteFileA(ConnectedFlag().c_str());
}

TEST_F(ReminderPlugin, NoteSettingsChangeItsLayerAndOrderAndAreSaved) {
    file->Add(0, 6101, "Styled", {{"ShowNote", "1"}, {"XNote", "500"}});
    Start();
    ASSERT_EQ(Notes().size(), 1u);
    HWND note = Notes()[0];
    EXPECT_FALSE(GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
    std::string seenCheckText;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && !(box = FindOwnWindow("#32770", "Note settings")); ++i) Sleep(10);
        if (!box) return;
        seenCheckText = TextOf(GetDlgItem(box, IDC_NSTOPMOST));
        SendDlgItemMessageA(box, IDC_NSTOPMOST, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(box, IDC_NSALPHA, TBM_SETPOS, TRUE, -20);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(note, WM_COMMAND, IDM_NOTESETTINGS, 0);  // modal until the user is done
    user.join();
    EXPECT_EQ(seenCheckText, "Always on top");
    EXPECT_EQ(file->Get(6101, "TopMostNote"), "1");
    EXPECT_EQ(file->Get(6101, "AlphaNote"), "-20");
    EXPECT_TRUE(GetWindowLongA(note, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(host.layered.back().bAlpha, 201);
}

// Windows reads TBM_SETRANGE's two words as unsigned numbers (Wine's control
// reads them signed), so the range is worked out here from the messages the
// dialog sends, as Windows would take them.
struct TrackbarRange {
    static TrackbarRange* current;
    HHOOK hook = nullptr;
    int control;
    LONG low = 0, high = 100;  // a new trackbar's range
    explicit TrackbarRange(int id) : control(id) {
        current = this;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
    }
    ~TrackbarRange() {
        UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && current && GetDlgCtrlID(sent->hwnd) == current->control) {
            if (sent->message == TBM_SETRANGE) {
                current->low = LOWORD(sent->lParam);
                current->high = HIWORD(sent->lParam);
            } else if (sent->message == TBM_SETRANGEMIN) {
                current->low = static_cast<LONG>(sent->lParam);
            } else if (sent->message == TBM_SETRANGEMAX) {
                current->high = static_cast<LONG>(sent->lParam);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
TrackbarRange* TrackbarRange::current = nullptr;

TEST_F(ReminderPlugin, NoteSettingsTranslucencyBarSpansItsNegativeRangeAndKeepsTheValue) {
    file->Add(0, 6201, "Faint", {{"ShowNote", "1"}, {"AlphaNote", "-50"}});
    Start();
    ASSERT_EQ(Notes().size(), 1u);
    LRESULT shown = 0;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && !(box = FindOwnWindow("#32770", "Note settings")); ++i) Sleep(10);
        if (!box) return;
        shown = SendDlgItemMessageA(box, IDC_NSALPHA, TBM_GETPOS, 0, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    TrackbarRange range(IDC_NSALPHA);
    SendMessageA(Notes()[0], WM_COMMAND, IDM_NOTESETTINGS, 0);
    user.join();
    EXPECT_EQ(range.low, -98) << "as Windows takes the messages";
    EXPECT_EQ(range.high, 0);
    EXPECT_EQ(shown, -50);
    EXPECT_EQ(file->Get(6201, "AlphaNote"), "-50") << "OK keeps the translucency";
}

TEST_F(ReminderPlugin, ATakenHotKeyIsToldOnceNotAtEveryNewDayOrEditorSession) {
    HWND other = CreateWindowA("STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 77, MOD_CONTROL | MOD_ALT, VK_F11));
    ASSERT_TRUE(RegisterHotKey(other, 78, MOD_CONTROL | MOD_ALT, VK_F12));
    file->Add(0, 5101, "Taken", {{"HotKey", Two(0x0600 | VK_F11)}});
    MessageBoxCloser closer("KvReminder( Taken )");
    Start();
    EXPECT_EQ(closer.seen(), 1);
    plugin->Call(host.window(), KvCHANGEDATE);
    plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvRUNMENUITEM, 0, kBase);
    HWND editor = FindOwnWindow("#32770", "Reminders");
    ASSERT_NE(editor, nullptr);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_EQ(closer.seen(), 1) << "the same conflict after midnight and after the editor";

    file->Set(5101, "HotKey", Two(0x0600 | VK_F12));
    plugin->Call(host.window(), KvCHANGEDATE);
    EXPECT_EQ(closer.seen(), 2) << "another taken key is a new conflict";
    UnregisterHotKey(other, 77);
    UnregisterHotKey(other, 78);
    DestroyWindow(other);
}

TEST_F(ReminderPlugin, EditsOfAReadOnlyFileAreToldOnceKeptInOrderAndLandWhenWritable) {
    file->Add(0, 9001, "Keep me", {{"ShowNote", "1"}, {"Text", "old text"}, {"XNote", "300"}});
    file->Add(1, 9002, "Delete me", {{"ShowNote", "1"}, {"Text", "doomed"}, {"XNote", "600"}});
    Start();
    ASSERT_EQ(Notes().size(), 2u);
    HWND kept = nullptr, doomed = nullptr;
    for (HWND note : Notes()) (TextOf(GetDlgItem(note, IDC_NOTENAME)) == "Keep me" ? kept : doomed) = note;
    ASSERT_TRUE(kept && doomed);
    ASSERT_TRUE(SetFileAttributesA(file->path().c_str(), FILE_ATTRIBUTE_READONLY));

    HWND elsewhere = CreateWindowA("STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 700, 700, 40, 40, nullptr, nullptr,
                                   nullptr, nullptr);
    auto type = [&](HWND note, const char* text) {
        SetForegroundWindow(note);
        SendDlgItemMessageA(note, IDC_NOTETEXT, EM_SETSEL, 0, -1);
        SendDlgItemMessageA(note, IDC_NOTETEXT, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
        SetForegroundWindow(elsewhere);
        PumpMessages();
    };
    // The doomed note's edit is kept first; its deletion after it must win.
    type(doomed, "edited before its deletion");
    type(kept, "new text");
    EXPECT_EQ(file->Get(9001, "Text"), "old text");
    EXPECT_EQ(host.saveFailures, std::vector<std::string>{file->path()}) << "told once, not at every try";
    SendMessageA(doomed, WM_COMMAND, IDM_NOTEDELETE, 0);
    EXPECT_TRUE(WaitUntil([&] { return Notes().size() == 1u; }, 3000));
    EXPECT_EQ(SubMenuTexts(), std::vector<std::string>{"Keep me"}) << "the reload sees the kept edits";
    EXPECT_EQ(TextOf(GetDlgItem(Notes()[0], IDC_NOTETEXT)), "new text");
    EXPECT_TRUE(file->HasSection(9002)) << "still read-only";
    EXPECT_EQ(host.saveFailures.size(), 1u);

    SetFileAttributesA(file->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(WaitUntil([&] { return file->Get(9001, "Text") == "new text"; }, 8000)) << "tried again";
    EXPECT_FALSE(file->HasSection(9002)) << "a deleted reminder's keys do not come back";
    EXPECT_EQ(file->Get("LIST_REMAINDERS", "0"), "9001");
    EXPECT_EQ(file->Get("LIST_REMAINDERS", "1"), "<absent>");
    EXPECT_EQ(host.saveFailures.size(), 1u);
    DestroyWindow(elsewhere);
}

TEST_F(ReminderPlugin, DraggingANoteStoresItsNewPlace) {
    file->Add(0, 6201, "Drag me", {{"ShowNote", "1"}, {"XNote", "300"}, {"YNote", "300"}});
    Start();
    ASSERT_EQ(Notes().size(), 1u);
    HWND note = Notes()[0];
    // Grabbed by the ":" between hour and minute, moved by 100 pixels each way.
    std::thread hand([] {
        Mouse(346, 306, 0);
        Sleep(100);
        Mouse(346, 306, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 10; ++step) {
            Sleep(30);
            Mouse(346 + 10 * step, 306 + 10 * step, 0);
        }
        Sleep(100);
        Mouse(446, 406, MOUSEEVENTF_LEFTUP);
    });
    RECT place = {};
    WaitUntil([&] { return GetWindowRect(note, &place) && place.left == 400 && !GetCapture(); }, 5000);
    hand.join();
    PumpMessages();
    EXPECT_EQ(place.left, 400);
    EXPECT_EQ(place.top, 400);
    HWND elsewhere = CreateWindowA("STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 700, 700, 40, 40, nullptr, nullptr,
                                   nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    PumpMessages();
    EXPECT_EQ(file->Get(6201, "XNote"), "400");
    EXPECT_EQ(file->Get(6201, "YNote"), "400");
    DestroyWindow(elsewhere);
}

TEST_F(ReminderPlugin, ExitClosesEveryWindowOfTheModule) {
    file->Add(0, 9501, "Open", {{"Text", "still open"}, {"ShowNote", "1"}});
    Start();
    Choose(1);
    HWND window = Reminder("Open");
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(Notes().size(), 1u);
    HWND note = Notes()[0];
    plugin->Call(reinterpret_cast<HWND>(menu->menu()), KvRUNMENUITEM, 0, kBase);
    HWND editor = FindOwnWindow("#32770", "Reminders");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(plugin->Call(host.window(), KvAPPLICATIONCLOSE), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(note));
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_FALSE(IsWindow(hidden));
}

}  // namespace
