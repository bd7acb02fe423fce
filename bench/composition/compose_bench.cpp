// compose_bench: the wallpaper composition of Dravonel, in this process with
// the program's own pages, for timing and for looking at the result.
//
//   compose_bench bench <picture> [<ImageMagick ms>]
//       every placement from the picture on the screen as it is, with and
//       without the three calendars: decode, the loader's drawing, our own
//       work (placement, scaling, effects, calendars, save, apply), peak
//       private memory; then the steps alone.
//   compose_bench huge <picture>
//       every placement once from a very large picture with smooth scaling
//       on: time and peak private memory of each change.
//   compose_bench show <picture> <marker folder> <shot>...
//       composes and applies one wallpaper per shot ("p<0-8>" a placement,
//       "calendars", "calendars-round"), writes <shot>.ready into the marker
//       folder and waits for <shot>.done before the next one.
//   compose_bench pages <marker folder> <index:name>...
//       starts Dravonel.exe beside it, shows its settings window on each
//       page (index in the page tree), writes <name>.ready and waits for
//       <name>.done, then ends Dravonel.
//
// It must sit in a program folder (Tool\, Language\, Users\ beside it).
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/startup.h"
#include "base/globals.h"
#include "engine/calendar_drawing.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/image_binding.h"
#include "engine/wallpaper_options.h"
#include "pages/page_calendar.h"
#include "pages/page_wall.h"
#include "createpathfile.h"
#include "ids_calendar.h"
#include "ids_wall.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Private bytes (Wine reports the private commit as PagefileUsage).
double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    const SIZE_T bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return bytes / (1024.0 * 1024.0);
}

// Highest private bytes seen while work runs, sampled every millisecond.
double PeakDuring(const std::function<void()>& work) {
    std::atomic<bool> done(false);
    std::atomic<double> peak(PrivateMegabytes());
    std::thread sampler([&] {
        while (!done) {
            const double now = PrivateMegabytes();
            if (now > peak) peak = now;
            Sleep(1);
        }
    });
    work();
    done = true;
    sampler.join();
    return std::max(peak.load(), PrivateMegabytes());
}

// The loaders' drawing and copying, timed apart from ours.
StretchImgFunction realStretch[KV_SLOTS];
CopyImgPixelsFunction realCopy[KV_SLOTS];
double loaderDrawMs = 0;
template <int slot>
int WINAPI TimedStretch(void* picture, HDC dc, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                        DWORD rop) {
    const double start = Now();
    const int result = realStretch[slot](picture, dc, x, y, cx, cy, sx, sy, scx, scy, rop);
    loaderDrawMs += Now() - start;
    return result;
}
template <int slot>
int WINAPI TimedCopy(void* picture, int denominator, int x, int y, int width, int height, void* bits, int stride) {
    const double start = Now();
    const int result = realCopy[slot](picture, denominator, x, y, width, height, bits, stride);
    loaderDrawMs += Now() - start;
    return result;
}
void TimeLoaderDrawing() {
    StretchImgFunction timed[KV_SLOTS] = {TimedStretch<0>, TimedStretch<1>, TimedStretch<2>};
    CopyImgPixelsFunction timedCopy[KV_SLOTS] = {TimedCopy<0>, TimedCopy<1>, TimedCopy<2>};
    for (int slot = 0; slot < KV_SLOTS; ++slot) {
        realStretch[slot] = pStretchImg[slot];
        if (pStretchImg[slot]) pStretchImg[slot] = timed[slot];
        realCopy[slot] = pCopyImgPixels[slot];
        if (pCopyImgPixels[slot]) pCopyImgPixels[slot] = timedCopy[slot];
    }
}

void Check(HWND page, int control, bool on) { CheckDlgButton(page, control, on ? BST_CHECKED : BST_UNCHECKED); }

