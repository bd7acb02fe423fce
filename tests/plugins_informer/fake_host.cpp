#include "fake_host.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "engine/calendar_drawing.h"
#include "network/http_client.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

struct FakePicture {
    HBITMAP bitmap;
    SIZE size;
};

const char* const kClass = "InformerFakeHost";

HBITMAP NewSection(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The host's ImgToBmp: the picture into a new bitmap of that size, inside a
// frame when one is asked for and fits.
HBITMAP PictureToBitmap(const FakePicture& picture, SIZE size, int frame, COLORREF frameColour, int border) {
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    HBITMAP bitmap = NewSection(size.cx, size.cy);
    if (!bitmap) return nullptr;
    if (border >= size.cx / 2) border = 0;
    if (!border) frame = 0;
    if (!frame) border = 0;
    ScopedMemoryDC target(nullptr), source(nullptr);
    ScopedSelectObject selectTarget(target, bitmap);
    ScopedSelectObject selectSource(source, picture.bitmap);
    RECT all = {0, 0, size.cx, size.cy};
    ScopedGdiObj<HBRUSH> fill(CreateSolidBrush(frame ? frameColour : RGB(255, 255, 255)));
    FillRect(target, &all, fill.get());
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, border, border, size.cx - 2 * border, size.cy - 2 * border, source, 0, 0, picture.size.cx,
               picture.size.cy, SRCCOPY);
    return bitmap;
}

}  // namespace

FakeHost::FakeHost() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA type = {};
    type.lpfnWndProc = Procedure;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = kClass;
    type.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&type);
    window_ = CreateWindowExA(0, kClass, "Dravonel", WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, 0, 0, 640, 480,
                              nullptr, nullptr, type.hInstance, this);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

FakeHost::~FakeHost() {
    if (window_) DestroyWindow(window_);
}

int FakeHost::Count(int service) const { return static_cast<int>(std::count(services.begin(), services.end(), service)); }

