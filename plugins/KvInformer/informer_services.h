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
// Service 18 into a file; true when the file was written with something in it.
bool HostDownloadToFile(const std::string& url, const std::string& file);
// Service 18 into memory, reading no further than stop (none when empty).
std::string HostDownload(const std::string& url, const std::string& stop);
void HostUpdateWallpaper();                 // service 15
void HostCheckMenuItem(int id, bool check);  // service 20
std::string HostNextWallpaperPath();         // service 30