// The program's pages in this process, with the settings written here.
bool StartPages(const char* language) {
    hInS = GetModuleHandleA(nullptr);
    CoInitialize(nullptr);
    if (!CreateProgramWindows()) return false;
    HeapString path(CreatePathFile("Language", language, nullptr));
    lstrcpynA(ini, path.get(), sizeof ini);
    ApplyWallPageTexts();
    ApplyCalendarPageTexts();
    PrepareWallPage();
    PrepareCalendarPage();
    HeapString users(CreatePathFile("Users", nullptr, nullptr));
    CreateDirectoryA(users.get(), nullptr);
    LoadWallSettings();
    SettingCalen();
    hMyDllFuncInit();
    GetLocalTime(&loctime);
    return pSavePicture != nullptr;
}

// Three calendars in a column at the right, stacked, with a rounded plate,
// weekend colours and a shape for today; the font of a desktop calendar.
void UseCalendarLook(bool round, int shape) {
    const struct {
        const char* key;
        const char* value;
    } settings[] = {
        {"KvDrMon", "0"},         {"KvDrPrevMon", "0"},     {"KvDrNextMon", "0"},    {"KvIsVDel", "0"},
        {"KvVDel", "12"},         {"KvCheckFon", "0"},      {"KvColFon", "3153952"}, {"KvAlpha", "4"},
        {"KvColBoth", "15790320"}, {"KvKaima", "0"},        {"KvColKaimBoth", "1"},  {"KvColYCh", "0"},
        {"KvColY", "3394815"},    {"KvColMCh", "0"},        {"KvColM", "3381759"},   {"KvColDnCh", "0"},
        {"KvColDn", "16763955"},  {"KvColWCh", "0"},        {"KvColW", "6316287"},   {"KvColDate", "16777215"},
        {"KvColObject", "2105568"}, {"KvOjectKol", "5"},    {"KvFontBox", "Tahoma"}, {"KvStyle", "2"},
        {"KvCharset", "0"},       {"KvPlaceYM", "0"},       {"KvPlain", "2"},        {"KvPlain1", "0"},
        {"KvCfUp", "0"},
    };
    for (const auto& setting : settings) SetValueKeySet(setting.key, setting.value);
    SetValueKeySet("KvRound", round ? "0" : nullptr);
    SetValueKeySetInt("KvObjectVid", shape);
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    // Size code 6 leaves room for three boxes one under another.
    char record[64];
    const int x = screen.right - screen.right / 4 - 24;
    snprintf(record, sizeof record, "%d %d 6", x, 16);
    SetValueKeySet("KvMonthPrev", record);
    snprintf(record, sizeof record, "%d %d 6", x, static_cast<int>(screen.bottom / 3));
    SetValueKeySet("KvMonth", record);
    snprintf(record, sizeof record, "%d %d 6", x, static_cast<int>(2 * screen.bottom / 3));
    SetValueKeySet("KvMonthNext", record);
    SettingCalen();
}

void Row(const std::string& what, const std::string& figure, const std::string& result, const char* target) {
    printf("| %s | %s | %s | %s |\n", what.c_str(), figure.c_str(), result.c_str(), target);
}

std::string Ms(double ms) {
    char text[32];
    snprintf(text, sizeof text, "%.0f ms", ms);
    return text;
}

