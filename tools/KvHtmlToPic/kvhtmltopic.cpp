// KvHtmlToPic: loads a page into the system's web browser control in a
// hidden window, draws the document body into a bitmap of the window's size
// and saves it as a BMP file. Started by the informer plug-in, which waits
// for it to end; it always ends with code 0.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <shellapi.h>

#include <string>

#include "browsersite.h"
#include "pagerequest.h"
#include "resource.h"
#include "savebitmap.h"
#include "scopedwin.h"
#include "system_programs.h"

namespace {

const CLSID kCLSID_WebBrowser = {0x8856f961, 0x340a, 0x11d0, {0xa9, 0x6b, 0x00, 0xc0, 0x4f, 0xd7, 0x05, 0xa2}};
// Navigation without history, cache reads or cache writes.
const long kNavigateFlags = navNoHistory | navNoReadFromCache | navNoWriteToCache;
const UINT_PTR kDialogTimer = 0;
const UINT kDialogTimerPeriod = 10;
// A page that never completes would keep the informer waiting forever.
const UINT_PTR kTimeLimitTimer = 1;
const UINT kTimeLimit = 30000;

PageRequest request;
bool oleStarted = false;

template <typename T>
T* ControlData(HWND dialog, int control) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(GetDlgItem(dialog, control), GWLP_USERDATA));
}

void SetControlData(HWND dialog, int control, LONG_PTR value) {
    SetWindowLongPtrA(GetDlgItem(dialog, control), GWLP_USERDATA, value);
}

IOleObject* Browser(HWND dialog) { return ControlData<IOleObject>(dialog, IDC_BROWSER); }

template <typename T>
T* Query(IUnknown* object) {
    T* result = nullptr;
    if (object) object->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&result));
    return result;
}

BSTR ToBstr(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, length > 0 ? length - 1 : 0);
    if (result && length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result, length);
    return result;
}

IConnectionPoint* BrowserEvents(IOleObject* browser) {
    IConnectionPoint* point = nullptr;
    IConnectionPointContainer* container = Query<IConnectionPointContainer>(browser);
    if (container) {
        container->FindConnectionPoint(kDIID_DWebBrowserEvents2, &point);
        container->Release();
    }
    return point;
}

class Renderer : public BrowserSiteEvents {
public:
    void OnDocumentComplete(IDispatch* source) override;
    HWND window = nullptr;
};

Renderer renderer;
BrowserSite* site = nullptr;

// Embeds the browser, subscribes to its events and starts the navigation.
bool StartBrowser(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    IOleObject* browser = nullptr;
    if (FAILED(CoCreateInstance(kCLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(&browser))))
        return false;
    SetControlData(dialog, IDC_BROWSER, reinterpret_cast<LONG_PTR>(browser));
    IOleClientSite* clientSite = static_cast<IOleClientSite*>(site);
    if (FAILED(browser->SetClientSite(clientSite))) return false;
    browser->SetHostNames(L"My Host Name", nullptr);
    if (FAILED(OleSetContainedObject(browser, TRUE))) return false;
    if (FAILED(browser->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, -1, dialog, &client))) return false;

    IWebBrowser2* web = Query<IWebBrowser2>(browser);
    if (!web) return false;
    // Scroll bars fall outside the visible client area.
    web->put_Left(0);
    web->put_Top(0);
    web->put_Width(client.right + GetSystemMetrics(SM_CYHSCROLL) + 2);
    web->put_Height(client.bottom + GetSystemMetrics(SM_CXVSCROLL) + 2);
    web->put_Offline(VARIANT_FALSE);
    web->put_Resizable(VARIANT_FALSE);

    IConnectionPoint* events = BrowserEvents(browser);
    if (events) {
        DWORD cookie = 0;
        if (SUCCEEDED(events->Advise(static_cast<IDispatch*>(site), &cookie)))
            SetControlData(dialog, IDC_COOKIE, static_cast<LONG_PTR>(cookie));
        events->Release();
    }

    BSTR url = ToBstr(request.url);
    VARIANT flags, empty;
    VariantInit(&flags);
    VariantInit(&empty);
    flags.vt = VT_I4;
    flags.lVal = kNavigateFlags;
    HRESULT navigated = web->Navigate(url, &flags, &empty, &empty, &empty);
    SysFreeString(url);
    web->Release();
    return SUCCEEDED(navigated);
}

void StopBrowser(HWND dialog) {
    IOleObject* browser = Browser(dialog);
    if (!browser) return;
    DWORD cookie = static_cast<DWORD>(GetWindowLongPtrA(GetDlgItem(dialog, IDC_COOKIE), GWLP_USERDATA));
    if (cookie) {
        IConnectionPoint* events = BrowserEvents(browser);
        if (events) {
            events->Unadvise(cookie);
            events->Release();
        }
        SetControlData(dialog, IDC_COOKIE, 0);
    }
    browser->Close(OLECLOSE_NOSAVE);
    browser->SetClientSite(nullptr);
    browser->Release();
    SetControlData(dialog, IDC_BROWSER, 0);
}

