#include "fake_host.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

FakeHost* current = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == KV_SERVICE_MESSAGE && current) return current->Answer(static_cast<int>(wParam), lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

HBITMAP Stretched(HBITMAP source, SIZE from, SIZE to) {
    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, to.cx, to.cy);
    ScopedMemoryDC sourceDC(screen), targetDC(screen);
    ScopedSelectObject a(sourceDC, source), b(targetDC, bitmap);
    SetStretchBltMode(targetDC, HALFTONE);
    StretchBlt(targetDC, 0, 0, to.cx, to.cy, sourceDC, 0, 0, from.cx, from.cy, SRCCOPY);
    return bitmap;
}

}  // namespace

FakeHost::FakeHost() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KvFakeHost";
    RegisterClassA(&windowClass);
    window_ = CreateWindowA("KvFakeHost", "Dravonel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    current = this;
}

FakeHost::~FakeHost() {
    current = nullptr;
    DestroyWindow(window_);
}

int FakeHost::Count(int service) const {
    int count = 0;
    for (int asked : services) count += asked == service;
    return count;
}

LRESULT FakeHost::Answer(int service, LPARAM record) {
    services.push_back(service);
    switch (service) {
        case KvSrvSetLayeredWindow: {
            const s_setlayeredwin* request = reinterpret_cast<const s_setlayeredwin*>(record);
            if (!request) return 0;
            layered.push_back(*request);
            // As the host does, so that screenshots show it.
            SetWindowLongA(request->hwnd, GWL_EXSTYLE, GetWindowLongA(request->hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
            SetLayeredWindowAttributes(request->hwnd, request->crKey, request->bAlpha, request->dwFlags);
            return 0;
        }
        case KvSrvLoadPicture: {
            const s_loadpicture* request = reinterpret_cast<const s_loadpicture*>(record);
            if (!request || !request->name) return 0;
            pictures.push_back(request->name);
            HBITMAP picture = static_cast<HBITMAP>(
                LoadImageA(nullptr, request->name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
            if (!picture) return 0;
            BITMAP info;
            GetObjectA(picture, sizeof info, &info);
            if (request->Sw) *request->Sw = SIZE{info.bmWidth, info.bmHeight};
            return reinterpret_cast<LRESULT>(picture);
        }
        case KvSrvImageToBitmap: {
            const s_imgtobmp* request = reinterpret_cast<const s_imgtobmp*>(record);
            if (!request || !request->LoadedImage || !request->So) return 0;
            SIZE wanted = request->Sn ? *request->Sn : *request->So;
            bitmapSizes.push_back(wanted);
            return reinterpret_cast<LRESULT>(
                Stretched(static_cast<HBITMAP>(request->LoadedImage), *request->So, wanted));
        }
        case KvSrvReleasePicture:
            if (record) {
                DeleteObject(reinterpret_cast<HBITMAP>(record));
                ++releasedPictures;
            }
            return 0;
        case KvSrvPreviewBitmap: {
            const s_imgtosmallbmp* request = reinterpret_cast<const s_imgtosmallbmp*>(record);
            if (!request) return 0;
            ++previews;
            RECT box;
            GetClientRect(request->HPic, &box);
            HBITMAP preview = Stretched(static_cast<HBITMAP>(request->LoadedImage), *request->Sw,
                                        SIZE{box.right, box.bottom});
            DeleteObject(static_cast<HBITMAP>(request->LoadedImage));
            if (request->hBit) {
                if (*request->hBit) DeleteObject(*request->hBit);
                *request->hBit = preview;
            }
            SendMessageA(request->HPic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(preview));
            return 0;
        }
        case KvSrvRunCommandLine:
            if (record) commandLines.push_back(reinterpret_cast<const char*>(record));
            return 0;
        case KvSrvSaveFailed:
            if (record) saveFailures.push_back(reinterpret_cast<const char*>(record));
            return record ? 1 : 0;
        case KvSrvMayChange:
            ++mayChangeAsked;
            return mayChange;
        case KvSrvChooseFile:
            return record && !chosenFile.empty() ? reinterpret_cast<LRESULT>(_strdup(chosenFile.c_str())) : 0;
        case KvSrvChooseFolder:
            return record && !chosenFolder.empty() ? reinterpret_cast<LRESULT>(_strdup(chosenFolder.c_str())) : 0;
        case KvSrvChooseFont: {
            const s_choosefont* request = reinterpret_cast<const s_choosefont*>(record);
            if (!request) return 0;
            ++fontRequests;
            // As if the user chose bold italic Courier New for Cyrillic.
            LOGFONTA chosen = {};
            chosen.lfHeight = -11;
            chosen.lfWeight = FW_BOLD;
            chosen.lfItalic = TRUE;
            chosen.lfCharSet = RUSSIAN_CHARSET;
            strcpy(chosen.lfFaceName, "Courier New");
            SendDlgItemMessageA(request->H, request->ID, WM_SETFONT,
                                reinterpret_cast<WPARAM>(CreateFontIndirectA(&chosen)), TRUE);
            SetDlgItemTextA(request->H, request->ID, "Courier New");
            return 0;
        }
        default:
            return 0;
    }
}

PluginModule::PluginModule() {
    module_ = LoadLibraryA((DistFolder() + "\\Plugins\\KvReminder.dll").c_str());
    if (module_) {
        entry_ = reinterpret_cast<DravonexFunction>(
            reinterpret_cast<void*>(GetProcAddress(module_, KV_PLUGIN_ENTRY)));
    }
}

PluginModule::~PluginModule() { Close(); }

INT_PTR PluginModule::Call(HWND window, int command, INT_PTR argument, INT_PTR data) const {
    return entry_ ? entry_(window, command, argument, data) : 0;
}

INT_PTR PluginModule::Create(const FakeHost& host, const std::string& languageFile) const {
    const_cast<PluginModule*>(this)->created_ = true;
    return Call(host.window(), KvCREATE, 0, reinterpret_cast<INT_PTR>(languageFile.c_str()));
}

void PluginModule::Close() {
    if (created_) Call(nullptr, KvAPPLICATIONCLOSE);
    created_ = false;
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    entry_ = nullptr;
}

std::string LanguageFile(const char* language) {
    return DistFolder() + "\\Language\\" + language + ".ini";
}

FakeMainMenu::FakeMainMenu(int count) : menu_(CreatePopupMenu()) {
    for (int id = 0; id < count; ++id) {
        menudata* record = static_cast<menudata*>(calloc(1, sizeof(menudata)));
        snprintf(record->text, sizeof record->text, "item %d", id);
        records_.push_back(record);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
        item.fType = MFT_OWNERDRAW;
        item.wID = static_cast<UINT>(id);
        item.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        InsertMenuItemA(menu_, static_cast<UINT>(id), TRUE, &item);
    }
}

FakeMainMenu::~FakeMainMenu() {
    // The plug-in's submenu is its own: detach it before the menu goes.
    while (GetMenuItemCount(menu_) > 0) RemoveMenu(menu_, 0, MF_BYPOSITION);
    DestroyMenu(menu_);
    for (menudata* record : records_) free(record);
}

menudata* FakeMainMenu::Data(int id) const { return id >= 0 && id < static_cast<int>(records_.size()) ? records_[id] : nullptr; }

ReminderFile::ReminderFile() {
    HeapString path(SetUsetExtenPath(".rms"));
    path_ = path.get();
    CreateDirectoryA(path_.substr(0, path_.find_last_of('\\')).c_str(), nullptr);
    // Let go of any copy the system keeps before the file goes.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
    DeleteFileA(path_.c_str());
}

void ReminderFile::Set(const std::string& section, const std::string& key, const std::string& value) const {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str());
}

void ReminderFile::Set(int section, const std::string& key, const std::string& value) const {
    Set(std::to_string(section), key, value);
}

std::string ReminderFile::Get(const std::string& section, const std::string& key) const {
    std::vector<char> buffer(65536);
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<absent>", buffer.data(),
                             static_cast<DWORD>(buffer.size()), path_.c_str());
    return buffer.data();
}

std::string ReminderFile::Get(int section, const std::string& key) const { return Get(std::to_string(section), key); }

bool ReminderFile::HasSection(int section) const { return !Keys(std::to_string(section)).empty(); }

std::vector<std::string> ReminderFile::Keys(const std::string& section) const {
    std::vector<char> buffer(65536);
    DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(),
                                            static_cast<DWORD>(buffer.size()), path_.c_str());
    std::vector<std::string> keys;
    for (DWORD i = 0; i < length; i += static_cast<DWORD>(strlen(&buffer[i])) + 1) keys.push_back(&buffer[i]);
    return keys;
}

void ReminderFile::Add(int position, int number, const std::string& name,
                       const std::vector<std::pair<std::string, std::string>>& keys) const {
    Set("LIST_REMAINDERS", std::to_string(position), std::to_string(number));
    Set(number, "Name", name);
    for (const auto& key : keys) Set(number, key.first, key.second);
}

namespace {

struct OwnQuery {
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchOwn(HWND window, LPARAM parameter) {
    OwnQuery* query = reinterpret_cast<OwnQuery*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    char text[512];
    if (query->className) {
        GetClassNameA(window, text, sizeof text);
        if (strcmp(text, query->className) != 0) return TRUE;
    }
    if (query->title) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, query->title) != 0) return TRUE;
    }
    query->found.push_back(window);
    return TRUE;
}

}  // namespace

