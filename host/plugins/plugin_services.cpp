#include "plugins/plugin_services.h"

#include <commctrl.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "base/save_failures.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/font_dialog.h"
#include "dialogs/input_dialog.h"
#include "dialogs/place_dialog.h"
#include "engine/calendar_drawing.h"
#include "engine/change_cycle.h"
#include "engine/image_binding.h"
#include "engine/open_list.h"
#include "engine/wall_lists.h"
#include "engine/wallpaper_options.h"
#include "hotkeys/hotkey_rows.h"
#include "network/http_client.h"
#include "network/proxy_link.h"
#include "pages/tooltips.h"
#include "screensavers/saver_selection.h"
#include "system/processor_usage.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

PluginHostCommands hostCommands;

template <typename Record>
Record* RecordOf(LPARAM param) {
    return reinterpret_cast<Record*>(param);
}

LRESULT Pointer(const void* pointer) { return reinterpret_cast<LRESULT>(pointer); }

// The number after the sign (or at the start): digits only, and bounded, so
// that no text can send the month arithmetic round a billion times.
int OffsetNumber(const char* text) {
    while (*text == ' ') ++text;
    if (*text == '+' || *text == '-') ++text;
    long value = 0;
    for (; isdigit(static_cast<unsigned char>(*text)) && value < 100000; ++text) value = value * 10 + (*text - '0');
    return static_cast<int>(value);
}

struct TextOffsets {
    int forward = 0;
    int backward = 0;
    int absolute = 0;
};

TextOffsets ParseOffsets(const char* text) {
    TextOffsets offsets;
    if (!text || !*text) return offsets;
    if (const char* plus = strchr(text, '+')) offsets.forward = OffsetNumber(plus);
    if (const char* minus = strchr(text, '-')) offsets.backward = OffsetNumber(minus);
    if (!offsets.forward && !offsets.backward) offsets.absolute = OffsetNumber(text);
    return offsets;
}

// The clock takes this month of this year (the day and time of now).
bool ClockAccepts(int month, int year) {
    if (month < 1 || month > 12 || year < 1900) return false;
    time_t now = time(nullptr);
    struct tm when = *localtime(&now);
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_isdst = -1;
    return mktime(&when) != static_cast<time_t>(-1);
}