LRESULT CALLBACK FakeHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeHost* host = reinterpret_cast<FakeHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == KV_SERVICE_MESSAGE && host) return host->Service(static_cast<int>(wParam), lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR FakeHost::Service(int code, LPARAM param) {
    services.push_back(code);
    switch (code) {
    case KvSrvAddToolTip:
        if (param) toolTips.push_back(reinterpret_cast<s_addtooltip*>(param)->nIDTool);
        return 0;
    case KvSrvPlace: {
        s_placefunc* place = reinterpret_cast<s_placefunc*>(param);
        if (!place) return 0;
        placeBoxes.push_back(SIZE{place->Width, place->Height});
        SetDlgItemInt(place->hPlaceDialogType, place->IDpx, static_cast<UINT>(placeX), TRUE);
        SetDlgItemInt(place->hPlaceDialogType, place->IDpy, static_cast<UINT>(placeY), TRUE);
        return 0;
    }
    case KvSrvLoadPicture: {
        s_loadpicture* load = reinterpret_cast<s_loadpicture*>(param);
        if (!load || !load->name) return 0;
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, load->name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!bitmap) return 0;
        BITMAP info;
        GetObjectA(bitmap, sizeof info, &info);
        FakePicture* picture = new FakePicture{bitmap, SIZE{info.bmWidth, info.bmHeight}};
        if (load->Sw) *load->Sw = picture->size;
        ++livePictures;
        return reinterpret_cast<INT_PTR>(picture);
    }
    case KvSrvImageToBitmap: {
        s_imgtobmp* request = reinterpret_cast<s_imgtobmp*>(param);
        if (!request || !request->LoadedImage) return 0;
        const FakePicture& picture = *static_cast<FakePicture*>(request->LoadedImage);
        SIZE size = request->Sn ? *request->Sn : picture.size;
        bitmapSizes.push_back(size);
        return reinterpret_cast<INT_PTR>(PictureToBitmap(picture, size, request->bBorder, request->iColBorder,
                                                         request->iThickBoder));
    }
    case KvSrvReleasePicture: {
        FakePicture* picture = reinterpret_cast<FakePicture*>(param);
        if (!picture) return 0;
        DeleteObject(picture->bitmap);
        delete picture;
        --livePictures;
        return 0;
    }
    case KvSrvUpdateWallpaper:
        if (onUpdateWallpaper) onUpdateWallpaper();
        return 0;
    case KvSrvPreviewBitmap: {
        s_imgtosmallbmp* request = reinterpret_cast<s_imgtosmallbmp*>(param);
        if (!request || !request->hBit) return 0;
        if (*request->hBit) DeleteObject(*request->hBit);
        *request->hBit = nullptr;
        FakePicture* picture = static_cast<FakePicture*>(request->LoadedImage);
        if (picture) {
            RECT client;
            GetClientRect(request->HPic, &client);
            double scale = std::min(static_cast<double>(client.bottom) / picture->size.cy,
                                    static_cast<double>(client.right) / picture->size.cx);
            scale = std::min(scale, 1.0);
            SIZE size = {static_cast<LONG>(picture->size.cx * scale), static_cast<LONG>(picture->size.cy * scale)};
            *request->hBit = PictureToBitmap(*picture, size, 0, 1, 0);
            Service(KvSrvReleasePicture, reinterpret_cast<LPARAM>(picture));
            services.pop_back();
        }
        return 0;
    }
    case KvSrvGetInetFile: {
        s_getinetfile* r = reinterpret_cast<s_getinetfile*>(param);
        if (!r) return 0;
        // The host's own service, without a proxy.
        return KvGetInetFileForPlugin(*r, nullptr);
    }
    case KvSrvDrawBitmap: {
        s_drawbit* d = reinterpret_cast<s_drawbit*>(param);
        if (!d) return 0;
        DrawBitmapWithTransparent(d->hDC, d->hBit, d->xbit, d->ybit, d->wbit, d->hbit, d->trans, d->alpha, d->otnpos,
                                  d->RevCol, d->Tolerance, d->Angle, d->TransCol);
        return 0;
    }
    case KvSrvCheckMenuItem: {
        s_checkmainmenuitem* check = reinterpret_cast<s_checkmainmenuitem*>(param);
        if (check) menuChecks.emplace_back(check->ID, check->Check);
        return 0;
    }
    case KvSrvChooseFolder:
    case KvSrvChooseFile:
        return param && !chosenPath.empty() ? reinterpret_cast<INT_PTR>(_strdup(chosenPath.c_str())) : 0;
    case KvSrvSaveFailed:
        if (param) saveFailures.push_back(reinterpret_cast<const char*>(param));
        return param ? 1 : 0;
    case KvSrvNextWallpaperPath:
        return nextWallpaper.empty() ? 0 : reinterpret_cast<INT_PTR>(_strdup(nextWallpaper.c_str()));
    case KvSrvDrawCalendar: {
        s_drawcalendar* request = reinterpret_cast<s_drawcalendar*>(param);
        if (!request || !request->mm) return 0;
        calendars.push_back(std::to_string(request->mm->x) + " " + std::to_string(request->mm->y) + " " +
                            std::to_string(request->mm->size) + " " + (request->smonth ? request->smonth : "") +
                            " " + (request->syear ? request->syear : ""));
        // This month, whatever the texts say: the real host works them out.
        CalendarContext context;
        context.style = DefaultCalendarStyle();
        BITMAP info = {};
        GetObjectA(GetCurrentObject(request->hDC, OBJ_BITMAP), sizeof info, &info);
        context.area = RECT{0, 0, info.bmWidth, info.bmHeight};
        context.desktop = context.area;
        GetLocalTime(&context.today);
        static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
        static const char* const days[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
        for (int i = 0; i < 12; ++i) context.monthNames[i] = months[i];
        for (int i = 0; i < 7; ++i) context.weekdayNames[i] = days[i];
        request->mm->imonth = context.today.wMonth;
        request->mm->iyear = context.today.wYear;
        PrintCalendar(request->hDC, request->mm, context);
        return 0;
    }
    default:
        return 0;
    }
}

InformerPlugin::InformerPlugin(FakeHost& host, const std::string& languageFile, const std::string& settingsFile)
    : host_(host) {
    module_ = LoadLibraryA((DistFolder() + "\\Plugins\\KvInformer.dll").c_str());
    entry_ = reinterpret_cast<DravonexFunction>(reinterpret_cast<void*>(GetProcAddress(module_, KV_PLUGIN_ENTRY)));
    if (!entry_) return;
    HWND main = host.window();
    page = reinterpret_cast<HWND>(entry_(main, KvCREATE, 0, reinterpret_cast<INT_PTR>(languageFile.c_str())));
    if (page) {
        char* text = reinterpret_cast<char*>(entry_(main, KvGETDESCRIPTION, 0,
                                                    reinterpret_cast<INT_PTR>(languageFile.c_str())));
        name = text ? text : "";
        free(text);
    }
    entry_(main, KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settingsFile.c_str()));
    int count = static_cast<int>(entry_(main, KvGETCOUNTHOTKEY, 0, 0));
    for (int i = 0; i < count; ++i) {
        s_hotkey* row = reinterpret_cast<s_hotkey*>(entry_(main, KvGETHOTKEY, i, kHotKeyBase + i));
        if (!row) continue;
        hotKeys.push_back(std::string(row->DescroptionHotKey) + "|" + row->KeyWin + "|" + row->KeyHotKey);
        free(row->DescroptionHotKey);
        free(row->KeyWin);
        free(row->KeyHotKey);
        free(row);
    }
    count = static_cast<int>(entry_(main, KvGETCOUNTMENUITEM, 0, 0));
    for (int i = 0; i < count; ++i) {
        s_menuitem* item = reinterpret_cast<s_menuitem*>(entry_(main, KvGETMENUITEM, i, kMenuBase + i));
        if (!item) continue;
        menuItems.push_back(std::string(item->NameMenuItem) + "|" + item->KeyMenuItem);
        free(item->NameMenuItem);
        free(item->KeyMenuItem);
        free(item);
    }
}