HWND FindOwnWindow(const char* className, const char* title) {
    OwnQuery query = {className, title, {}};
    EnumWindows(MatchOwn, reinterpret_cast<LPARAM>(&query));
    return query.found.empty() ? nullptr : query.found.front();
}

std::vector<HWND> OwnWindows(const char* className) {
    OwnQuery query = {className, nullptr, {}};
    EnumWindows(MatchOwn, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string TextOf(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

MessageBoxCloser::MessageBoxCloser(std::string title, int button) : title_(std::move(title)), button_(button) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageBoxCloser::~MessageBoxCloser() {
    InterlockedExchange(&stop_, 1);
    // The watcher reads window texts, which waits for the windows of this
    // thread to answer: keep them answering until it has ended, or it would
    // outlive this record.
    const DWORD deadline = GetTickCount() + 10000;
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           static_cast<LONG>(deadline - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(thread_);
}

DWORD WINAPI MessageBoxCloser::Run(LPVOID parameter) {
    MessageBoxCloser* self = static_cast<MessageBoxCloser*>(parameter);
    while (!self->stop_) {
        HWND box = FindOwnWindow("#32770", self->title_.c_str());
        if (box && IsWindowVisible(box)) {
            InterlockedIncrement(&self->seen_);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->button_, BN_CLICKED), 0);
            // Wait until it has gone, so one box counts once.
            for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
        }
        Sleep(10);
    }
    return 0;
}

void WriteBmp(const std::string& path, int width, int height) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    int stride = (width * 3 + 3) & ~3;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string pixels(info.biSizeImage, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* p = reinterpret_cast<unsigned char*>(&pixels[static_cast<size_t>(y * stride + x * 3)]);
            bool ring = ((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2)) < width * width / 9;
            p[0] = ring ? 40 : static_cast<unsigned char>(255 * x / width);
            p[1] = ring ? 180 : 120;
            p[2] = ring ? 250 : static_cast<unsigned char>(255 * y / height);
        }
    }
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes += pixels;
    WriteTextFile(path, bytes);
}

void WriteWav(const std::string& path, int milliseconds) {
    const int rate = 8000, samples = rate * milliseconds / 1000;
    std::string data(static_cast<size_t>(samples), '\0');
    for (int i = 0; i < samples; ++i) data[static_cast<size_t>(i)] = static_cast<char>((i / 8) % 2 ? 160 : 96);
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    std::string bytes = "RIFF" + u32(36 + samples) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate) +
                        u16(1) + u16(8) + "data" + u32(samples) + data;
    WriteTextFile(path, bytes);
}

