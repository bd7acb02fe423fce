#include "engine/wallpaper_options.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "base/control_values.h"
#include "base/globals.h"
#include "ids_calendar.h"
#include "ids_lists.h"
#include "ids_wall.h"
#include "kvinifunction.h"

std::string weekDay[7];
std::string monthName[12];

CompositionOptions CurrentCompositionOptions() {
    CompositionOptions options;
    options.bitsPixel = ComboIndex(hWall, IDBITSPIXEL, 0);
    options.background = GetSysColor(COLOR_BACKGROUND);
    if (hFile && GetDlgItem(hFile, IDBACKGR)) {
        char text[16] = "";
        GetDlgItemTextA(hFile, IDBACKGR, text, sizeof text);
        if (text[0]) options.background = static_cast<COLORREF>(strtoul(text, nullptr, 10)) & 0xFFFFFF;
    }
    options.invert = IsChecked(hWall, IDINVERS);
    options.mirrorTopBottom = IsChecked(hWall, IDMGOR);
    options.mirrorLeftRight = IsChecked(hWall, IDMVER);
    options.useWorkArea = IsChecked(hWall, IDUSPZ);
    options.increase = IsChecked(hWall, IDINCREASE);
    options.pagePlacement = ComboIndex(hWall, IDCEONSC, KV_PLACE_FIT);
    char factor[32] = "";
    if (hWall) GetDlgItemTextA(hWall, IDRSIZE, factor, sizeof factor);
    options.sizeFactor = ParseSizeFactor(factor);
    options.calendar = IsChecked(hCalen, IDDRMON);
    options.previousMonth = IsChecked(hCalen, IDDRPREVMON);
    options.nextMonth = IsChecked(hCalen, IDDRNEXTMON);
    return options;
}


CalendarStyle CalendarStyleFromPage() {
    CalendarStyle style = DefaultCalendarStyle();
    if (!hCalen) return style;
    style.drawPlate = IsChecked(hCalen, IDCHECKFON);
    style.roundPlate = IsChecked(hCalen, IDROUND);
    style.plateColour = ColourOf(hCalen, IDCOLFON);
    style.plateAlpha = static_cast<int>(SendDlgItemMessageA(hCalen, IDCALALPHA, TBM_GETPOS, 0, 0));
    style.textAlpha = static_cast<int>(SendDlgItemMessageA(hCalen, IDALPHATEXT, TBM_GETPOS, 0, 0));
    style.mainColour = ColourOf(hCalen, IDCOLBOTH);
    style.outline = IsChecked(hCalen, IDKAIMA);
    style.outlineColour = ColourOf(hCalen, IDCOLKAIMBOTH);
    style.yearOwn = IsChecked(hCalen, IDCOLYCH);
    style.yearColour = ColourOf(hCalen, IDCOLY);
    style.monthOwn = IsChecked(hCalen, IDCOLMCH);
    style.monthColour = ColourOf(hCalen, IDCOLM);
    style.weekdayOwn = IsChecked(hCalen, IDCOLDNCH);
    style.weekdayColour = ColourOf(hCalen, IDCOLDN);
    style.weekendOwn = IsChecked(hCalen, IDCOLWCH);
    style.weekendColour = ColourOf(hCalen, IDCOLW);
    style.alternateOwn = IsChecked(hCalen, IDCOLCHCH);
    style.alternateColour = ColourOf(hCalen, IDCOLCH);
    style.todayColours = IsChecked(hCalen, IDCHECKDATE);
    style.todayColour = ColourOf(hCalen, IDCOLDATE);
    style.todayOutlineOwn = IsChecked(hCalen, IDKAIMADATE);
    style.todayOutlineColour = ColourOf(hCalen, IDCOLKAIMDATE);
    style.todayShape = IsChecked(hCalen, IDCHECKOBJ);
    style.shape = ComboIndex(hCalen, IDOBJECTVID, 0);
    style.shapeColour = ColourOf(hCalen, IDCOLOBJECT);
    style.corners = std::min(std::max(NumberOf(hCalen, IDOJECTKOL, 3), 3), 10);
    style.penWidth = std::min(std::max(NumberOf(hCalen, IDOJECTPEN, 0), 0), 50);
    style.angle = std::min(std::max(NumberOf(hCalen, IDOJECTANGL, 0), 0), 360);
    style.enlarge = ComboIndex(hCalen, IDCFUP, 0);
    style.type = ComboIndex(hCalen, IDTYPE, 0);
    style.letterCase = ComboIndex(hCalen, IDREGISTR, 0);
    style.placeYM = ComboIndex(hCalen, IDPLACEYM, 0);
    style.alignYear = ComboIndex(hCalen, IDPLAIN, 0);
    style.alignMonth = ComboIndex(hCalen, IDPLAIN1, 1);
    style.colourMode = ComboIndex(hCalen, IDREVCOL, 0);
    if (HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageA(hCalen, IDFONTBOX, WM_GETFONT, 0, 0)))
        GetObjectA(font, sizeof style.font, &style.font);
    style.stack = IsChecked(hCalen, IDISVDEL);
    style.gap = NumberOf(hCalen, IDVDEL, 0);
    return style;
}

CalendarContext CurrentCalendarContext() {
    CalendarContext context;
    context.style = CalendarStyleFromPage();
    GetWindowRect(GetDesktopWindow(), &context.desktop);
    context.area = context.desktop;
    // The wallpaper page's work-area box decides, as it does for the picture.
    if (CheckedOr(hWall, IDUSPZ, true))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &context.area, 0);
    context.today = loctime;
    if (!context.today.wYear) GetLocalTime(&context.today);
    if (weekDay[0].empty())
        for (int i = 0; i < 7; ++i) weekDay[i] = Priv(10 + i, "MAIN", ini);
    if (monthName[0].empty())
        for (int i = 0; i < 12; ++i) monthName[i] = Priv(20 + i, "MAIN", ini);
    for (int i = 0; i < 7; ++i) context.weekdayNames[i] = weekDay[i];
    for (int i = 0; i < 12; ++i) context.monthNames[i] = monthName[i];
    return context;
}

bool RandomOrderChosen() { return IsChecked(hWall, 10405); }
// Until the wallpaper page has these boxes, their default (on) applies.
bool RecycleBinChosen() { return CheckedOr(hWall, 10411, true); }
bool AskBeforeDeleteChosen() { return CheckedOr(hWall, 10412, true); }