InformerPlugin::~InformerPlugin() {
    if (entry_) entry_(host_.window(), KvAPPLICATIONCLOSE, 0, 0);
    if (page && IsWindow(page)) DestroyWindow(page);
    if (module_) FreeLibrary(module_);
}

INT_PTR InformerPlugin::Call(int command, INT_PTR argument, INT_PTR data, HWND window) {
    return entry_ ? entry_(window ? window : host_.window(), command, argument, data) : 0;
}

std::string InformerPlugin::CommandLine(const std::string& line) {
    char* heap = _strdup(line.c_str());
    char* answer = reinterpret_cast<char*>(Call(KvCMDRUN, reinterpret_cast<INT_PTR>(heap), 0));
    if (!answer) {
        free(heap);
        return "<none>";
    }
    std::string rest = answer;
    free(answer);
    return rest;
}

BmpImage InformerPlugin::Compose(int width, int height, COLORREF background, const std::function<void(HDC)>& paint) {
    BmpImage image;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ScopedGdiObj<HBITMAP> wallpaper(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!wallpaper) return image;
    ScopedMemoryDC dc(nullptr);
    {
        ScopedSelectObject selected(dc, wallpaper.get());
        RECT all = {0, 0, width, height};
        ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(background));
        FillRect(dc, &all, brush.get());
        if (paint) paint(dc);
        Call(KvCREATEWALLPAPER, 0, reinterpret_cast<INT_PTR>(static_cast<HDC>(dc)));
        GdiFlush();
    }
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 32;
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
    return image;
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