LRESULT SetLayered(const s_setlayeredwin* record) {
    if (!record || !record->hwnd || !pSetLayeredWindowAttributes) return 0;
    SetWindowLongA(record->hwnd, GWL_EXSTYLE, GetWindowLongA(record->hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    pSetLayeredWindowAttributes(record->hwnd, record->crKey, record->bAlpha, record->dwFlags);
    return 0;
}

LRESULT ChooseFontFor(const s_choosefont* record) {
    if (!record) return 0;
    // Keys are written only when every name is there to write them under.
    const bool store = record->reg && record->ext && record->app && record->keyStyle && record->keyCharset &&
                       record->keyFontBox;
    ChooseFontForMy(record->ext, record->app, record->H, record->ID, record->keyStyle, record->keyCharset,
                    record->keyFontBox, store ? 1 : 0);
    return 0;
}

LRESULT SavePictureFor(const s_savepicture* record) {
    if (!record) return 0;
    // The loader answers 0 for a written file; without one nothing is
    // written, and the answer must not say otherwise.
    if (!pSavePicture || !record->namefile || !record->hBit) return 1;
    return pSavePicture(record->namefile, record->hBit);
}

LRESULT LoadPictureFor(const s_loadpicture* record) {
    if (!record) return 0;
    return Pointer(tLoadPicture(record->Sw, record->name));
}

LRESULT ImageToBitmap(const s_imgtobmp* record) {
    if (!record || !record->LoadedImage || !record->So) return 0;
    return Pointer(ImgToBmp(static_cast<s_picture*>(record->LoadedImage), record->So, record->Sn, record->bBorder,
                            record->iColBorder, record->iThickBoder));
}

LRESULT ScaleBitmapFor(const s_scalebitmap* record) {
    if (!record || !pScaleBitmap || !record->hBitTemp || !record->wNewWidth || !record->wNewHeight) return 0;
    return Pointer(pScaleBitmap(record->hBitTemp, record->wNewWidth, record->wNewHeight,
                                record->nameBUF ? record->nameBUF : "Kvtemp"));
}

LRESULT PreviewBitmap(const s_imgtosmallbmp* record) {
    if (!record) return 0;
    s_picture* picture = static_cast<s_picture*>(record->LoadedImage);
    // The picture is the host's to release whatever else the record lacks.
    if (!record->hBit) {
        tReleaseImg(picture);
        return 0;
    }
    ConvertToSmallhBitmap(record->HPic, record->hBit, picture, record->Sw, 0);
    return 0;
}

LRESULT GetInetFileFor(const s_getinetfile* record) {
    if (!record) return 0;
    HeapString proxy(CreatProxyLink());
    return KvGetInetFileForPlugin(*record, proxy.get());
}

LRESULT DrawBitmapFor(const s_drawbit* record) {
    if (!record || !record->hDC || !record->hBit) return 0;
    DrawBitmapWithTransparent(record->hDC, record->hBit, record->xbit, record->ybit, record->wbit, record->hbit,
                              record->trans, record->alpha, record->otnpos, record->RevCol, record->Tolerance,
                              record->Angle, record->TransCol);
    return 0;
}

// A heap copy of a path as it is used (environment references expanded),
// or none for an empty one.
LRESULT ExpandedCopy(const std::string& path) {
    if (path.empty()) return 0;
    char* expanded = ExpandEnvStr(path.c_str());
    if (expanded && !*expanded) {
        free(expanded);
        return 0;
    }
    return Pointer(expanded);
}

LRESULT NextWallpaperPath() {
    const int rows = static_cast<int>(wallList.size());
    const int row = NextWallpaperRow(rows, GetCurrentRow(), RandomOrderChosen(), rwp, GenerateUnikList);
    if (row < 0 || row >= rows) return 0;
    return ExpandedCopy(wallList.row(static_cast<size_t>(row)).path.substr(0, 999));
}

LRESULT DrawCalendarFor(const s_drawcalendar* record) {
    if (!record || !record->hDC || !record->mm) return 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const CalendarMonth month = CalendarMonthFromText(record->smonth, record->syear, now.wMonth, now.wYear);
    record->mm->imonth = month.month;
    record->mm->iyear = month.year;
    PrintCalendar(record->hDC, record->mm, CurrentCalendarContext());
    return 0;
}

LRESULT ReadHotKeyRow(LPARAM row) {
    if (row < 0 || row >= countHotKey) return 0;
    return SendDlgItemMessageA(hHotKey, IDHOTKEY1 + static_cast<int>(row), HKM_GETHOTKEY, 0, 0);
}

}  // namespace

void SetPluginHostCommands(const PluginHostCommands& commands) { hostCommands = commands; }

CalendarMonth CalendarMonthFromText(const char* smonth, const char* syear, int currentMonth, int currentYear) {
    const TextOffsets months = ParseOffsets(smonth);
    const TextOffsets years = ParseOffsets(syear);
    int forwardYears = years.forward, backwardYears = years.backward;

    int month = months.absolute ? months.absolute : currentMonth;
    if (months.forward) {
        month += months.forward;
        if (month > 12) {
            forwardYears += (month - 1) / 12;
            month = (month - 1) % 12 + 1;
        }
    } else if (months.backward) {
        month -= months.backward;
        if (month < 1) {
            const int wraps = (12 - month) / 12;
            backwardYears += wraps;
            month += 12 * wraps;
        }
    }
    // Both kinds of year offset count: "+3" months from November with the
    // year "-1" is February of this year.
    int year = (years.absolute ? years.absolute : currentYear) + forwardYears - backwardYears;

    if (!ClockAccepts(month, year)) year = currentYear;
    if (!ClockAccepts(month, year)) month = currentMonth;
    return {month, year};
}

int NextWallpaperRow(int rows, int selected, bool random, const IndexList& queue,
                     const std::function<void()>& drawNew) {
    if (rows < 2) return 0;
    if (random) {
        if (queue.empty() && drawNew) drawNew();
        if (!queue.empty()) return static_cast<int>(queue.back());
    }
    return selected + 1 < rows ? selected + 1 : 0;
}

char* CurrentScreenSaverPath() { return SCRNSAVE && *SCRNSAVE ? _strdup(SCRNSAVE) : nullptr; }

LRESULT RunFuncFromPlagin(int code, LPARAM param) {
    switch (code) {
        case KvSrvLockWorkstation:
            if (pLockWorkStation) pLockWorkStation();
            return 0;
        case KvSrvSavePicture:
            return SavePictureFor(RecordOf<s_savepicture>(param));
        case KvSrvNextWallpaper:
            NextWall(0);
            return 0;
        case KvSrvAddToolTip: {
            const s_addtooltip* record = RecordOf<s_addtooltip>(param);
            if (record) AddToolTip(GetDlgItem(record->hWnd, record->nIDTool), record->nIDTool, record->nIDStr);
            return 0;
        }
        case KvSrvSetLayeredWindow:
            return SetLayered(RecordOf<s_setlayeredwin>(param));
        case KvSrvChooseFont:
            return ChooseFontFor(RecordOf<s_choosefont>(param));
        case KvSrvPlace:
            RunPlaceDialog(RecordOf<s_placefunc>(param));
            return 0;
        case KvSrvProcessorLoad:
            return GetCpuUsage();
        case KvSrvLoadPicture:
            return LoadPictureFor(RecordOf<s_loadpicture>(param));
        case KvSrvImageToBitmap:
            return ImageToBitmap(RecordOf<s_imgtobmp>(param));
        case KvSrvReleasePicture:
            tReleaseImg(RecordOf<s_picture>(param));
            return 0;
        case KvSrvScaleBitmap:
            return ScaleBitmapFor(RecordOf<s_scalebitmap>(param));
        case KvSrvShowSettings:
            if (hostCommands.showSettings) hostCommands.showSettings(reinterpret_cast<HWND>(param));
            return 0;
        case KvSrvTrackMenu:
            if (param && IsMenu(reinterpret_cast<HMENU>(param)) && hostCommands.trackMenu)
                hostCommands.trackMenu(reinterpret_cast<HMENU>(param));
            return 0;
        case KvSrvMainMenu:
            return Pointer(hMainMenu);
        case KvSrvUpdateWallpaper:
            ToWall(1);
            return 0;
        case KvSrvPreviewBitmap:
            return PreviewBitmap(RecordOf<s_imgtosmallbmp>(param));
        case KvSrvInputText:
            return Pointer(RunInputDialog(RecordOf<s_inputInitParam>(param)));
        case KvSrvGetInetFile:
            return GetInetFileFor(RecordOf<s_getinetfile>(param));
        case KvSrvDrawBitmap:
            return DrawBitmapFor(RecordOf<s_drawbit>(param));
        case KvSrvCheckMenuItem: {
            const s_checkmainmenuitem* record = RecordOf<s_checkmainmenuitem>(param);
            if (record) CheckMainMenuItem(record->ID, record->Check);
            return 0;
        }
        case KvSrvRunCommandLine:
            if (param && hostCommands.runCommandLine) hostCommands.runCommandLine(RecordOf<const char>(param));
            return 0;
        case KvSrvOwnerWindow:
            return Pointer(hHide);
        case KvSrvMayChange:
            return CheckChange();
        case KvSrvCurrentWallpaper:
            return ExpandedCopy(lastsel);
        case KvSrvCurrentSaver:
            return Pointer(CurrentScreenSaverPath());
        case KvSrvChooseFolder: {
            const s_selfolder* record = RecordOf<s_selfolder>(param);
            return record ? Pointer(GetFolder(record->hwnd, record->TempDir, record->R)) : 0;
        }
        case KvSrvChooseFile: {
            const s_selfile* record = RecordOf<s_selfile>(param);
            return record ? Pointer(OpenSingleFileDialog(record->howner, record->filter, record->title, record->ext,
                                                         record->OpenSave))
                          : 0;
        }
        case KvSrvAddToList: {
            s_filetolist* record = RecordOf<s_filetolist>(param);
            return record ? Pointer(AddFilesToList(record)) : 0;
        }
        case KvSrvRemoveFromList: {
            s_filetolist* record = RecordOf<s_filetolist>(param);
            return record ? Pointer(DelFilesFromList(record)) : 0;
        }
        case KvSrvNextWallpaperPath:
            return NextWallpaperPath();
        case KvSrvDrawCalendar:
            return DrawCalendarFor(RecordOf<s_drawcalendar>(param));
        case KvSrvReadHotKey:
            return ReadHotKeyRow(param);
        case KvSrvSaveFailed:
            // The plug-in tells each failure once and keeps trying itself.
            if (!param) return 0;
            ReportSaveFailure(SAVE_FAILED_SETTINGS, RecordOf<const char>(param));
            return 1;
        default:
            return 0;
    }
}
