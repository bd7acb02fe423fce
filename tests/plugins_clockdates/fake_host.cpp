#include "fake_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/calendar_drawing.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const char kHostClass[] = "FakeDravonelHost";

// The picture object of services 8 to 10.
struct FakePicture {
    HBITMAP bitmap;
    SIZE size;
};

HBITMAP StretchCopy(HBITMAP source, int fromWidth, int fromHeight, int width, int height) {
    ScopedGetDC screen(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
    ScopedMemoryDC from(screen), to(screen);
    if (!copy) return nullptr;
    ScopedSelectObject a(from, source);
    ScopedSelectObject b(to, copy);
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, fromWidth, fromHeight, SRCCOPY);
    return copy;
}

}  // namespace

FakeHost::FakeHost() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassA(&windowClass);
    owner_ = CreateWindowExA(0, kHostClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    panel_ = CreateWindowExA(WS_EX_CONTROLPARENT, kHostClass, "Dravonel", WS_POPUP, 0, 0, 640, 460, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
    SetWindowLongPtrA(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    mainMenu_ = CreatePopupMenu();
    AppendMenuA(mainMenu_, MF_STRING, 5, "Next wallpaper");
}

FakeHost::~FakeHost() {
    if (panel_) DestroyWindow(panel_);
    if (owner_) DestroyWindow(owner_);
    if (mainMenu_) DestroyMenu(mainMenu_);
}

int FakeHost::count(int code) const { return static_cast<int>(std::count(calls.begin(), calls.end(), code)); }

LRESULT CALLBACK FakeHost::HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeHost* host = reinterpret_cast<FakeHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == KV_SERVICE_MESSAGE && host) return host->Service(static_cast<int>(wParam), lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT FakeHost::Service(int code, LPARAM param) {
    calls.push_back(code);
    switch (code) {
    case KvSrvAddToolTip:
        if (param) toolTips.push_back(*reinterpret_cast<s_addtooltip*>(param));
        return 0;
    case KvSrvSetLayeredWindow: {
        if (!param) return 0;
        const s_setlayeredwin& record = *reinterpret_cast<s_setlayeredwin*>(param);
        layered.push_back(record);
        if (!record.hwnd) return 0;
        SetWindowLongA(record.hwnd, GWL_EXSTYLE, GetWindowLongA(record.hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(record.hwnd, record.crKey, record.bAlpha, record.dwFlags);
        return 0;
    }
    case KvSrvChooseFont: {
        if (!param) return 0;
        const s_choosefont& record = *reinterpret_cast<s_choosefont*>(param);
        fonts.push_back(record);
        choosefontApp = record.app ? record.app : "";
        return 0;
    }
    case KvSrvPlace:
        if (!param) return 0;
        places.push_back(*reinterpret_cast<s_placefunc*>(param));
        if (onPlace) onPlace(places.back());
        return 0;
    case KvSrvProcessorLoad:
        return processorLoad;
    case KvSrvLoadPicture: {
        if (!param) return 0;
        s_loadpicture& record = *reinterpret_cast<s_loadpicture*>(param);
        loadedPictures.push_back(record.name ? record.name : "");
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, record.name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (!bitmap) return 0;
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        FakePicture* picture = new FakePicture{bitmap, {info.bmWidth, info.bmHeight}};
        if (record.Sw) *record.Sw = picture->size;
        return reinterpret_cast<LRESULT>(picture);
    }
    case KvSrvImageToBitmap: {
        if (!param) return 0;
        const s_imgtobmp& record = *reinterpret_cast<s_imgtobmp*>(param);
        const FakePicture* picture = static_cast<const FakePicture*>(record.LoadedImage);
        if (!picture) return 0;
        const SIZE size = record.Sn ? *record.Sn : picture->size;
        return reinterpret_cast<LRESULT>(
            StretchCopy(picture->bitmap, picture->size.cx, picture->size.cy, size.cx, size.cy));
    }
    case KvSrvReleasePicture: {
        FakePicture* picture = reinterpret_cast<FakePicture*>(param);
        if (!picture) return 0;
        DeleteObject(picture->bitmap);
        delete picture;
        return 0;
    }
    case KvSrvScaleBitmap: {
        if (!param || !canScale) return 0;
        const s_scalebitmap& record = *reinterpret_cast<s_scalebitmap*>(param);
        BITMAP info = {};
        if (!record.hBitTemp || !GetObjectA(record.hBitTemp, sizeof info, &info)) return 0;
        return reinterpret_cast<LRESULT>(
            StretchCopy(record.hBitTemp, info.bmWidth, info.bmHeight, *record.wNewWidth, *record.wNewHeight));
    }
    case KvSrvShowSettings:
        shownPage = reinterpret_cast<HWND>(param);
        return 0;
    case KvSrvTrackMenu:
        trackedMenu = reinterpret_cast<HMENU>(param);
        return 0;
    case KvSrvMainMenu:
        return reinterpret_cast<LRESULT>(mainMenu_);
    case KvSrvInputText: {
        s_inputInitParam* record = reinterpret_cast<s_inputInitParam*>(param);
        if (!record) return 0;
        inputPrompts.push_back(record->iTitle);
        inputInitial.push_back(record->inText ? record->inText : "");
        // As the host's dialog: the record and its text are freed here.
        free(record->inText);
        free(record);
        if (inputAnswers.empty()) return 0;
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer.empty() ? 0 : reinterpret_cast<LRESULT>(_strdup(answer.c_str()));
    }
    case KvSrvDrawBitmap: {
        if (!param) return 0;
        const s_drawbit& d = *reinterpret_cast<s_drawbit*>(param);
        draws.push_back(d);
        DrawBitmapWithTransparent(d.hDC, d.hBit, d.xbit, d.ybit, d.wbit, d.hbit, d.trans, d.alpha, d.otnpos,
                                  d.RevCol, d.Tolerance, d.Angle, d.TransCol);
        return 0;
    }
    case KvSrvOwnerWindow:
        return reinterpret_cast<LRESULT>(owner_);
    case KvSrvCurrentWallpaper:
        return wallpaper.empty() ? 0 : reinterpret_cast<LRESULT>(_strdup(wallpaper.c_str()));
    case KvSrvCurrentSaver:
        return saver.empty() ? 0 : reinterpret_cast<LRESULT>(_strdup(saver.c_str()));
    default:
        return 0;
    }
}

PluginModule::PluginModule(const char* fileName) {
    const std::string path = DistFolder() + "\\Plugins\\" + fileName;
    module_ = LoadLibraryA(path.c_str());
    if (!module_) return;
    entry_ = reinterpret_cast<DravonexFunction>(reinterpret_cast<void*>(GetProcAddress(module_, KV_PLUGIN_ENTRY)));
}

PluginModule::~PluginModule() { Unload(); }

void PluginModule::Unload() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    entry_ = nullptr;
}

INT_PTR PluginModule::Call(HWND window, int command, INT_PTR argument, INT_PTR data) const {
    return entry_ ? entry_(window, command, argument, data) : 0;
}

std::string PluginModule::CallText(HWND window, int command, INT_PTR argument, INT_PTR data) const {
    char* text = reinterpret_cast<char*>(Call(window, command, argument, data));
    if (!text) return "<none>";
    std::string copy(text);
    free(text);
    return copy;
}

std::string PluginResource(const char* fileName, const char* resource) {
    const std::string path = DistFolder() + "\\Plugins\\" + fileName;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return std::string();
    std::string bytes;
    HRSRC found = FindResourceA(module, resource, reinterpret_cast<LPCSTR>(RT_RCDATA));
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (data) bytes.assign(data, SizeofResource(module, found));
    FreeLibrary(module);
    return bytes;
}

std::string ProgramFile(const std::string& relative) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.rfind('\\') + 1);
    return folder + relative;
}

std::string EnglishLanguageFile() { return DistFolder() + "\\Language\\eng.ini"; }

std::string UserFile(const char* extension) {
    HeapString path(SetUsetExtenPath(extension));
    return path ? path.get() : std::string();
}

void ResetProgramFolders() {
    for (const char* folder : {"Users", "Clock", "Dates"}) {
        RemoveFolder(ProgramFile(folder));
        CreateDirectoryA(ProgramFile(folder).c_str(), nullptr);
    }
}

void WriteIni(const std::string& file, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, file.c_str());
}

std::string ReadIni(const std::string& file, const char* section, const char* key) {
    char value[2048] = "";
    GetPrivateProfileStringA(section, key, "<absent>", value, sizeof value, file.c_str());
    return value;
}

bool IniHas(const std::string& file, const char* section, const char* key) {
    return ReadIni(file, section, key) != "<absent>";
}

namespace {

struct OwnedQuery {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM parameter) {
    OwnedQuery* query = reinterpret_cast<OwnedQuery*>(parameter);
    if (GetWindow(hwnd, GW_OWNER) == query->owner) query->found.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> OwnedWindows(HWND owner) {
    OwnedQuery query = {owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void Click(HWND dialog, int control) {
    // What a click does, without needing the page on screen and active.
    HWND button = GetDlgItem(dialog, control);
    if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        const bool checked = SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageA(button, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
