// Puts the two plug-ins on show for screenshots, with the stand-in host:
//   clockdates_demo clocks SECONDS PICTURE.bmp   both clocks, in windows and
//                                               painted on a desktop showing
//                                               the picture
//   clockdates_demo dates OUT.bmp PICTURE.bmp    a wallpaper composed from the
//                                               picture, the host's calendar
//                                               and the date texts
//   clockdates_demo pages SECONDS LANGUAGE PAGE  a settings page (clock or
//                                               dates) in eng or rus
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "engine/calendar_drawing.h"
#include "fake_host.h"
#include "kvinifunction.h"
#include "program_folder.h"
#include "scopedwin.h"
#include "window_wait.h"

namespace {

HBITMAP picture = nullptr;

LRESULT CALLBACK DesktopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        GetClientRect(hwnd, &client);
        ScopedMemoryDC from(static_cast<HDC>(dc));
        BITMAP info = {};
        GetObjectA(picture, sizeof info, &info);
        ScopedSelectObject selected(from, picture);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, client.right, client.bottom, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Set(const std::string& file, const char* section, const char* key, const std::string& value) {
    WriteIni(file, section, key, value.c_str());
}

int ShowClocks(int seconds) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    WNDCLASSA desktopClass = {};
    desktopClass.lpfnWndProc = DesktopProc;
    desktopClass.hInstance = GetModuleHandleA(nullptr);
    desktopClass.lpszClassName = "Desktop";
    RegisterClassA(&desktopClass);
    HWND desktop = CreateWindowExA(0, "Desktop", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                   desktopClass.hInstance, nullptr);
    UpdateWindow(desktop);

    const std::string settings = UserFile(".set");
    const char* format = "%t%\\%w, %d%\\CPU %c %b   RAM %p %a";
    Set(settings, "set", "KvClockShow", "0");
    Set(settings, "set", "KvRClock", "170");
    Set(settings, "set", "KvClockX", std::to_string(width - 230));
    Set(settings, "set", "KvClockY", "60");
    Set(settings, "set", "KvClAlpha", "92");
    Set(settings, "set", "KvClock1Show", "0");
    Set(settings, "set", "KvRightDigit", "0");  // the window and the print grow to the left
    Set(settings, "set", "KvClockX1", std::to_string(width - 40));
    Set(settings, "set", "KvClockY1", "270");
    Set(settings, "set", "KvClAlpha1", "85");
    Set(settings, "set", "KvClFormat", format);
    Set(settings, "set", "KvClFont", "Arial");
    Set(settings, "set", "KvClHeight", "22");
    Set(settings, "set", "KvClStyle", "2");
    Set(settings, "set", "KvSmooth", "0");
    Set(settings, "digitalclock", "KvDBottom", std::to_string(RGB(16, 24, 48)));
    // The same clocks painted on the desktop itself, on the left.
    Set(settings, "set", "KvPrintAnal", "0");
    Set(settings, "set", "KvPosCl", "60 60");
    Set(settings, "set", "KvPrintDigt", "0");
    Set(settings, "set", "KvPosCl1", "440 270");

    FakeHost host;
    host.processorLoad = 37;
    host.wallpaper = "C:\\Pictures\\sea.bmp";
    PluginModule clock("KvClock.dll");
    if (!clock.loaded()) return 2;
    const std::string language = EnglishLanguageFile();
    clock.Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(language.c_str()));
    clock.Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));
    const DWORD start = GetTickCount();
    WaitUntil([&] { return GetTickCount() - start > static_cast<DWORD>(seconds) * 1000; }, seconds * 1000 + 1000);
    clock.Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0);
    clock.Unload();
    DestroyWindow(desktop);
    return 0;
}

std::string TwoDigits(int value) {
    char text[8];
    snprintf(text, sizeof text, "%02d", value);
    return text;
}

void WriteDateFile(const std::string& name, const std::string& text) {
    WriteTextFile(ProgramFile("Dates\\" + name + ".dte"), text);
}

