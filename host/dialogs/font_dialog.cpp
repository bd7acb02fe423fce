#include "dialogs/font_dialog.h"

#include "kvinifunction.h"

namespace {

ChooseFontFunction chooseFont = ChooseFontA;

}  // namespace

const char* FontStyleCode(LONG weight, BYTE italic) {
    const bool bold = weight == FW_BOLD;
    if (bold && italic) return "3";
    if (bold) return "2";
    if (italic) return "1";
    return "";
}

ChooseFontFunction SetChooseFontFunction(ChooseFontFunction function) {
    ChooseFontFunction previous = chooseFont;
    chooseFont = function ? function : ChooseFontA;
    return previous;
}

void ChooseFontForMy(const char* ext, const char* app, HWND H, int ID, const char* keyStyle, const char* keyCharset,
                     const char* keyFontBox, int reg) {
    HWND control = GetDlgItem(H, ID);
    if (!control) return;
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA font = {};
    GetObjectA(current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    const LONG oldHeight = font.lfHeight;

    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = H;
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_SCRIPTSONLY;
    if (!chooseFont(&choose)) return;

    font.lfHeight = oldHeight;
    HFONT chosen = CreateFontIndirectA(&font);
    if (!chosen) return;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), TRUE);
    // The box owned its previous font; the dialog's own font is not its to free.
    if (current && current != reinterpret_cast<HFONT>(SendMessageA(H, WM_GETFONT, 0, 0)) &&
        current != GetStockObject(DEFAULT_GUI_FONT))
        DeleteObject(current);
    SetWindowTextA(control, font.lfFaceName);
    if (!reg) return;
    SetValueKey(ext, app, keyStyle, FontStyleCode(font.lfWeight, font.lfItalic));
    SetValueKeyInt(ext, app, keyCharset, font.lfCharSet);
    SetValueKey(ext, app, keyFontBox, font.lfFaceName);
}
