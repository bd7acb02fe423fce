// Puts KvReminder's windows on the screen through the fake host, so that a
// person can look at them: screenshots.sh photographs each scene.
//   reminder_screens.exe editor|reminder|notes|notesettings eng|rus ready-file done-file
// Writes ready-file when the scene stands, ends when done-file appears.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fake_host.h"
#include "program_folder.h"
#include "reminder_ids.h"
#include "window_wait.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Folder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = '\0';
    return path;
}

struct Texts {
    const char *dentist, *dentistText, *tea, *teaText, *report, *backup, *call, *callText, *birthday, *birthdayText,
        *shopping, *shoppingText, *picture, *pictureText;
};

const Texts kEnglish = {"Dentist", "Dr. Miller, room 4|Bring the X-ray pictures", "Tea break", "Put the kettle on",
                        "Weekly report", "Backup", "Call Bob", "about the car", "Anna's birthday",
                        "Flowers and a card|Table booked for 19:00", "Shopping",
                        "Milk|Bread|Coffee beans|Batteries (AA)", "Mountain walk",
                        "Meet at the station at 7:30|Boots, water, map|Weather: sunny, 18 C"};
const Texts kRussian = {"Стоматолог", "Доктор Миронов, кабинет 4|Взять снимки", "Перерыв", "Поставить чайник",
                        "Отчёт за неделю", "Резервная копия", "Позвонить Борису", "насчёт машины",
                        "День рождения Анны", "Цветы и открытка|Столик на 19:00", "Покупки",
                        "Молоко|Хлеб|Кофе в зёрнах|Батарейки (AA)", "Поход в горы",
                        "Встреча на вокзале в 7:30|Ботинки, вода, карта|Погода: солнечно, 18 C"};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    std::string scene = argv[1], language = argv[2], ready = argv[3], done = argv[4];
    const Texts& t = language == "rus" ? kRussian : kEnglish;
    CoInitialize(nullptr);
    ReminderFile file;
    std::string picture = Folder() + "\\walk.bmp";
    WriteBmp(picture, 600, 400);
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string day = std::to_string(now.wDay), month = std::to_string(now.wMonth);

    if (scene == "editor") {
        file.Add(0, 1001, t.dentist,
                 {{"Type", "1"}, {"ParamA", day}, {"ParamB", month}, {"Houre", "9"}, {"Minute", "30"},
                  {"Text", t.dentistText}, {"Picture", picture}, {"Sound", "C:\\windows\\media\\ding.wav"},
                  {"HotKey", std::to_string(0x0600 | 'D')}, {"Color", "8388608"}, {"BackColor", "15794175"},
                  {"Interval", "300"}, {"Face", "Arial"}, {"Height", "16"}, {"Weight", "2"},
                  {"ShowNote", "1"}, {"XNote", "40"}, {"YNote", "40"}, {"AlphaNote", "-20"}});
        file.Add(1, 1002, t.tea, {{"Type", "2"}, {"ParamA", "45"}, {"ParamB", "6"}, {"Houre", "10"}, {"Text", t.teaText}});
        file.Add(2, 1003, t.report, {{"Type", "0"}, {"ParamA", "5"}, {"ParamB", "4"}, {"Houre", "16"}});
        file.Add(3, 1004, t.backup, {{"Type", "4"}, {"ParamB", "10"}, {"File", "C:\\Tools\\backup.lnk"}, {"ShowCmd", "2"}});
    } else if (scene == "reminder") {
        file.Add(0, 2001, t.picture,
                 {{"Picture", picture}, {"Text", t.pictureText}, {"Color", "6697728"}, {"BackColor", "15726583"},
                  {"Face", "Arial"}, {"Height", "24"}, {"Weight", "2"}});
    } else if (scene == "notesettings") {
        file.Add(0, 4001, t.dentist,
                 {{"Type", "0"}, {"Houre", "9"}, {"Minute", "30"}, {"Text", t.dentistText}, {"ShowNote", "1"},
                  {"XNote", "60"}, {"YNote", "60"}, {"AlphaNote", "-45"}});
    } else {
        file.Add(0, 3001, t.call,
                 {{"Type", "0"}, {"Houre", "11"}, {"Minute", "15"}, {"Text", t.callText}, {"ShowNote", "1"},
                  {"XNote", "60"}, {"YNote", "60"}});
        file.Add(1, 3002, t.birthday,
                 {{"Type", "1"}, {"ParamA", "14"}, {"ParamB", "6"}, {"Houre", "18"}, {"Text", t.birthdayText},
                  {"ShowNote", "1"}, {"XNote", "60"}, {"YNote", "100"}, {"ColorNote", "3355596"},
                  {"BackNote", "15794175"}, {"TopMostNote", "1"}});
        file.Add(2, 3003, t.shopping,
                 {{"Type", "1"}, {"ParamA", day}, {"ParamB", month}, {"Houre", "17"}, {"Minute", "30"},
                  {"Text", t.shoppingText}, {"ShowNote", "1"}, {"XNote", "60"}, {"YNote", "160"},
                  {"ColorNote", "32768"}, {"BackNote", "14745599"}});
        file.Add(3, 3004, t.dentist,
                 {{"Type", "0"}, {"Houre", "9"}, {"Minute", "30"}, {"Text", t.dentistText}, {"ShowNote", "1"},
                  {"XNote", "420"}, {"YNote", "60"}, {"AlphaNote", "-45"}});
    }

    FakeHost host;
    PluginModule plugin;
    if (!plugin.loaded()) return 3;
    plugin.Create(host, LanguageFile(language.c_str()));
    FakeMainMenu menu(20);
    for (int index = 0; index < 2; ++index) {
        s_menuitem* item = reinterpret_cast<s_menuitem*>(plugin.Call(host.window(), KvGETMENUITEM, index, 18 + index));
        if (item) {
            free(item->NameMenuItem);
            free(item->KeyMenuItem);
            free(item);
        }
        plugin.Call(reinterpret_cast<HWND>(menu.menu()), KvCREATEMENUITEMPOPUP, 18 + index, 18 + index);
    }
    HMENU sub = GetSubMenu(menu.menu(), 19);

    if (scene == "editor") {
        plugin.Call(reinterpret_cast<HWND>(menu.menu()), KvRUNMENUITEM, 0, 18);
    } else if (scene == "reminder") {
        plugin.Call(reinterpret_cast<HWND>(sub), KvPOPMENU, 1, 0);
    } else if (scene == "notesettings") {
        // The dialog is modal: it stands (and is photographed) inside the
        // note's command; the done file closes it.
        HWND note = OwnWindows("#32770").empty() ? nullptr : OwnWindows("#32770").front();
        struct Closer {
            static DWORD WINAPI Run(LPVOID files) {
                const std::string* paths = static_cast<const std::string*>(files);
                Sleep(1500);
                WriteTextFile(paths[0], "ready");
                while (!Exists(paths[1])) Sleep(100);
                for (HWND window : OwnWindows("#32770"))
                    if (GetDlgItem(window, IDC_NSALPHA)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                return 0;
            }
        };
        const std::string files[2] = {ready, done};
        HANDLE closer = CreateThread(nullptr, 0, Closer::Run, const_cast<std::string*>(files), 0, nullptr);
        if (note) SendMessageA(note, WM_COMMAND, IDM_NOTESETTINGS, 0);
        WaitForSingleObject(closer, INFINITE);
        CloseHandle(closer);
        plugin.Close();
        CoUninitialize();
        return 0;
    } else {
        // The shopping list unfolded, as just clicked; the others folded.
        for (HWND window : OwnWindows("#32770")) {
            HWND fold = GetDlgItem(window, IDC_NOTEFOLD);
            if (fold && TextOf(GetDlgItem(window, IDC_NOTENAME)) == t.shopping) {
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_NOTEFOLD, BN_CLICKED), reinterpret_cast<LPARAM>(fold));
            }
        }
    }
    WaitUntil([] { return false; }, 1500);
    WriteTextFile(ready, "ready");
    WaitUntil([&] { return Exists(done); }, 120000);
    plugin.Close();
    CoUninitialize();
    return 0;
}