int Bench(const char* picture, double imageMagickMs) {
    if (!StartPages("eng.ini")) {
        fprintf(stderr, "the pages or PixOle could not be set up\n");
        return 1;
    }
    TimeLoaderDrawing();
    UseCalendarLook(true, KV_SHAPE_STAR);
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    const double resting = PrivateMegabytes();
    // What the decoder alone keeps while a picture is loaded, and whether it
    // decodes at reduced sizes.
    double decoded = 0;
    bool reduces = false;
    {
        SIZE size = {0, 0};
        s_picture* handle = tLoadPicture(&size, picture);
        decoded = PrivateMegabytes() - resting;
        SIZE half;
        reduces = tReducedImgSize(handle, 2, &half);
        tReleaseImg(handle);
    }
    printf("Screen %ld x %ld, picture %s, resting private bytes %.1f MB\n\n", screen.right, screen.bottom, picture,
           resting);
    printf("| Placement | calendars | decode | loader's drawing and copying | our own work | whole change | peak private |\n");
    printf("|---|---|---|---|---|---|---|\n");
    const char* names[] = {"centre", "fit", "stretch", "tile", "fit, smeared edges", "auto stretch", "auto fit",
                           "fill", "fit, average edges"};
    double fillWithCalendars = 0, wholeFill = 0, decodeFill = 0, highestPeak = 0;
    for (int placement = 0; placement <= 8; ++placement) {
        for (bool calendars : {false, true}) {
            Check(hCalen, IDDRMON, calendars);
            Check(hCalen, IDDRPREVMON, calendars);
            Check(hCalen, IDDRNEXTMON, calendars);
            SendDlgItemMessageA(hWall, IDCEONSC, CB_SETCURSEL, placement, 0);
            std::vector<double> decode, draw, own, whole, peak;
            for (int run = 0; run < 3; ++run) {
                positionType = -1;
                double decodeMs = 0, changeMs = 0;
                loaderDrawMs = 0;
                peak.push_back(PeakDuring([&] {
                    const double start = Now();
                    SIZE size = {0, 0};
                    s_picture* handle = tLoadPicture(&size, picture);
                    decodeMs = Now() - start;
                    const double composing = Now();
                    CreateWallPaper(handle, &size);
                    changeMs = Now() - composing;
                }));
                decode.push_back(decodeMs);
                draw.push_back(loaderDrawMs);
                own.push_back(changeMs - loaderDrawMs);
                whole.push_back(decodeMs + changeMs);
            }
            const double peakMb = *std::max_element(peak.begin(), peak.end());
            highestPeak = std::max(highestPeak, peakMb);
            char peakText[32];
            snprintf(peakText, sizeof peakText, "%.0f MB", peakMb);
            printf("| %s | %s | %s | %s | %s | %s | %s |\n", names[placement], calendars ? "3" : "-",
                   Ms(Median(decode)).c_str(), Ms(Median(draw)).c_str(), Ms(Median(own)).c_str(),
                   Ms(Median(whole)).c_str(), peakText);
            if (placement == KV_PLACE_FILL && calendars) {
                fillWithCalendars = Median(own);
                wholeFill = Median(whole);
                decodeFill = Median(decode);
            }
        }
    }
    const double after = PrivateMegabytes();

    // The steps alone, on a wallpaper of the screen's size.
    ScopedGetDC screenDc(nullptr);
    ScopedGdiObj<HBITMAP> wall(CreateWallSection(screenDc, screen.right, screen.bottom, 32));
    ScopedMemoryDC memory(screenDc);
    std::vector<double> calendarsMs, saveMs, applyMs;
    const std::string path = ComposedWallpaperPath();
    {
        ScopedSelectObject select(memory, wall.get());
        const CalendarContext context = CurrentCalendarContext();
        for (int run = 0; run < 9; ++run) {
            const double start = Now();
            DrawCalendars(memory, true, true, context);
            calendarsMs.push_back(Now() - start);
        }
    }
    for (int run = 0; run < 9; ++run) {
        double start = Now();
        pSavePicture(path.c_str(), wall.get());
        saveMs.push_back(Now() - start);
        start = Now();
        UpdateWalpaper(path.c_str());
        applyMs.push_back(Now() - start);
    }
    printf("\n| Benchmark | Figure | Result | Target |\n|---|---|---|---|\n");
    char size[32];
    snprintf(size, sizeof size, "%ld x %ld", screen.right, screen.bottom);
    Row(std::string("Composition ") + size, "our own work, fill, KvIncrease on, three calendars", Ms(fillWithCalendars),
        screen.right > 2000 ? "< 600 ms" : "< 250 ms");
    Row(std::string("Composition ") + size, "three calendars alone (median of 9)", Ms(Median(calendarsMs)), "< 20 ms");
    Row(std::string("Composition ") + size, "save KvBmp.bmp through PixOle (median of 9)", Ms(Median(saveMs)), "-");
    Row(std::string("Composition ") + size, "apply: UpdateWalpaper (median of 9)", Ms(Median(applyMs)), "-");
    char memoryText[64];
    snprintf(memoryText, sizeof memoryText, "%.0f MB", highestPeak);
    Row(std::string("Composition ") + size, "peak private bytes during a change (all placements)", memoryText,
        screen.right > 2000 ? "< 200 MB" : "< 150 MB");
    snprintf(memoryText, sizeof memoryText, "%.0f MB", decoded);
    Row(std::string("Composition ") + size, "of which the loaded picture alone (the decoder's)", memoryText,
        "platform");
    Row(std::string("Composition ") + size, "the loader decodes at 1/2, 1/4, 1/8 (IWICBitmapSourceTransform)",
        reduces ? "offered" : "not offered", "platform");
    snprintf(memoryText, sizeof memoryText, "%.1f MB before, %.1f MB after", resting, after);
    Row(std::string("Composition ") + size, "private bytes at rest", memoryText, "back to rest");
    if (imageMagickMs > 0) {
        Row(std::string("Composition ") + size, "ImageMagick fill-resize-and-write of the same JPEG", Ms(imageMagickMs),
            "-");
        char ratio[32];
        snprintf(ratio, sizeof ratio, "%.2f", wholeFill / imageMagickMs);
        Row(std::string("Composition ") + size, "whole change (decode included) / ImageMagick", ratio, "<= 0.5");
        snprintf(ratio, sizeof ratio, "%.2f", decodeFill / imageMagickMs);
        Row(std::string("Composition ") + size, "the decode alone / ImageMagick", ratio, "platform");
    }
    return 0;
}

