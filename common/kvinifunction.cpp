#include "kvinifunction.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "createpathfile.h"
#include "file_replace.h"
#include "ini_text.h"
#include "scopedwin.h"

namespace {

const char kSettingsExtension[] = ".set";
const char kSettingsSection[] = "set";
const int kGetKeyBuffer = 1000;         // 999 characters and the terminator
const int kUserNameBuffer = 256;        // 255 characters
const DWORD kRegistryValueBuffer = 128;

ChooseColorFunction chooseColor = ChooseColorA;
GetUserNameFunction getUserName = GetUserNameA;

SettingsWriteObserver writeObserver = nullptr;

char* CopyOrNone(const char* text) { return text ? _strdup(text) : nullptr; }

// One writer of a file at a time, also across processes (the chooser and
// the host share the settings file): each reads the file, edits it and
// replaces it whole, and must not lose what another wrote meanwhile.
class IniFileLock {
public:
    explicit IniFileLock(const char* file) {
        unsigned long hash = 2166136261u;  // FNV-1a of the path without case
        for (const char* c = file; *c; ++c) {
            char lower = (*c >= 'A' && *c <= 'Z') ? static_cast<char>(*c + 32) : *c;
            hash = ((hash ^ static_cast<unsigned char>(lower)) * 16777619u) & 0xFFFFFFFFu;
        }
        char name[48];
        snprintf(name, sizeof name, "DravonelIniFile%08lx", hash);
        mutex_.reset(CreateMutexA(nullptr, FALSE, name));
        // A writer killed while holding it leaves it abandoned: ours now.
        if (mutex_.valid()) owned_ = WaitForSingleObject(mutex_.get(), 10000) != WAIT_TIMEOUT;
    }
    ~IniFileLock() {
        if (owned_) ReleaseMutex(mutex_.get());
    }
    IniFileLock(const IniFileLock&) = delete;
    IniFileLock& operator=(const IniFileLock&) = delete;

private:
    ScopedHandle mutex_;
    bool owned_ = false;
};

bool SystemWrite(const char* fileini, const char* AppName, const char* KeyName, const char* text) {
    return WritePrivateProfileStringA(AppName, KeyName, text, fileini) != 0;
}

// A write of SetKey that failed (a full disk, a file kept read-only). It
// goes into the file with the next write there, or when RetrySettingsWrites
// tries again, so what the user changed is not lost once the file can be
// written.
struct PendingEdit {
    std::string file, section, key, value;
    bool wholeSection;  // key none: the section goes
    bool remove;        // value none: the key goes
};
std::mutex pendingLock;
std::vector<PendingEdit> pendingEdits;

bool ApplyEdit(std::string& text, const PendingEdit& edit) {
    return EditIniText(text, edit.section.c_str(), edit.wholeSection ? nullptr : edit.key.c_str(),
                       edit.remove ? nullptr : edit.value.c_str());
}

std::vector<PendingEdit> PendingFor(const std::string& file) {
    std::lock_guard<std::mutex> guard(pendingLock);
    std::vector<PendingEdit> edits;
    for (const PendingEdit& edit : pendingEdits)
        if (lstrcmpiA(edit.file.c_str(), file.c_str()) == 0) edits.push_back(edit);
    return edits;
}

void ForgetPending(const std::string& file) {
    std::lock_guard<std::mutex> guard(pendingLock);
    pendingEdits.erase(std::remove_if(pendingEdits.begin(), pendingEdits.end(),
                                      [&](const PendingEdit& edit) {
                                          return lstrcmpiA(edit.file.c_str(), file.c_str()) == 0;
                                      }),
                       pendingEdits.end());
}

// Keeps the edit; an older one of the same key (or section) gives way.
void KeepPending(const PendingEdit& edit) {
    std::lock_guard<std::mutex> guard(pendingLock);
    pendingEdits.erase(std::remove_if(pendingEdits.begin(), pendingEdits.end(),
                                      [&](const PendingEdit& older) {
                                          return lstrcmpiA(older.file.c_str(), edit.file.c_str()) == 0 &&
                                                 lstrcmpiA(older.section.c_str(), edit.section.c_str()) == 0 &&
                                                 (edit.wholeSection ||
                                                  lstrcmpiA(older.key.c_str(), edit.key.c_str()) == 0);
                                      }),
                       pendingEdits.end());
    pendingEdits.push_back(edit);
}

// The file's waiting edits and then the new ones, written at once through
// the replacing writer. *keep: it failed in a way worth trying again.
bool WriteEdits(const std::string& file, const std::vector<PendingEdit>& edits, bool* keep) {
    *keep = false;
    // Names the editor does not take, or a Unicode file: the system's writer.
    auto system = [&] {
        bool written = true;
        for (const PendingEdit& edit : edits)
            written = SystemWrite(file.c_str(), edit.section.c_str(), edit.wholeSection ? nullptr : edit.key.c_str(),
                                  edit.remove ? nullptr : edit.value.c_str()) && written;
        return written;
    };
    IniFileLock lock(file.c_str());
    std::string bytes;
    if (!ReadFileBytes(file.c_str(), bytes)) {
        if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {  // there, but not readable now
            *keep = true;
            return false;
        }
        bytes.clear();
    }
    const bool unicode = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                               (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    if (unicode) {
        ForgetPending(file);
        return system();
    }
    std::string edited = bytes;
    for (const PendingEdit& waiting : PendingFor(file)) ApplyEdit(edited, waiting);
    for (const PendingEdit& edit : edits)
        if (!ApplyEdit(edited, edit)) return system();
    if (edited != bytes) {
        if (!ReplaceFileBytes(file.c_str(), edited)) {
            *keep = true;
            return false;
        }
        // The system may keep the file in memory; it must read the new one.
        SystemWrite(file.c_str(), nullptr, nullptr, nullptr);
    }
    ForgetPending(file);
    return true;
}

bool WriteAndKeep(const char* fileini, const std::vector<PendingEdit>& edits) {
    bool keep = false;
    const bool saved = WriteEdits(fileini, edits, &keep);
    if (keep)
        for (const PendingEdit& edit : edits) KeepPending(edit);
    if (writeObserver) writeObserver(fileini, saved);
    return saved;
}

}  // namespace

char* GetKey(const char* fileini, const char* AppName, const char* KeyName, const char* Default) {
    char buffer[kGetKeyBuffer];
    DWORD length = GetPrivateProfileStringA(AppName, KeyName, "", buffer, sizeof buffer, fileini);
    if (length == 0) return CopyOrNone(Default);
    return _strdup(buffer);
}

char* GetKeyLong(const char* fileini, const char* AppName, const char* KeyName) {
    // The system reports a full buffer as size - 1; grow until the value fits.
    for (DWORD size = 80;; size *= 2) {
        HeapString buffer(static_cast<char*>(malloc(size)));
        if (!buffer) return nullptr;
        DWORD length = GetPrivateProfileStringA(AppName, KeyName, "", buffer.get(), size, fileini);
        if (length == 0) return nullptr;
        if (length < size - 1) return buffer.release();
        if (size > 0x40000000) return nullptr;
    }
}

int GetKeyInt(const char* fileini, const char* AppName, const char* KeyName, int Default) {
    return static_cast<int>(GetPrivateProfileIntA(AppName, KeyName, Default, fileini));
}

int GetKeyYes(const char* fileini, const char* AppName, const char* KeyName) {
    char buffer[3];
    return static_cast<int>(GetPrivateProfileStringA(AppName, KeyName, "", buffer, sizeof buffer, fileini));
}

bool SetKey(const char* fileini, const char* AppName, const char* KeyName, const char* text) {
    // No file or section: the system's own requests (flushing its cache).
    if (!fileini || !AppName) return SystemWrite(fileini, AppName, KeyName, text);
    return WriteAndKeep(fileini, {{fileini, AppName, KeyName ? KeyName : "", text ? text : "", !KeyName, !text}});
}

bool SetSection(const char* fileini, const char* AppName, const char* block) {
    if (!fileini || !AppName) return false;
    std::vector<PendingEdit> edits = {{fileini, AppName, "", "", true, true}};
    for (const char* line = block; line && *line; line += strlen(line) + 1) {
        const char* equals = strchr(line, '=');
        if (!equals) continue;
        const std::string key(line, static_cast<size_t>(equals - line));
        edits.push_back({fileini, AppName, key, equals + 1, false, false});
    }
    return WriteAndKeep(fileini, edits);
}

bool SetKeys(const char* fileini, const std::vector<IniEdit>& edits) {
    if (!fileini) return false;
    std::vector<PendingEdit> pending;
    for (const IniEdit& edit : edits)
        pending.push_back({fileini, edit.section, edit.key.value_or(""), edit.value.value_or(""), !edit.key,
                           !edit.value});
    return pending.empty() || WriteAndKeep(fileini, pending);
}

bool PendingSettingsText(const char* fileini, std::string& text) {
    if (!fileini) return false;
    const std::vector<PendingEdit> edits = PendingFor(fileini);
    if (edits.empty()) return false;
    if (!ReadFileBytes(fileini, text)) {
        if (GetFileAttributesA(fileini) != INVALID_FILE_ATTRIBUTES) return false;
        text.clear();
    }
    for (const PendingEdit& edit : edits) ApplyEdit(text, edit);
    return true;
}

bool RetrySettingsWrites() {
    std::vector<std::string> files;
    {
        std::lock_guard<std::mutex> guard(pendingLock);
        for (const PendingEdit& edit : pendingEdits)
            if (std::find(files.begin(), files.end(), edit.file) == files.end()) files.push_back(edit.file);
    }
    bool allSaved = true;
    for (const std::string& file : files) {
        bool keep = false;
        const bool saved = WriteEdits(file, {}, &keep);
        allSaved = allSaved && saved;
        if (writeObserver) writeObserver(file.c_str(), saved);
    }
    return allSaved;
}

SettingsWriteObserver SetSettingsWriteObserver(SettingsWriteObserver observer) {
    SettingsWriteObserver previous = writeObserver;
    writeObserver = observer;
    return previous;
}

void SetKeyInt(const char* fileini, const char* AppName, const char* KeyName, int value) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    SetKey(fileini, AppName, KeyName, text);
}

