#include "fake_host.h"

#include <cstdlib>

#include "bmp_reader.h"
#include "createpathfile.h"
#include "procaddress.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const char kHostClass[] = "KvFakePluginHost";

void RegisterHostClass(WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
}

std::vector<std::string> TakeFiles(s_filenode* node) {
    // The host's side of services 28 and 29 frees every node it takes.
    std::vector<std::string> files;
    while (node) {
        s_filenode* next = node->next;
        files.emplace_back(node->path ? node->path : "");
        free(node->path);
        free(node);
        node = next;
    }
    return files;
}

}  // namespace

FakeHost::FakeHost(bool visible) : thread_(GetCurrentThreadId()) {
    RegisterHostClass(HostProc);
    // Sized for a settings page of 300 x 256 dialog units.
    main_ = CreateWindowExA(0, kHostClass, "Dravonel", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 20,
                            20, 640, 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(main_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT client = {};
    GetClientRect(main_, &client);
    panel_ = CreateWindowExA(WS_EX_CONTROLPARENT, kHostClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             client.right, client.bottom, main_, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(panel_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (visible) ShowWindow(main_, SW_SHOWNOACTIVATE);
}

FakeHost::~FakeHost() {
    if (main_) DestroyWindow(main_);
}

std::vector<ServiceCall> FakeHost::Calls(int code) const {
    std::vector<ServiceCall> found;
    for (const ServiceCall& call : calls_)
        if (call.code == code) found.push_back(call);
    return found;
}

int FakeHost::Count(int code) const { return static_cast<int>(Calls(code).size()); }

void FakeHost::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == KV_SERVICE_MESSAGE && (message.hwnd == main_ || message.hwnd == panel_)) ++posted_;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK FakeHost::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeHost* self = reinterpret_cast<FakeHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == KV_SERVICE_MESSAGE && self) return self->Serve(static_cast<int>(wParam), lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT FakeHost::Serve(int code, LPARAM argument) {
    ServiceCall call;
    call.code = code;
    call.tick = GetTickCount();
    call.fromOtherThread = InSendMessage() != FALSE;
    LRESULT answer = 0;
    switch (code) {
    case KvSrvSavePicture: {
        const s_savepicture* request = reinterpret_cast<const s_savepicture*>(argument);
        if (!request) break;
        call.text = request->namefile ? request->namefile : "";
        BITMAP info = {};
        if (request->hBit && GetObjectA(request->hBit, sizeof info, &info)) {
            savedWidth = info.bmWidth;
            savedHeight = info.bmHeight;
            savedPixels.assign(static_cast<size_t>(savedWidth) * savedHeight, 0);
            BITMAPINFO header = {};
            header.bmiHeader.biSize = sizeof header.bmiHeader;
            header.bmiHeader.biWidth = savedWidth;
            header.bmiHeader.biHeight = -savedHeight;
            header.bmiHeader.biPlanes = 1;
            header.bmiHeader.biBitCount = 32;
            ScopedGetDC screen(nullptr);
            GetDIBits(screen, request->hBit, 0, savedHeight, savedPixels.data(), &header, DIB_RGB_COLORS);
            if (writeSavedPicture && !call.text.empty()) {
                BmpImage image;
                image.width = savedWidth;
                image.height = savedHeight;
                image.bitsPerPixel = 24;
                for (DWORD pixel : savedPixels) image.pixels.push_back(RGB(pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255));
                WriteBmpFile(call.text, image);
            }
        }
        answer = saveAnswer;
        break;
    }
    case KvSrvAddToolTip: {
        const s_addtooltip* request = reinterpret_cast<const s_addtooltip*>(argument);
        if (!request) break;
        call.number = request->nIDTool;
        call.number2 = request->nIDStr;
        break;
    }
    case KvSrvChooseFolder: {
        const s_selfolder* request = reinterpret_cast<const s_selfolder*>(argument);
        if (!request) break;
        call.text = request->R ? request->R : "";
        call.text2 = request->TempDir ? request->TempDir : "";
        if (!chosenFolder.empty()) answer = reinterpret_cast<LRESULT>(_strdup(chosenFolder.c_str()));
        break;
    }
    case KvSrvAddToList:
    case KvSrvRemoveFromList: {
        s_filetolist* request = reinterpret_cast<s_filetolist*>(argument);
        if (!request) break;
        call.text = request->namelist ? request->namelist : "";
        call.files = TakeFiles(request->sb);
        request->sb = nullptr;
        break;
    }
    case KvSrvReadHotKey:
        call.number = static_cast<int>(argument);
        answer = hotKeyCode;
        break;
    default:
        break;
    }
    calls_.push_back(call);
    return answer;
}

PluginModule::PluginModule(const char* name) {
    std::string path = DistFolder() + "\\Plugins\\" + name + ".dll";
    module_ = LoadLibraryA(path.c_str());
    entry_ = GetProcAddressAs<DravonexFunction>(module_, KV_PLUGIN_ENTRY);
}

PluginModule::~PluginModule() {
    if (module_) FreeLibrary(module_);
}

std::string Here(const std::string& relative) {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    return std::string(folder.get()) + relative;
}

std::string TakeHeapString(INT_PTR answer) {
    HeapString text(reinterpret_cast<char*>(answer));
    return text ? text.get() : std::string();
}
