#include "host_services.h"

#include <cstdlib>
#include <vector>

#include "layout.h"
#include "plugin_state.h"
#include "scopedwin.h"

LRESULT AskHost(int service, const void* record) {
    if (!hHost || !IsWindow(hHost)) return 0;
    return SendMessageA(hHost, KV_SERVICE_MESSAGE, static_cast<WPARAM>(service),
                        reinterpret_cast<LPARAM>(record));
}

void HostSetTranslucent(HWND window, BYTE opacity) {
    s_setlayeredwin request = {};
    request.hwnd = window;
    request.crKey = 0;
    request.bAlpha = opacity;
    request.dwFlags = LWA_ALPHA;
    AskHost(KvSrvSetLayeredWindow, &request);
}

HBITMAP HostPictureBitmap(const std::string& path, SIZE stored, SIZE& shown) {
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    SIZE picture = {0, 0};
    shown = SIZE{0, 0};
    s_loadpicture load = {&picture, name.data()};
    void* image = reinterpret_cast<void*>(AskHost(KvSrvLoadPicture, &load));
    if (!image) return nullptr;
    Size display = PictureDisplaySize({static_cast<int>(picture.cx), static_cast<int>(picture.cy)},
                                      {static_cast<int>(stored.cx), static_cast<int>(stored.cy)},
                                      {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    shown = SIZE{display.cx, display.cy};
    s_imgtobmp convert = {};
    convert.LoadedImage = image;
    convert.So = &picture;
    convert.Sn = &shown;
    HBITMAP bitmap = nullptr;
    if (shown.cx > 0 && shown.cy > 0) bitmap = reinterpret_cast<HBITMAP>(AskHost(KvSrvImageToBitmap, &convert));
    // The service takes the handle itself, not a record.
    if (hHost && IsWindow(hHost)) {
        SendMessageA(hHost, KV_SERVICE_MESSAGE, KvSrvReleasePicture, reinterpret_cast<LPARAM>(image));
    }
    return bitmap;
}

void HostPreview(HWND control, HBITMAP& bitmap, const std::string& path) {
    SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, 0);
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
    InvalidateRect(control, nullptr, TRUE);
    if (path.empty()) return;
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    SIZE picture = {0, 0};
    s_loadpicture load = {&picture, name.data()};
    void* image = reinterpret_cast<void*>(AskHost(KvSrvLoadPicture, &load));
    if (!image) return;
    // The host releases the image and puts the preview into the control.
    s_imgtosmallbmp preview = {control, &bitmap, image, &picture};
    AskHost(KvSrvPreviewBitmap, &preview);
}

void HostRunCommandLine(const std::string& commandLine) {
    if (commandLine.empty()) return;
    AskHost(KvSrvRunCommandLine, commandLine.c_str());
}

bool HostMayAct() {
    if (!hHost || !IsWindow(hHost)) return true;
    return SendMessageA(hHost, KV_SERVICE_MESSAGE, KvSrvMayChange, 0) != 0;
}

std::string HostChooseFile(HWND owner, const char* filter, const std::string& title) {
    std::vector<char> titleText(title.begin(), title.end());
    titleText.push_back('\0');
    char none[] = "";
    s_selfile request = {};
    request.howner = owner;
    request.filter = const_cast<char*>(filter);
    request.title = titleText.data();
    request.ext = none;
    request.OpenSave = 1;
    HeapString chosen(reinterpret_cast<char*>(AskHost(KvSrvChooseFile, &request)));
    return chosen ? chosen.get() : std::string();
}

std::string HostChooseFolder(HWND owner, const std::string& start, const std::string& prompt) {
    std::vector<char> startText(start.begin(), start.end()), promptText(prompt.begin(), prompt.end());
    startText.push_back('\0');
    promptText.push_back('\0');
    s_selfolder request = {owner, start.empty() ? nullptr : startText.data(), promptText.data()};
    HeapString chosen(reinterpret_cast<char*>(AskHost(KvSrvChooseFolder, &request)));
    return chosen ? chosen.get() : std::string();
}

void HostChooseFont(HWND dialog, int control) {
    char none[] = "";
    s_choosefont request = {};
    request.ext = none;
    request.app = none;
    request.H = dialog;
    request.ID = control;
    request.keyStyle = none;
    request.keyCharset = none;
    request.keyFontBox = none;
    request.reg = 0;
    AskHost(KvSrvChooseFont, &request);
}
