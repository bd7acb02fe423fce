// Requests to the host (the services of the plug-in protocol) that the
// plug-in uses. Each is one synchronous message to the host's window.
#pragma once

#include <windows.h>

#include <string>

#include "dravonel_plugin.h"

LRESULT AskHost(int service, const void* record);

// Layered window with key colour 0 and the alpha flag.
void HostSetTranslucent(HWND window, BYTE opacity);
// A picture file as a bitmap in its display size (the stored size, or
// fitted to the screen); 0 when it cannot be read. shown receives the size.
HBITMAP HostPictureBitmap(const std::string& path, SIZE stored, SIZE& shown);
// Shows a picture file's preview in a picture control; bitmap is replaced.
void HostPreview(HWND control, HBITMAP& bitmap, const std::string& path);
void HostRunCommandLine(const std::string& commandLine);
// 1 when a timed action may happen now, 0 while the machine is busy.
bool HostMayAct();
// File and folder choices: an empty text when cancelled.
std::string HostChooseFile(HWND owner, const char* filter, const std::string& title);
std::string HostChooseFolder(HWND owner, const std::string& start, const std::string& prompt);
// The font dialog for a font box; the keys are not written.
void HostChooseFont(HWND dialog, int control);
