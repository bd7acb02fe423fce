#include "informer_services.h"

#include <cstdlib>

#include "scopedwin.h"

namespace {

HWND hostWindow = nullptr;

std::string TakeHeapString(INT_PTR answer) {
    char* text = reinterpret_cast<char*>(answer);
    if (!text) return std::string();
    std::string copy = text;
    free(text);
    return copy;
}

}  // namespace

void SetHostWindow(HWND host) { hostWindow = host; }
HWND HostWindow() { return hostWindow; }

INT_PTR HostService(int code, void* record) {
    if (!hostWindow) return 0;
    return SendMessageA(hostWindow, KV_SERVICE_MESSAGE, static_cast<WPARAM>(code), reinterpret_cast<LPARAM>(record));
}

void* HostLoadPicture(const std::string& path, SIZE* size) {
    s_loadpicture request = {size, const_cast<char*>(path.c_str())};
    return reinterpret_cast<void*>(HostService(KvSrvLoadPicture, &request));
}

HBITMAP HostImageToBitmap(void* picture, SIZE* pictureSize, SIZE* size, int border, COLORREF borderColour,
                          int thickness) {
    s_imgtobmp request = {picture, pictureSize, size, border, borderColour, thickness};
    return reinterpret_cast<HBITMAP>(HostService(KvSrvImageToBitmap, &request));
}

void HostReleasePicture(void* picture) {
    if (picture && hostWindow)
        SendMessageA(hostWindow, KV_SERVICE_MESSAGE, KvSrvReleasePicture, reinterpret_cast<LPARAM>(picture));
}

bool HostDownloadToFile(const std::string& url, const std::string& file) {
    DeleteFileA(file.c_str());
    s_getinetfile request = {};
    request.url = const_cast<char*>(url.c_str());
    request.btype = 1;
    request.sfout = const_cast<char*>(file.c_str());
    if (!HostService(KvSrvGetInetFile, &request)) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

bool HostDownload(const std::string& url, const std::string& stop, std::string& body) {
    body.clear();
    int length = 0;
    s_getinetfile request = {};
    request.url = const_cast<char*>(url.c_str());
    request.sstop = stop.empty() ? nullptr : const_cast<char*>(stop.c_str());
    request.btype = 0;
    request.Lread = &length;
    HeapString block(reinterpret_cast<char*>(HostService(KvSrvGetInetFile, &request)));
    if (!block) return false;
    body.assign(block.get(), length > 0 ? static_cast<size_t>(length) : 0);
    return true;
}

void HostUpdateWallpaper() { HostService(KvSrvUpdateWallpaper, nullptr); }

void HostCheckMenuItem(int id, bool check) {
    s_checkmainmenuitem request = {id, check ? 1 : 0};
    HostService(KvSrvCheckMenuItem, &request);
}

std::string HostNextWallpaperPath() { return TakeHeapString(HostService(KvSrvNextWallpaperPath, nullptr)); }
