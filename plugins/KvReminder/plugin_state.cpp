#include "plugin_state.h"

#include <vector>

#include "ini_store.h"
#include "kvinifunction.h"
#include "scopedwin.h"

HINSTANCE hInstance = nullptr;
HWND hHost = nullptr;
std::string languageFile;
HWND hHidden = nullptr;
HWND hEditor = nullptr;
LocalTime startTime;
Schedule schedule;

const char* Text(int id, const char* section) { return Priv(id, section, languageFile.c_str()); }

std::string TextCopy(int id, const char* section) { return Text(id, section); }

LocalTime FromSystemTime(const SYSTEMTIME& time) {
    static const int kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    LocalTime t;
    t.year = time.wYear;
    t.month = time.wMonth;
    t.day = time.wDay;
    t.weekday = time.wDayOfWeek == 0 ? 7 : time.wDayOfWeek;
    bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    int month = t.month >= 1 && t.month <= 12 ? t.month : 1;
    t.yearDay = kDaysBefore[month - 1] + t.day + (leap && month > 2 ? 1 : 0);
    t.hour = time.wHour;
    t.minute = time.wMinute;
    return t;
}

LocalTime Now() {
    SYSTEMTIME time;
    GetLocalTime(&time);
    return FromSystemTime(time);
}

std::string RmsPath() {
    HeapString path(SetUsetExtenPath(".rms"));
    return path ? path.get() : std::string();
}

ReminderRecord ReadRecord(int number) {
    IniStore store(RmsPath());
    return ReadReminder(store, number, GetSysColor(COLOR_BTNFACE));
}

bool RecordExists(int number) {
    IniStore store(RmsPath());
    return store.HasSection(SectionName(number));
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    GetWindowTextA(window, buffer.data(), length + 1);
    return buffer.data();
}

std::string ItemText(HWND dialog, int control) { return WindowText(GetDlgItem(dialog, control)); }
