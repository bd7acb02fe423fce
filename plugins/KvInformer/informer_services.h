// Requests to the host (WM_USER+2 with a service code), one function each.
#pragma once

#include <windows.h>

#include <string>

#include "dravonel_plugin.h"

// The window the host gave us; every request goes there.
void SetHostWindow(HWND host);
HWND HostWindow();

INT_PTR HostService(int code, void* record);

// Service 8; 0 when the picture cannot be loaded.
void* HostLoadPicture(const std::string& path, SIZE* size);
// Service 9: the picture at a size, with the informer's border.
HBITMAP HostImageToBitmap(void* picture, SIZE* pictureSize, SIZE* size, int border, COLORREF borderColour,
                          int thickness);
void HostReleasePicture(void* picture);  // service 10
// Service 18 into a file; true when a whole answer of success (2xx) with
// something in it was written. Otherwise the file may hold an error page or
// part of one.
bool HostDownloadToFile(const std::string& url, const std::string& file);
// Service 18 into memory, reading no further than stop (none when empty);
// true when a whole answer of success came, else the body is left empty.
bool HostDownload(const std::string& url, const std::string& stop, std::string& body);
void HostUpdateWallpaper();                 // service 15
void HostCheckMenuItem(int id, bool check);  // service 20
std::string HostNextWallpaperPath();         // service 30
