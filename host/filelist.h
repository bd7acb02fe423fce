// Wallpaper lists: the open list (shown in the lists page's list view 10626,
// whose selected row is the current wallpaper), the list of lists (list view
// 10610 and the lists menu), and the operations that add and remove files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "wallmodel.h"

// The open list's rows.
extern WallList wallList;
// Name of the open list ("" when none is open); stored as KvFileList.
extern std::string lastlist;
// Path of the current wallpaper ("" when none).
extern std::string lastsel;
// Files found by a scan, a dialog or a request, waiting to be added or
// removed; the newest is at the back.
extern std::vector<std::string> pendingFiles;
// The lists menu (a submenu of the main menu): "%s\t- %d", ids = positions.
extern HMENU hFileListMenu;
// The placement menu of a row (items 700 .. 709).
extern HMENU hPlaceMenu;
// Last folder used by a file or folder dialog; stored as KvFolder.
extern std::string currentDir;

// A plug-in's request to add or remove files (services 28 and 29).
struct s_filenode {
    char* path;
    s_filenode* next;
};
struct s_filetolist {
    s_filenode* sb;   // the files, newest first
    char* namelist;   // the target list
};

// Paths of the open list's files ("" without an open list).
std::string CreatePathList();
std::string OrderFilePath();

void LoadWallList();
void SaveWallList(int flag);
void SetCurrentState(int index);
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
bool AddFiles();
bool RemoveFiles();
bool RemoveFolder(const char* folder);
void Exclude();
bool DelFile();

s_filetolist* putToListFile(s_filetolist* request, const char* suffix, bool add);
s_filenode* AddFilesToList(s_filetolist* request);
s_filenode* DelFilesFromList(s_filetolist* request);

// The selected row of a list view (first with the selected state, -1 none),
// and selecting one (selected, focused, scrolled into view).
int GetItemSel(HWND page, int control);
void SetItemSel(HWND page, int control, int row);
int GetCurrentRow();

// Placement digit of a row (0 when there is none).
int GetPlaceMent(int row);
void SetPlaceMent(int digit);
void TrackPopupPlaceMent(int row);

// The wallpaper page's options the lists use (their defaults while the page
// does not have them).
bool RandomOrderChosen();
bool RecycleBinChosen();
bool AskBeforeDeleteChosen();

// Tells the list view how many rows the open list has and repaints it.
void RefreshWallListView();
// Message box with text n of section "STRING", owned by the host window.
void ShowListMessage(int stringNumber, const char* caption = nullptr);