void SetKeyInt0(const char* fileini, const char* AppName, const char* KeyName, int value) {
    if (value == 0) SetKey(fileini, AppName, KeyName, nullptr);
    else SetKeyInt(fileini, AppName, KeyName, value);
}

char* WindowsUserName() {
    char user[kUserNameBuffer] = "";
    DWORD size = sizeof user;
    if (!getUserName(user, &size)) user[0] = '\0';
    user[sizeof user - 1] = '\0';
    return _strdup(user[0] ? user : "default");
}

char* SetUsetExtenPath(const char* ext) {
    char user[kUserNameBuffer] = "";
    HeapString machineFile(CreatePathFile(nullptr, "Dravonel", ".ini"));
    if (machineFile) GetPrivateProfileStringA(kSettingsSection, "defuser", "", user, sizeof user, machineFile.get());
    if (user[0]) return CreatePathFile("Users", user, ext);
    HeapString windowsUser(WindowsUserName());
    return CreatePathFile("Users", windowsUser ? windowsUser.get() : "default", ext);
}

void SetValueKey(const char* ext, const char* app, const char* name, const char* value) {
    HeapString file(SetUsetExtenPath(ext));
    if (file) SetKey(file.get(), app, name, value);
}

void SetValueKeyInt(const char* ext, const char* app, const char* name, int value) {
    HeapString file(SetUsetExtenPath(ext));
    if (file) SetKeyInt(file.get(), app, name, value);
}

