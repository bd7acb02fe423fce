// The dates plug-in's state and the pieces its page, printing and day
// colours share. Everything runs on the host's GUI thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "date_ini.h"
#include "date_text.h"

struct DatesPlugin {
    HINSTANCE instance = nullptr;
    HWND host = nullptr;  // where service requests go
    std::string languageFile;
    std::string settingsFile;  // kept from KvSETTINGS
    HWND page = nullptr;
    std::vector<std::string> names;  // date files without ".dte", in folder order
    DWORD listedAt = 0;
    bool listed = false;
};
extern DatesPlugin datesPlugin;

LRESULT HostService(int code, const void* record);
LRESULT HostServiceValue(int code, LPARAM value);
std::string HostText(int code);

// Files (dates_files.cpp).
std::string DatesFolder();  // with a trailing backslash
std::string DateFilePath(const std::string& name);
std::string DateSettingsPath();  // the user's ".dst"
void ListDateFiles();
// The list, re-read when it is older than a second.
const std::vector<std::string>& CurrentDateFiles();
// Parsed files, re-read when they change on disk.
const IniDocument& DateFile(const std::string& name);
const IniDocument& DateSettings();
void ForgetDateCache();
bool IsValidDateFileName(const std::string& name);
bool CreateDateFile(const std::string& name);
bool RenameDateFile(const std::string& from, const std::string& to);
bool DeleteDateFile(const std::string& name);
void WriteDateEntry(const std::string& name, const std::string& section, const std::string& key,
                    const std::string& text);
void WriteDateSetting(const std::string& name, const char* key, const char* value);
void WriteDateSettingInt(const std::string& name, const char* key, int value);

// Printing and day colours (dates_print.cpp).
void PrintDateFiles(HDC wallpaper);
// Command 20 (text) or 22 (frame): colour of a calendar day, 0 for none.
COLORREF DayColour(int command, const char* month, const char* day);
// Size of the block the file's text would print now (for placing it).
SIZE DateBlockSize(const std::string& name);
// The font a file's text prints in.
HFONT CreateDateFont(const DatePrintSettings& settings);

// Page (dates_page.cpp).
HWND CreateDatesPage(HWND panel);
void RefreshDatesPage();
void AttachDatesToolTips();
void ReleaseDatesPageObjects();
