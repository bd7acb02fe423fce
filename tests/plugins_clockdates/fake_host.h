// A stand-in for Dravonel's plug-in host: a hidden panel window that answers
// the plug-in services (WM_USER+2) the way the protocol says and records
// what it was asked, and a loaded plug-in DLL from dist\Plugins.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dravonel_plugin.h"

class FakeHost {
public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    HWND panel() const { return panel_; }
    HWND owner() const { return owner_; }
    HMENU mainMenu() const { return mainMenu_; }

    // Every service code asked, in order.
    std::vector<int> calls;
    int count(int code) const;

    // Answers.
    int processorLoad = 0;
    std::string wallpaper;  // service 24 (empty: none)
    std::string saver;      // service 25
    bool canScale = true;   // service 11 answers 0 when false
    std::deque<std::string> inputAnswers;  // service 17, front first; empty = cancelled
    // Service 6: writes where the user would have clicked into the edits.
    std::function<void(const s_placefunc&)> onPlace;

    // Records.
    std::vector<s_addtooltip> toolTips;
    std::vector<s_setlayeredwin> layered;
    std::vector<s_placefunc> places;
    std::vector<s_drawbit> draws;
    std::vector<std::string> loadedPictures;
    std::vector<int> inputPrompts;    // iTitle of each service 17
    std::vector<std::string> inputInitial;
    std::vector<s_choosefont> fonts;
    HMENU trackedMenu = nullptr;  // service 13
    HWND shownPage = nullptr;     // service 12
    std::string choosefontApp;    // section of the last service 5

private:
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Service(int code, LPARAM param);

    HWND panel_ = nullptr;
    HWND owner_ = nullptr;
    HMENU mainMenu_ = nullptr;
};

// A plug-in module loaded from the built dist tree.
class PluginModule {
public:
    explicit PluginModule(const char* fileName);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool loaded() const { return entry_ != nullptr; }
    INT_PTR Call(HWND window, int command, INT_PTR argument, INT_PTR data) const;
    // A heap text the plug-in returned, freed after copying.
    std::string CallText(HWND window, int command, INT_PTR argument, INT_PTR data) const;
    void Unload();

private:
    HMODULE module_ = nullptr;
    DravonexFunction entry_ = nullptr;
};

// Bytes of an RCDATA resource of a dist\Plugins module.
std::string PluginResource(const char* fileName, const char* resource);

// Paths of this test program's folder, which the plug-ins take for the
// program folder.
std::string ProgramFile(const std::string& relative);
std::string EnglishLanguageFile();
// The user's settings file with this extension (".set", ".dst").
std::string UserFile(const char* extension);
// Empties the folders the plug-ins use (Users, Clock, Dates) for a fresh start.
void ResetProgramFolders();
void WriteIni(const std::string& file, const char* section, const char* key, const char* value);
std::string ReadIni(const std::string& file, const char* section, const char* key);
bool IniHas(const std::string& file, const char* section, const char* key);

// Top-level windows of this thread owned by owner.
std::vector<HWND> OwnedWindows(HWND owner);
// A click on a page's button as the user makes it.
void Click(HWND dialog, int control);
