// The plug-in's state and the operations that commands, hot keys, menu
// items, command-line switches and the settings page share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "informer_record.h"

struct PluginState {
    std::string languageFile;  // from KvCREATE
    std::string settingsFile;  // from KvSETTINGS
    HWND page = nullptr;       // the settings page, template 116
    int hotKeyBase = -1;       // row of our hot key 0
    int menuBase = -1;         // menu id of our item 0
    std::vector<Informer> informers;  // file order; the page's list mirrors it
};
extern PluginState plugin;

// A text of our section "INFORMER" (its number when missing).
std::string InformerText(int id);
// A text of another section of the language file.
std::string LanguageText(const char* section, int id);

// Settings of section "set" of the user's settings file.
std::string ReadSetting(const char* key, const char* fallback = "");
void WriteSetting(const char* key, const std::string& value);  // empty deletes

// "KvDrInform" is present while informers are not drawn.
bool DrawingOn();
// Switches drawing, shows it on the page and the menu, reapplies the
// wallpaper.
void ToggleDrawing();

void LoadInformers();
bool SaveInformers();
// Writes the default informers (resource INFFILE) over the user's file and
// reads them; false when the file could not be written.
bool ResetInformers();

// Fetching (downloads, rendering, folder rotation). The sets reapply the
// wallpaper once afterwards when reapply is set.
void FetchInformer(Informer& informer);
void UpdateInformers(const std::vector<size_t>& which, bool reapply);
std::vector<size_t> AllInformers();
std::vector<size_t> EnabledInformers();

// Command 16.
void DrawInformers(HDC wallpaper);

// The picture an informer shows now (kind 3: its current picture; empty
// when there is none). advance: move a kind-3 list on as a redraw does.
std::string InformerPicturePath(Informer& informer, bool advance);
