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
    // False while the informer file is there but could not be read: then
    // the list is not the file's and nothing is written over it.
    bool informersRead = true;
};
extern PluginState plugin;

// A text of our section "INFORMER" (its number when missing).
std::string InformerText(int id);
// Our display name, "Name" of section "INFORMER".
std::string InformerDisplayName(const char* languageFile);
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
// Reads the file again when it could not be read before; false (the user
// told) while it still cannot be, so nothing may change the list.
bool InformersReadable();
// Writes the file; a write that fails is kept and tried again. Nothing is
// written (the user is told) while the file could not be read, or when a
// line would not read back as written.
bool SaveInformers();
// Gives the informer a new name; its picture and page files go with it.
void RenameInformer(Informer& informer, const std::string& name);
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