// Script error boxes and script message boxes never wait for a user.
BOOL CALLBACK CloseScriptDialog(HWND window, LPARAM loadingWindow) {
    char className[64] = "", title[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "Internet Explorer_TridentDlgFrame") == 0) {
        SendMessageA(window, WM_CLOSE, 0, 0);
    } else if (lstrcmpA(className, "#32770") == 0) {
        GetWindowTextA(window, title, sizeof title);
        HWND parent = reinterpret_cast<HWND>(loadingWindow);
        if (lstrcmpA(title, "Microsoft Internet Explorer") == 0 &&
            (GetParent(window) == parent || GetWindow(window, GW_OWNER) == parent))
            SendMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

void OnDialogTimer(HWND dialog) {
    KillTimer(dialog, kDialogTimer);
    IWebBrowser2* web = Query<IWebBrowser2>(Browser(dialog));
    if (web) {
        VARIANT_BOOL busy = VARIANT_FALSE;
        web->get_Busy(&busy);
        web->Release();
    }
    EnumWindows(CloseScriptDialog, reinterpret_cast<LPARAM>(dialog));
    SetTimer(dialog, kDialogTimer, kDialogTimerPeriod, nullptr);
}

HWND TopLevel(HWND window) {
    for (HWND parent; window && (parent = GetParent(window)) != nullptr;) window = parent;
    return window;
}

// Draws the body of the event's document into a bitmap of the loading
// window's client size and saves it.
bool RenderDocument(IDispatch* source, HWND browserWindow) {
    RECT client = {};
    GetClientRect(TopLevel(browserWindow), &client);
    if (client.right <= 0 || client.bottom <= 0) return false;

    IWebBrowser2* web = Query<IWebBrowser2>(source);
    if (!web) return false;
    IDispatch* documentDispatch = nullptr;
    web->get_Document(&documentDispatch);
    web->Release();
    IHTMLDocument2* document = Query<IHTMLDocument2>(documentDispatch);
    if (documentDispatch) documentDispatch->Release();
    if (!document) return false;
    IHTMLElement* body = nullptr;
    document->get_body(&body);
    document->Release();
    IHTMLElementRender* render = Query<IHTMLElementRender>(body);
    if (body) body->Release();
    if (!render) return false;

    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    bool drawn = false;
    if (bitmap) {
        ScopedMemoryDC memory(screen);
        ScopedSelectObject select(memory, bitmap);
        drawn = SUCCEEDED(render->DrawToDC(memory));
    }
    render->Release();
    if (!drawn) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    return SaveBitmapAsBmp(bitmap, request.file.c_str());
}

void Renderer::OnDocumentComplete(IDispatch* source) {
    HWND browserWindow = window;
    IOleWindow* oleWindow = Query<IOleWindow>(Browser(window));
    if (oleWindow) {
        HWND inPlace = nullptr;
        if (SUCCEEDED(oleWindow->GetWindow(&inPlace)) && inPlace) browserWindow = inPlace;
        oleWindow->Release();
    }
    RenderDocument(source, browserWindow);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK LoadingFunc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        renderer.window = dialog;
        oleStarted = SUCCEEDED(OleInitialize(nullptr));
        // Placed and sized, never shown.
        SetWindowPos(dialog, nullptr, request.x, request.y, request.width, request.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        site = new BrowserSite(dialog, &renderer);
        if (!StartBrowser(dialog)) {
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        }
        SetTimer(dialog, kDialogTimer, kDialogTimerPeriod, nullptr);
        SetTimer(dialog, kTimeLimitTimer, kTimeLimit, nullptr);
        return TRUE;
    case WM_TIMER:
        if (wParam == kDialogTimer) OnDialogTimer(dialog);
        if (wParam == kTimeLimitTimer) PostMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_CONTEXTMENU:
    case WM_APP:
        return TRUE;
    case WM_CLOSE:
        KillTimer(dialog, kDialogTimer);
        KillTimer(dialog, kTimeLimitTimer);
        StopBrowser(dialog);
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

// Help mode: the usage text beside the program, shown in the text editor.
void ShowUsage(HINSTANCE instance) {
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (!length || length >= sizeof path) return;
    std::string file = path;
    const size_t dot = file.rfind('.'), slash = file.rfind('\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    file += ".txt";

    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(IDCMD), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return;
    const DWORD size = SizeofResource(instance, found);
    bool written = false;
    {
        ScopedHandle out(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        written = out.valid() && WriteFile(out.get(), bytes, size, &done, nullptr) && done == size;
    }
    if (written) ShellExecuteA(nullptr, "open", SystemProgramPath("notepad.exe").c_str(), file.c_str(), nullptr, SW_RESTORE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!ParsePageRequest(SkipProgramName(GetCommandLineA()), request)) {
        ShowUsage(instance);
        return 0;
    }
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LOADING), nullptr, LoadingFunc, 0);
    if (dialog) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    delete site;
    if (oleStarted) OleUninitialize();
    return 0;
}
