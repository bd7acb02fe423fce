// Wallpaper lists: loading and saving the open list, the list of lists (list
// view 10610 and the lists menu), and the operations that add and remove
// files, also on a plug-in's request.
#pragma once

#include <windows.h>

#include "dravonel_plugin.h"

#include <string>
#include <vector>

#include "engine/open_list.h"

// Files found by a scan, a dialog or a request, waiting to be added or
// removed; the newest is at the back.
extern std::vector<std::string> pendingFiles;
// The lists menu (a submenu of the main menu): "%s\t- %d", ids = positions.
extern HMENU hFileListMenu;
// Last folder used by a file or folder dialog; stored as KvFolder.
extern std::string currentDir;

// A plug-in's request to add or remove files (services 28 and 29) is an
// s_filetolist of the plug-in protocol.

void LoadWallList();
void SaveWallList(int flag);
// Saves the open list again when its last save failed.
void SavePendingWallList();
void CreatListList();
void SetCountFilesInList(int row, int count, const char* name);
// Opens the list at that row of the list of lists (when it is not open).
void OpenListAtRow(int row);
// Notifications of the list of lists (10610).
void OnListOfListsNotify(const NMHDR* header);

// Pending files.
void addkvfile(const char* path);
void SearchF();
// True when the path is taken by addkvfile (a URL, or a picture extension).
bool IsWallpaperCandidate(const char* path);
// Puts the pending files at the top of the open list and saves it. The
// current picture stays selected at its new row, so the selection, lastsel,
// "KvIndex" and the new random order still name the picture on the desktop.
bool AddFiles();
bool RemoveFiles();
bool RemoveFolder(const char* folder);
void Exclude();
bool DelFile();

s_filetolist* putToListFile(s_filetolist* request, const char* suffix, bool add);
s_filenode* AddFilesToList(s_filetolist* request);
s_filenode* DelFilesFromList(s_filetolist* request);

// Message box with text n of section "STRING", owned by the host window.
void ShowListMessage(int stringNumber, const char* caption = nullptr);