int ComposeDates(const std::string& out) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string month = "[" + TwoDigits(now.wMonth) + "]\r\n";
    const std::string today = TwoDigits(now.wDay) + "=";
    const int other1 = now.wDay > 20 ? now.wDay - 9 : now.wDay + 5, other2 = now.wDay > 20 ? now.wDay - 3 : now.wDay + 9;

    // Russian texts as the files keep them: Windows-1251.
    WriteDateFile("Birthdays", month + today + "Anna is 30 today|Call Boris in the evening\r\n" + TwoDigits(other1) +
                                   "=Grandmother\r\n");
    WriteDateFile("Holidays", month + today + "\xC4\xE5\xED\xFC \xEA\xE0\xEB\xE5\xED\xE4\xE0\xF0\xFF\r\n" +
                                  TwoDigits(other2) + "=Midsummer\r\n");
    WriteDateFile("Notes", "[SCRIPT]\r\ns=Wallpaper: >o\r\n");
    WriteDateFile("Quotes", month + today +
                                "The best way to predict the future is to invent it, and the next best is to "
                                "write it down on the wallpaper\r\n");
    const std::string dst = UserFile(".dst");
    // One column: whichever file the folder lists first starts it, each
    // next one goes below the one before. Near the right edge long lines wrap.
    for (const char* file : {"Birthdays", "Holidays", "Notes", "Quotes"}) {
        Set(dst, file, "KvPrintP", "0");
        Set(dst, file, "KvPosP", std::to_string(width - 400) + " 30");
        Set(dst, file, "KvTypShift", "2");
        Set(dst, file, "KvPix", "10");
        Set(dst, file, "KvAutoCar", "0");
        Set(dst, file, "KvFontBoxP", "Arial");
    }
    Set(dst, "Birthdays", "KvStyleP", "2");
    Set(dst, "Birthdays", "KvHeight", "26");
    Set(dst, "Birthdays", "KvKaimaP", "0");
    Set(dst, "Birthdays", "KvColPBoth", std::to_string(RGB(255, 220, 60)));
    Set(dst, "Birthdays", "KvColPWCh", "0");
    Set(dst, "Birthdays", "KvColPW", std::to_string(RGB(255, 90, 90)));
    Set(dst, "Holidays", "KvHeight", "22");
    Set(dst, "Holidays", "KvColPBoth", "16777215");
    Set(dst, "Holidays", "KvKaimaP", "0");
    Set(dst, "Holidays", "KvColKaimPWCh", "0");
    Set(dst, "Holidays", "KvColKaimPW", std::to_string(RGB(40, 230, 255)));
    Set(dst, "Notes", "KvTypDate", "1");
    Set(dst, "Notes", "KvFontBoxP", "Times New Roman");
    Set(dst, "Notes", "KvStyleP", "1");
    Set(dst, "Notes", "KvHeight", "24");
    Set(dst, "Notes", "KvRevPCol", "1");
    Set(dst, "Quotes", "KvHeight", "18");
    Set(dst, "Quotes", "KvColPBoth", std::to_string(RGB(200, 255, 200)));
    Set(dst, "Quotes", "KvAlphaPText", "3");

    FakeHost host;
    host.wallpaper = "C:\\Pictures\\sea.bmp";
    PluginModule dates("KvDates.dll");
    if (!dates.loaded()) return 2;
    const std::string language = EnglishLanguageFile();
    const std::string settings = UserFile(".set");
    dates.Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(language.c_str()));
    dates.Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));

    // The wallpaper being composed: the picture, the calendar, then the plug-ins.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    ScopedGetDC screen(nullptr);
    ScopedMemoryDC dc(screen);
    void* bits = nullptr;
    ScopedGdiObj<HBITMAP> canvas(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedSelectObject selected(dc, canvas.get());
    {
        ScopedMemoryDC from(static_cast<HDC>(dc));
        BITMAP source = {};
        GetObjectA(picture, sizeof source, &source);
        ScopedSelectObject sourceSelected(from, picture);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, width, height, from, 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    }
    static const PluginModule* plugin = &dates;
    static HWND panel = host.panel();
    SetDayColourFunction([](int command, const char* m, const char* d) {
        return static_cast<COLORREF>(
            plugin->Call(panel, command, reinterpret_cast<INT_PTR>(m), reinterpret_cast<INT_PTR>(d)));
    });
    CalendarContext context;
    context.style = DefaultCalendarStyle();
    context.style.drawPlate = true;
    context.style.roundPlate = true;
    context.style.plateColour = RGB(20, 30, 60);
    context.style.plateAlpha = 4;
    context.style.weekendOwn = true;
    context.style.outline = true;
    context.style.outlineColour = RGB(10, 20, 40);
    context.style.font.lfWeight = FW_BOLD;
    context.area = {0, 0, width, height};
    context.desktop = context.area;
    context.today = now;
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    const char* days[] = {"Mo", "Tu", "We", "Th", "Fr", "Sa", "Su"};
    for (int i = 0; i < 12; ++i) context.monthNames[i] = months[i];
    for (int i = 0; i < 7; ++i) context.weekdayNames[i] = days[i];
    s_month current = {40, height / 2 - 20, 3, now.wMonth, now.wYear};
    PrintCalendar(dc, &current, context);
    dates.Call(host.panel(), KvCREATEWALLPAPER, 0, reinterpret_cast<INT_PTR>(static_cast<HDC>(dc)));
    SetDayColourFunction(nullptr);
    GdiFlush();

    BmpImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    const DWORD* words = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(RGB((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF));
    dates.Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0);
    return WriteBmpFile(out, image) ? 0 : 3;
}

