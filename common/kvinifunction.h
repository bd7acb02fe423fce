// The settings store: plain ini files beside the program, one settings file
// per Windows user, shared by the host and every plug-in.
//
// Encodings: integers and colours are decimal text; a flag is on when its key
// holds a non-empty value (written as "0") and off when the key is absent;
// combo boxes store the selected index. Every returned text is a new heap
// copy the caller frees, except Priv's shared buffer.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Plain file access.
char* GetKey(const char* fileini, const char* AppName, const char* KeyName, const char* Default);
char* GetKeyLong(const char* fileini, const char* AppName, const char* KeyName);
int GetKeyInt(const char* fileini, const char* AppName, const char* KeyName, int Default);
int GetKeyYes(const char* fileini, const char* AppName, const char* KeyName);
// Writes through a temporary file that replaces the old one, so a crash or a
// full disk never leaves a settings file half written; the file's form stays
// what the system's ini writer makes. False when nothing was saved: the
// write is then kept and goes into the file with its next write.
bool SetKey(const char* fileini, const char* AppName, const char* KeyName, const char* text);
// The section's keys become those of block ("key=value" texts, each ended by
// a zero, the last by two), in one write; an empty block removes it.
bool SetSection(const char* fileini, const char* AppName, const char* block);
// One change of an ini file: key none removes the whole section, value none
// the key.
struct IniEdit {
    std::string section;
    std::optional<std::string> key, value;
};
// The changes, in order, in one write (kept and told as SetKey's).
bool SetKeys(const char* fileini, const std::vector<IniEdit>& edits);
// The file's text with the writes kept for it applied: what it holds once
// they are saved. False when none is kept (or the file cannot be read).
bool PendingSettingsText(const char* fileini, std::string& text);
// Tries the kept writes again now; true when none is left.
bool RetrySettingsWrites();
void SetKeyInt(const char* fileini, const char* AppName, const char* KeyName, int value);
void SetKeyInt0(const char* fileini, const char* AppName, const char* KeyName, int value);

// Told of every write of SetKey (and of the functions built on it): the file
// and whether it was saved. Per module; none tells nothing.
typedef void (*SettingsWriteObserver)(const char* file, bool saved);
SettingsWriteObserver SetSettingsWriteObserver(SettingsWriteObserver observer);

// The current user's file with extension ext: Users\<name><ext>, where the
// name is the machine file's "defuser", else the Windows user, else "default".
// Evaluated on every call, so changing "defuser" redirects at once.
char* SetUsetExtenPath(const char* ext);
// The Windows user's name (at most 255 characters), or "default" when the
// system does not give one; a heap copy.
char* WindowsUserName();
void SetValueKey(const char* ext, const char* app, const char* name, const char* value);
void SetValueKeyInt(const char* ext, const char* app, const char* name, int value);
void DeleteValueKey(const char* ext, const char* app, const char* name);
void SetValueKeySet(const char* key, const char* text);
void SetValueKeySetInt(const char* key, int value);

// Dialog bindings: the control's state goes straight to the user's file.
void KeyTipChecked(const char* ext, const char* app, HWND hwnd, int ID, const char* name);
void KeyTipUnChecked(const char* ext, const char* app, HWND hwnd, int ID, const char* name);
void KeyTipCheckedSet(HWND dialog, int control, const char* key);
void KeyTipUnCheckedSet(HWND dialog, int control, const char* key);
void ComboBoxKey(const char* ext, const char* app, int chan, HWND H, int ID, const char* key);
void ComboBoxKeySet(int chan, HWND dialog, int control, const char* key);
COLORREF ColorSelect(const char* ext, const char* app, HWND houner, int ID, const char* NameKey);
COLORREF ColorSelectSet(HWND dialog, int control, const char* key);

// System calls behind the store, replaceable so tests can drive them; none
// restores the system's own. Each returns the previous function.
typedef BOOL (WINAPI *ChooseColorFunction)(LPCHOOSECOLORA);
ChooseColorFunction SetChooseColorFunction(ChooseColorFunction function);
typedef BOOL (WINAPI *GetUserNameFunction)(LPSTR, LPDWORD);
GetUserNameFunction SetGetUserNameFunction(GetUserNameFunction function);

// Numbered text of a language file section, or the number itself when the key
// is missing. Returns a shared 100-byte buffer that the next call overwrites.
char* Priv(int i, const char* sAppName, const char* fileini);

// A registry string (up to 128 bytes), or a copy of def when the key or value
// is missing.
char* ReadReestrChar(const char* key, HKEY hK, const char* source, const char* def);

// %NAME% expanded by the system.
char* ExpandEnvStr(const char* text);

// Developer diagnostics.
void WRACE(const char* text);
void IRACE(int number);