void DeleteValueKey(const char* ext, const char* app, const char* name) { SetValueKey(ext, app, name, nullptr); }

void SetValueKeySet(const char* key, const char* text) { SetValueKey(kSettingsExtension, kSettingsSection, key, text); }

void SetValueKeySetInt(const char* key, int value) {
    SetValueKeyInt(kSettingsExtension, kSettingsSection, key, value);
}

void KeyTipChecked(const char* ext, const char* app, HWND hwnd, int ID, const char* name) {
    if (IsDlgButtonChecked(hwnd, ID) == BST_CHECKED) DeleteValueKey(ext, app, name);
    else SetValueKey(ext, app, name, "0");
}

void KeyTipUnChecked(const char* ext, const char* app, HWND hwnd, int ID, const char* name) {
    if (IsDlgButtonChecked(hwnd, ID) == BST_CHECKED) SetValueKey(ext, app, name, "0");
    else DeleteValueKey(ext, app, name);
}

void KeyTipCheckedSet(HWND dialog, int control, const char* key) {
    KeyTipChecked(kSettingsExtension, kSettingsSection, dialog, control, key);
}

void KeyTipUnCheckedSet(HWND dialog, int control, const char* key) {
    KeyTipUnChecked(kSettingsExtension, kSettingsSection, dialog, control, key);
}

