#include "browsersite.h"

#include <exdispid.h>
#include <mshtmdid.h>
#include <mshtml.h>

#include <cwchar>

const IID kDIID_DWebBrowserEvents2 = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};

const long kPageDownloadControl =
    DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_NO_RUNACTIVEXCTLS | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_JAVA;

STDMETHODIMP PagePolicy::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid != IID_IUnknown && riid != IID_IInternetSecurityManager) return E_NOINTERFACE;
    *object = static_cast<IInternetSecurityManager*>(this);
    return S_OK;
}

STDMETHODIMP PagePolicy::GetSecuritySite(IInternetSecurityMgrSite** site) {
    if (site) *site = nullptr;
    return INET_E_DEFAULT_ACTION;
}

STDMETHODIMP PagePolicy::ProcessUrlAction(LPCWSTR, DWORD action, BYTE* policy, DWORD policySize, BYTE*, DWORD,
                                          DWORD, DWORD) {
    const bool activeX = (action >= URLACTION_ACTIVEX_MIN && action <= URLACTION_ACTIVEX_MAX) ||
                         action == URLACTION_DOWNLOAD_SIGNED_ACTIVEX || action == URLACTION_DOWNLOAD_UNSIGNED_ACTIVEX;
    if (!activeX) return INET_E_DEFAULT_ACTION;
    if (policy && policySize >= sizeof(DWORD)) {
        const DWORD disallow = URLPOLICY_DISALLOW;
        memcpy(policy, &disallow, sizeof disallow);
    }
    return S_FALSE;
}

STDMETHODIMP BrowserSite::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDocHostUIHandler)
        *object = static_cast<IDocHostUIHandler*>(this);
    else if (riid == IID_IServiceProvider)
        *object = static_cast<IServiceProvider*>(this);
    else if (riid == IID_IDispatch || riid == kDIID_DWebBrowserEvents2)
        *object = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (frame) {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
    }
    if (document) *document = nullptr;
    if (position) GetClientRect(window_, position);
    if (clip) GetClientRect(window_, clip);
    if (frameInfo) {
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = window_;
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP BrowserSite::ShowContextMenu(DWORD, POINT* point, IUnknown*, IDispatch*) {
    // The browser's own menu never appears; the loading window gets (and
    // ignores) the request instead.
    POINT at = point ? *point : POINT{0, 0};
    PostMessageA(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), MAKELPARAM(at.x, at.y));
    return S_OK;
}

STDMETHODIMP BrowserSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP BrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
    if (target) *target = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetExternal(IDispatch** external) {
    if (external) *external = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::TranslateUrl(DWORD, LPWSTR in, LPWSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    // "app:n" is a command for the host window, not a place to go.
    if (in && wcsncmp(in, L"app:", 4) == 0) {
        static const wchar_t blank[] = L"about:blank";
        *out = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof blank));
        if (*out) memcpy(*out, blank, sizeof blank);
        PostMessageA(window_, WM_APP, static_cast<WPARAM>(_wtoi(in + 4)), 0);
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP BrowserSite::FilterDataObject(IDataObject*, IDataObject** result) {
    if (result) *result = nullptr;
    return S_FALSE;
}

STDMETHODIMP BrowserSite::QueryService(REFGUID service, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (service == SID_SInternetSecurityManager) return policy_.QueryInterface(riid, object);
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::GetTypeInfoCount(UINT* count) {
    if (count) *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    if (id == DISPID_AMBIENT_DLCONTROL) {
        if (!result) return E_POINTER;
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = kPageDownloadControl;
        return S_OK;
    }
    // Both events carry the browser or frame that raised them first.
    if (id != DISPID_NAVIGATECOMPLETE2 && id != DISPID_DOCUMENTCOMPLETE) return S_OK;
    if (!parameters || parameters->cArgs < 2) return S_OK;
    const VARIANT& first = parameters->rgvarg[parameters->cArgs - 1];
    IDispatch* source = first.vt == VT_DISPATCH ? first.pdispVal : nullptr;
    SuppressScriptErrors(source);
    if (id == DISPID_DOCUMENTCOMPLETE && !documentCompleted_) {
        documentCompleted_ = true;
        if (events_) events_->OnDocumentComplete(source);
    }
    return S_OK;
}

void SuppressScriptErrors(IDispatch* source) {
    if (!source) return;
    IWebBrowser2* browser = nullptr;
    if (FAILED(source->QueryInterface(__uuidof(IWebBrowser2), reinterpret_cast<void**>(&browser)))) return;
    IDispatch* documentDispatch = nullptr;
    if (SUCCEEDED(browser->get_Document(&documentDispatch)) && documentDispatch) {
        IHTMLDocument2* document = nullptr;
        if (SUCCEEDED(documentDispatch->QueryInterface(__uuidof(IHTMLDocument2), reinterpret_cast<void**>(&document)))) {
            IHTMLWindow2* window = nullptr;
            if (SUCCEEDED(document->get_parentWindow(&window)) && window) {
                BSTR code = SysAllocString(L"function doNothing() {return true}; window.onerror = doNothing;");
                BSTR language = SysAllocString(L"JavaScript");
                VARIANT result;
                VariantInit(&result);
                window->execScript(code, language, &result);
                VariantClear(&result);
                SysFreeString(code);
                SysFreeString(language);
                window->Release();
            }
            document->Release();
        }
        documentDispatch->Release();
    }
    browser->Release();
}
