#include "reminders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "dialup.h"
#include "dravonel_plugin.h"
#include "ini_store.h"
#include "layout.h"
#include "note_window.h"
#include "plugin_state.h"
#include "reminder_ids.h"

uint8_t connectionState = kNotConnected;

namespace {

HMENU subMenu = nullptr;
menudata* newNoteItem = nullptr;  // drawn by the host's owner window
std::vector<LoadedReminder> loaded;

const int kNewNoteItem = 0;
const int kFirstReminderPosition = 2;

void AddReminderItem(const LoadedReminder& reminder, const std::string& name) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(reminder.position + 1);
    item.dwTypeData = const_cast<char*>(name.c_str());
    item.dwItemData = reinterpret_cast<ULONG_PTR>(reminder.note);
    InsertMenuItemA(SubMenu(), static_cast<UINT>(reminder.position + kFirstReminderPosition), TRUE, &item);
}

void SetItemNote(const LoadedReminder& reminder) {
    if (!subMenu) return;
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    item.dwItemData = reinterpret_cast<ULONG_PTR>(reminder.note);
    SetMenuItemInfoA(subMenu, static_cast<UINT>(reminder.position + 1), FALSE, &item);
}

// Hot keys that another program held when their reminder was loaded and
// the user was told so. Reloads (every new day, every editor session) do not
// tell it again; a reminder given another key that is taken does.
struct TakenKey {
    int number;
    uint16_t hotKey;
    int win;
    bool operator==(const TakenKey& other) const {
        return number == other.number && hotKey == other.hotKey && (win != 0) == (other.win != 0);
    }
};
std::vector<TakenKey> toldTaken;

void RegisterReminderKey(LoadedReminder& reminder, const ReminderRecord& record) {
    if (!(record.HotKey & 0xFF) || !hHidden) return;
    reminder.hotKey = RegisterHotKey(hHidden, reminder.position, HotKeyModifiers(record.HotKey, record.Win),
                                     record.HotKey & 0xFF) != 0;
    const TakenKey key = {record.number, record.HotKey, record.Win};
    auto told = std::find(toldTaken.begin(), toldTaken.end(), key);
    if (reminder.hotKey) {
        if (told != toldTaken.end()) toldTaken.erase(told);
        return;
    }
    if (told != toldTaken.end()) return;
    toldTaken.push_back(key);
    char caption[400];
    snprintf(caption, sizeof caption, "KvReminder( %s )", record.Name.c_str());
    MessageBoxA(hHost, Text(23, "STRING"), caption, MB_OK | MB_ICONEXCLAMATION);
}

void Register(const ReminderRecord& record, int position) {
    LoadedReminder reminder;
    reminder.number = record.number;
    reminder.position = position;
    if (record.ShowNote) reminder.note = CreateNote(record);
    AddReminderItem(reminder, record.Name);
    RegisterReminderKey(reminder, record);
    schedule.Build(record, Now(), startTime, connectionState);
    loaded.push_back(reminder);
}

}  // namespace

const std::vector<LoadedReminder>& Loaded() { return loaded; }

HMENU SubMenu() {
    if (subMenu && IsMenu(subMenu)) return subMenu;
    subMenu = CreatePopupMenu();
    if (!newNoteItem) {
        newNoteItem = static_cast<menudata*>(calloc(1, sizeof(menudata)));
        if (newNoteItem) {
            lstrcpynA(newNoteItem->text, Text(80), sizeof newNoteItem->text);
            newNoteItem->hIcon = static_cast<HICON>(
                LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_NEWNOTE), IMAGE_ICON, 16, 16, 0));
        }
    }
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
    item.fType = MFT_OWNERDRAW;
    item.wID = kNewNoteItem;
    item.dwItemData = reinterpret_cast<ULONG_PTR>(newNoteItem);
    InsertMenuItemA(subMenu, 0, TRUE, &item);
    InsertMenuA(subMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    // A menu made again after the host destroyed ours lists what is loaded.
    for (const LoadedReminder& reminder : loaded) {
        AddReminderItem(reminder, ReadRecord(reminder.number).Name);
    }
    return subMenu;
}

bool IsOurSubMenu(HMENU menu) { return menu && menu == subMenu; }

HMENU CurrentSubMenu() { return subMenu; }

void DestroySubMenu() {
    if (subMenu && IsMenu(subMenu)) DestroyMenu(subMenu);
    subMenu = nullptr;
    if (newNoteItem) {
        if (newNoteItem->hIcon) DestroyIcon(newNoteItem->hIcon);
        free(newNoteItem);
        newNoteItem = nullptr;
    }
}

void LoadReminders() {
    connectionState = ProbeConnection();
    schedule.SetConnection(connectionState);
    IniStore store(RmsPath());
    std::vector<int> numbers = ReadList(store);
    SubMenu();
    for (size_t k = 0; k < numbers.size(); ++k) {
        ReminderRecord record = ReadReminder(store, numbers[k], GetSysColor(COLOR_BTNFACE));
        if (record.Name.empty()) continue;
        Register(record, static_cast<int>(k));
    }
}

void ClearReminders() {
    // Taken first: a closing note tells ForgetNote.
    std::vector<LoadedReminder> closing;
    closing.swap(loaded);
    for (LoadedReminder& reminder : closing) {
        // A note saves its pending changes as it closes.
        if (reminder.note && IsWindow(reminder.note)) DestroyWindow(reminder.note);
        if (reminder.hotKey && hHidden) UnregisterHotKey(hHidden, reminder.position);
    }
    schedule.Clear();
    if (subMenu && IsMenu(subMenu)) {
        while (GetMenuItemCount(subMenu) > kFirstReminderPosition) {
            RemoveMenu(subMenu, kFirstReminderPosition, MF_BYPOSITION);
        }
    }
}

void ReloadReminders() {
    ClearReminders();
    LoadReminders();
}

void NewNote() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    ReminderRecord record;
    record.Type = kTypeDate;
    record.ParamA = now.wDay;
    record.ParamB = now.wMonth;
    record.Houre = static_cast<uint8_t>(now.wHour);
    record.Minute = static_cast<uint8_t>(now.wMinute);
    record.Name = "Заметка";
    record.ShowNote = 1;
    record.BackColor = GetSysColor(COLOR_BTNFACE);
    int position = 0;
    {
        IniStore current(RmsPath());
        record.number = NextFreeNumber(current, static_cast<long long>(time(nullptr)));
    }
    UpdateRms([&](KeyStore& store) {
        WriteReminder(store, record, SaveKind::NoteOnly);
        position = AppendToList(store, record.number);
    });
    Register(record, position);
}

void DeleteAndReload(int number) {
    if (number <= 0) return;
    UpdateRms([&](KeyStore& store) { DeleteReminder(store, number); });
    ReloadReminders();
}

int NumberAtPosition(int position) {
    if (position < 0) return 0;
    IniStore store(RmsPath());
    return IniInteger(store.Get(kListSection, std::to_string(position)), 0);
}

void ForgetNote(HWND note) {
    for (LoadedReminder& reminder : loaded) {
        if (reminder.note != note) continue;
        reminder.note = nullptr;
        SetItemNote(reminder);
    }
}

void RenameReminder(int number, const std::string& name) {
    if (!subMenu) return;
    for (const LoadedReminder& reminder : loaded) {
        if (reminder.number != number) continue;
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        item.dwTypeData = const_cast<char*>(name.c_str());
        SetMenuItemInfoA(subMenu, static_cast<UINT>(reminder.position + 1), FALSE, &item);
    }
}

void RebuildEntry(const ReminderRecord& record) { schedule.Build(record, Now(), startTime, connectionState); }