// Every placement once from a very large picture, smooth scaling on.
int Huge(const char* picture) {
    if (!StartPages("eng.ini")) return 1;
    TimeLoaderDrawing();
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    Check(hWall, IDINCREASE, true);
    const double resting = PrivateMegabytes();
    printf("Screen %ld x %ld, picture %s, resting private bytes %.1f MB\n\n", screen.right, screen.bottom, picture,
           resting);
    printf("| Placement | decode | loader's drawing and copying | our own work | peak private |\n|---|---|---|---|---|\n");
    const char* names[] = {"centre", "fit", "stretch", "tile", "fit, smeared edges", "auto stretch", "auto fit",
                           "fill", "fit, average edges"};
    double highest = 0;
    for (int placement = 0; placement <= 8; ++placement) {
        SendDlgItemMessageA(hWall, IDCEONSC, CB_SETCURSEL, placement, 0);
        positionType = -1;
        double decodeMs = 0, changeMs = 0;
        loaderDrawMs = 0;
        SIZE size = {0, 0};
        const double peak = PeakDuring([&] {
            const double start = Now();
            s_picture* handle = tLoadPicture(&size, picture);
            decodeMs = Now() - start;
            const double composing = Now();
            CreateWallPaper(handle, &size);
            changeMs = Now() - composing;
        });
        highest = std::max(highest, peak);
        printf("| %s | %s | %s | %s | %.0f MB |\n", names[placement], Ms(decodeMs).c_str(), Ms(loaderDrawMs).c_str(),
               Ms(changeMs - loaderDrawMs).c_str(), peak);
        if (size.cx <= 0) {
            fprintf(stderr, "the picture did not load\n");
            return 1;
        }
    }
    printf("\n| Benchmark | Figure | Result | Target |\n|---|---|---|---|\n");
    char text[32];
    snprintf(text, sizeof text, "%.0f MB", highest);
    Row("Composition, 12000 x 8000 JPEG", "peak private bytes, every placement, smooth scaling on", text, "< 600 MB");
    return 0;
}

std::string Marker(const std::string& folder, const std::string& shot, const char* suffix) {
    return folder + "\\" + shot + suffix;
}

