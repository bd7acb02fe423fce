#include "kvfunction.h"

#include <cstdlib>
#include <vector>

#include "scopedwin.h"

HWND GetShellDefView() {
    HWND progman = FindWindowA("Progman", "Program Manager");
    return progman ? FindWindowExA(progman, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
}

HWND GetDesktopIconView() {
    HWND view = GetShellDefView();
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

HWND GetCurrentDesktop() {
    if (HWND desktop = FindWindowA("Desktop", nullptr)) return desktop;
    HWND view = GetShellDefView();
    if (!view) return nullptr;
    if (HWND browser = FindWindowExA(view, nullptr, "Internet Explorer_Server", nullptr)) return browser;
    HWND icons = FindWindowExA(view, nullptr, "SysListView32", nullptr);
    if (icons && IsWindowVisible(icons)) return icons;
    return view;
}

void CreateFontBox(HWND H, int ID, const char* FontName, int Style, int Charset) {
    LOGFONTA font = {};
    font.lfWeight = (Style == KV_FONT_BOLD || Style == KV_FONT_BOLD_ITALIC) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (Style == KV_FONT_ITALIC || Style == KV_FONT_BOLD_ITALIC) ? TRUE : FALSE;
    font.lfCharSet = static_cast<BYTE>(Charset);
    lstrcpynA(font.lfFaceName, FontName ? FontName : "", LF_FACESIZE);
    HFONT handle = CreateFontIndirectA(&font);
    SendDlgItemMessageA(H, ID, WM_SETFONT, reinterpret_cast<WPARAM>(handle), TRUE);
    SetDlgItemTextA(H, ID, font.lfFaceName);
}

void PainColorButton(HDC hdc, const RECT* rect, HWND dialog, int control) {
    char text[16] = "";
    GetDlgItemTextA(dialog, control, text, sizeof text);
    COLORREF colour = static_cast<COLORREF>(strtoul(text, nullptr, 10));

    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(hdc, rect, brush.get());

    RECT face = *rect;
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldBack = SetBkColor(hdc, colour);
    DrawTextA(hdc, "     \n     ", -1, &face, DT_CENTER | DT_VCENTER);
    SetBkColor(hdc, oldBack);
    SetBkMode(hdc, oldMode);

    ScopedSelectObject pen(hdc, GetStockObject(BLACK_PEN));
    POINT frame[] = {{rect->left, rect->top},
                     {rect->left, rect->bottom - 1},
                     {rect->right - 1, rect->bottom - 1},
                     {rect->right - 1, rect->top},
                     {rect->left, rect->top}};
    Polyline(hdc, frame, 5);
}

char* GetItemChar(HWND dialog, int control) {
    HWND item = GetDlgItem(dialog, control);
    int length = GetWindowTextLengthA(item);
    if (length <= 0) return nullptr;
    std::vector<char> text(length + 1);
    GetWindowTextA(item, text.data(), length + 1);
    if (!text[0]) return nullptr;
    return _strdup(text.data());
}

void* getMenuData(UINT item, HMENU menu, BOOL byPosition) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(menu, item, byPosition, &info)) return nullptr;
    return reinterpret_cast<void*>(info.dwItemData);
}