int ShowPage(int seconds, const std::string& language, const std::string& which) {
    WriteDateFile("Birthdays", "[" + TwoDigits(5) + "]\r\n01=May Day\r\n09=Victory Day|Parade\r\n");
    WriteDateFile("Holidays", "");
    const std::string dst = UserFile(".dst");
    Set(dst, "Birthdays", "KvPrintP", "0");
    Set(dst, "Birthdays", "KvColPWCh", "0");
    const std::string settings = UserFile(".set");
    const std::string languageFile = DistFolder() + "\\Language\\" + language + ".ini";

    FakeHost host;
    SetWindowPos(host.panel(), nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
    ShowWindow(host.panel(), SW_SHOW);
    PluginModule clock("KvClock.dll"), dates("KvDates.dll");
    if (!clock.loaded() || !dates.loaded()) return 2;
    HWND clockPage = reinterpret_cast<HWND>(
        clock.Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(languageFile.c_str())));
    HWND datesPage = reinterpret_cast<HWND>(
        dates.Call(host.panel(), KvCREATE, 0, reinterpret_cast<INT_PTR>(languageFile.c_str())));
    clock.Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));
    dates.Call(host.panel(), KvSETTINGS, 0, reinterpret_cast<INT_PTR>(settings.c_str()));
    SetWindowPos(clockPage, nullptr, 4, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(datesPage, nullptr, 4, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // May, with the 9th chosen: two lines in the box.
    SendDlgItemMessageA(datesPage, 11121, CB_SETCURSEL, 4, 0);
    SendMessageA(datesPage, WM_COMMAND, MAKEWPARAM(11121, CBN_SELCHANGE), 0);
    SendMessageA(datesPage, WM_COMMAND, MAKEWPARAM(11160 + 9, BN_CLICKED), 0);
    ShowWindow(which == "clock" ? clockPage : datesPage, SW_SHOW);
    const DWORD start = GetTickCount();
    WaitUntil([&] { return GetTickCount() - start > static_cast<DWORD>(seconds) * 1000; }, seconds * 1000 + 1000);
    clock.Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0);
    dates.Call(host.panel(), KvAPPLICATIONCLOSE, 0, 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: clockdates_demo clocks SECONDS PICTURE.bmp | dates OUT.bmp PICTURE.bmp | pages SECONDS LANGUAGE clock|dates\n");
        return 1;
    }
    ResetProgramFolders();
    if (strcmp(argv[1], "pages") == 0 && argc > 4) return ShowPage(atoi(argv[2]), argv[3], argv[4]);
    picture = static_cast<HBITMAP>(LoadImageA(nullptr, argv[3], IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture) return 4;
    if (strcmp(argv[1], "clocks") == 0) return ShowClocks(atoi(argv[2]));
    if (strcmp(argv[1], "dates") == 0) return ComposeDates(argv[2]);
    return 1;
}