int Show(const char* picture, const std::string& markers, int count, char** shots) {
    if (!StartPages("eng.ini")) return 1;
    // A dark slate desktop, as the lists page's colour button would give.
    SetDlgItemTextA(hFile, 10614, "5255200");
    for (int i = 0; i < count; ++i) {
        const std::string shot = shots[i];
        Check(hCalen, IDDRMON, false);
        Check(hCalen, IDDRPREVMON, false);
        Check(hCalen, IDDRNEXTMON, false);
        positionType = -1;
        if (shot.size() == 2 && shot[0] == 'p') {
            SendDlgItemMessageA(hWall, IDCEONSC, CB_SETCURSEL, shot[1] - '0', 0);
        } else {
            UseCalendarLook(shot == "calendars-round", shot == "calendars-round" ? KV_SHAPE_STAR : KV_SHAPE_ELLIPSE);
            SendDlgItemMessageA(hWall, IDCEONSC, CB_SETCURSEL, KV_PLACE_FILL, 0);
        }
        SIZE size = {0, 0};
        CreateWallPaper(tLoadPicture(&size, picture), &size);
        HANDLE ready = CreateFileA(Marker(markers, shot, ".ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(ready);
        for (int waited = 0; waited < 60000 && GetFileAttributesA(Marker(markers, shot, ".done").c_str()) ==
                                                   INVALID_FILE_ATTRIBUTES;
             waited += 50)
            Sleep(50);
    }
    return 0;
}

bool WaitForMarker(const std::string& path) {
    for (int waited = 0; waited < 60000; waited += 50, Sleep(50))
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return false;
}

void TouchMarker(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool ShowPage(HWND main, int index) {
    ShowWindow(main, SW_SHOWNORMAL);
    SetWindowPos(main, HWND_TOP, 24, 24, 0, 0, SWP_NOSIZE);
    HWND tree = GetDlgItem(main, IDTREEVIEW);
    HTREEITEM item = TreeView_GetRoot(tree);
    if (index > 0) {
        item = TreeView_GetChild(tree, item);
        for (int i = 1; i < index && item; ++i) item = TreeView_GetNextSibling(tree, item);
    }
    if (!item) return false;
    TreeView_SelectItem(tree, item);
    SetForegroundWindow(main);
    return true;
}

// Dravonel started from this folder, in the same desktop, shown page by page.
int ShowPages(const std::string& markers, int count, char** pages) {
    HeapString program(CreatePathFile(nullptr, "Dravonel", ".exe"));
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.get(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.get(), &startup, &started))
        return 1;
    ScopedHandle process(started.hProcess), thread(started.hThread);
    HWND main = nullptr;
    for (int i = 0; i < 300 && !main; ++i, Sleep(100)) main = FindWindowA("#32770", "Dravonel");
    int result = main ? 0 : 1;
    for (int i = 0; main && i < count; ++i) {
        const std::string page = pages[i];
        const size_t colon = page.find(':');
        if (colon == std::string::npos || !ShowPage(main, atoi(page.c_str()))) {
            result = 1;
            continue;
        }
        const std::string name = page.substr(colon + 1);
        TouchMarker(markers + "\\" + name + ".ready");
        WaitForMarker(markers + "\\" + name + ".done");
    }
    // Closing the visible window hides it; closing it hidden ends the program.
    if (main) {
        PostMessageA(main, WM_CLOSE, 0, 0);
        Sleep(500);
        PostMessageA(main, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bench" && argc > 2) return Bench(argv[2], argc > 3 ? atof(argv[3]) : 0);
    if (mode == "huge" && argc > 2) return Huge(argv[2]);
    if (mode == "show" && argc > 4) return Show(argv[2], argv[3], argc - 4, argv + 4);
    if (mode == "pages" && argc > 3) return ShowPages(argv[2], argc - 3, argv + 3);
    fprintf(stderr, "usage: compose_bench bench <picture> [<ImageMagick ms>] | show <picture> <markers> <shot>... | "
                    "pages <markers> <index:name>... | huge <picture>\n");
    return 2;
}
