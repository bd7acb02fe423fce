// A stand-in for Dravonel.exe's side of the plug-in protocol: a hidden
// window that answers the services KvReminder asks for and records them,
// and the module loaded from dist\Plugins driven through its entry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dravonel_plugin.h"

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    HWND window() const { return window_; }

    // Every service code asked, in order.
    std::vector<int> services;
    std::vector<std::string> commandLines;  // 21
    std::vector<s_setlayeredwin> layered;    // 4
    std::vector<std::string> pictures;       // 8: the paths
    std::vector<SIZE> bitmapSizes;           // 9: the sizes asked for
    int releasedPictures = 0;                // 10
    int previews = 0;                        // 16
    int mayChangeAsked = 0;                  // 23
    int mayChange = 1;                       // its answer
    std::string chosenFile, chosenFolder;    // 27, 26 answers ("" = cancelled)
    int fontRequests = 0;                    // 5
    std::vector<std::string> saveFailures;   // 33: the files

    int Count(int service) const;
    LRESULT Answer(int service, LPARAM record);

private:
    HWND window_ = nullptr;
};

class PluginModule {
public:
    // Loads KvReminder.dll from the built dist tree.
    PluginModule();
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool loaded() const { return entry_ != nullptr; }
    INT_PTR Call(HWND window, int command, INT_PTR argument = 0, INT_PTR data = 0) const;
    // Command 0 with the host's window and the language file, as the host does.
    INT_PTR Create(const FakeHost& host, const std::string& languageFile) const;
    // Command 11 and unloading; also done by the destructor.
    void Close();

private:
    HMODULE module_ = nullptr;
    DravonexFunction entry_ = nullptr;
    bool created_ = false;
};

std::string LanguageFile(const char* language);  // "eng" or "rus"

// The fake host's main menu: owner-drawn items with menudata records, ids
// 0 .. count-1, as the host builds them.
class FakeMainMenu {
public:
    explicit FakeMainMenu(int count);
    ~FakeMainMenu();
    HMENU menu() const { return menu_; }
    menudata* Data(int id) const;

private:
    HMENU menu_;
    std::vector<menudata*> records_;
};

// The reminder file of the running program, as the test writes and reads it.
class ReminderFile {
public:
    ReminderFile();  // empty file, Users folder made
    const std::string& path() const { return path_; }
    void Set(const std::string& section, const std::string& key, const std::string& value) const;
    void Set(int section, const std::string& key, const std::string& value) const;
    // "<absent>" when missing.
    std::string Get(const std::string& section, const std::string& key) const;
    std::string Get(int section, const std::string& key) const;
    bool HasSection(int section) const;
    std::vector<std::string> Keys(const std::string& section) const;
    // A reminder in the list at position, with its name and more keys.
    void Add(int position, int number, const std::string& name,
             const std::vector<std::pair<std::string, std::string>>& keys = {}) const;

private:
    std::string path_;
};

// Windows of this process.
HWND FindOwnWindow(const char* className, const char* title);
std::vector<HWND> OwnWindows(const char* className);
std::string TextOf(HWND window);
// Starts a thread that closes (with its first button) every message box of
// this process titled title, counting them, until it is stopped.
class MessageBoxCloser {
public:
    explicit MessageBoxCloser(std::string title, int button = IDOK);
    ~MessageBoxCloser();
    int seen() const { return seen_; }

private:
    static DWORD WINAPI Run(LPVOID self);
    std::string title_;
    int button_;
    volatile LONG stop_ = 0;
    volatile LONG seen_ = 0;
    HANDLE thread_ = nullptr;
};

// Test pictures and sounds: a 24-bit bitmap with a disc on a gradient, and
// an 8-bit mono wave of a square tone.
void WriteBmp(const std::string& path, int width, int height);
void WriteWav(const std::string& path, int milliseconds);