void ComboBoxKey(const char* ext, const char* app, int chan, HWND H, int ID, const char* key) {
    if (chan != CBN_SELCHANGE) return;
    int index = static_cast<int>(SendDlgItemMessageA(H, ID, CB_GETCURSEL, 0, 0));
    SetValueKeyInt(ext, app, key, index);
}

void ComboBoxKeySet(int chan, HWND dialog, int control, const char* key) {
    ComboBoxKey(kSettingsExtension, kSettingsSection, chan, dialog, control, key);
}

ChooseColorFunction SetChooseColorFunction(ChooseColorFunction function) {
    ChooseColorFunction previous = chooseColor;
    chooseColor = function ? function : ChooseColorA;
    return previous;
}

GetUserNameFunction SetGetUserNameFunction(GetUserNameFunction function) {
    GetUserNameFunction previous = getUserName;
    getUserName = function ? function : GetUserNameA;
    return previous;
}

COLORREF ColorSelect(const char* ext, const char* app, HWND houner, int ID, const char* NameKey) {
    char text[16] = "";
    GetDlgItemTextA(houner, ID, text, sizeof text);
    COLORREF old = static_cast<COLORREF>(strtoul(text, nullptr, 10));

    COLORREF custom[16] = {};
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = houner;
    dialog.rgbResult = old;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT;
    if (!chooseColor(&dialog) || dialog.rgbResult == old) return old;

    // A stored 0 must never mean black: black is kept as 1.
    COLORREF chosen = dialog.rgbResult ? dialog.rgbResult : 1;
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(chosen));
    SetDlgItemTextA(houner, ID, text);
    InvalidateRect(GetDlgItem(houner, ID), nullptr, TRUE);
    if (NameKey) SetValueKeyInt(ext, app, NameKey, static_cast<int>(chosen));
    return chosen;
}

COLORREF ColorSelectSet(HWND dialog, int control, const char* key) {
    return ColorSelect(kSettingsExtension, kSettingsSection, dialog, control, key);
}

char* Priv(int i, const char* sAppName, const char* fileini) {
    static char sPriv[100];
    char number[16];
    snprintf(number, sizeof number, "%d", i);
    GetPrivateProfileStringA(sAppName, number, number, sPriv, sizeof sPriv, fileini);
    return sPriv;
}

char* ReadReestrChar(const char* key, HKEY hK, const char* source, const char* def) {
    ScopedRegKey opened;
    if (RegOpenKeyExA(hK, source, 0, KEY_READ, opened.receive()) != ERROR_SUCCESS) return CopyOrNone(def);
    // The whole 128 bytes are the value's room (127 characters and the end);
    // the extra byte ends a value stored without one.
    char value[kRegistryValueBuffer + 1];
    DWORD size = kRegistryValueBuffer;
    DWORD type = 0;
    LONG status = RegQueryValueExA(opened.get(), key, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status != ERROR_SUCCESS) return CopyOrNone(def);
    value[size <= kRegistryValueBuffer ? size : kRegistryValueBuffer] = '\0';
    return _strdup(value);
}

char* ExpandEnvStr(const char* text) {
    if (!text) return nullptr;
    DWORD size = ExpandEnvironmentStringsA(text, nullptr, 0);
    if (size == 0) return _strdup(text);
    std::vector<char> buffer(size + 1);
    if (!ExpandEnvironmentStringsA(text, buffer.data(), size + 1)) return _strdup(text);
    return _strdup(buffer.data());
}

void WRACE(const char* text) { MessageBoxA(nullptr, text ? text : "", "WRACE", MB_OK); }

void IRACE(int number) {
    char text[16];
    snprintf(text, sizeof text, "%d", number);
    MessageBoxA(nullptr, text, "IRACE", MB_OK);
}
