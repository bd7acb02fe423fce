// Desktop and dialog helpers shared by the host and the plug-ins.
#pragma once

#include <windows.h>

// The window that shows the desktop: a top-level "Desktop" window, else the
// Active Desktop browser window, else the visible icon view, else the icon
// view's parent "SHELLDLL_DefView" (may be none).
HWND GetCurrentDesktop();

// The shell's "SHELLDLL_DefView" inside "Progman"/"Program Manager", or none.
HWND GetShellDefView();
// The desktop icon view ("SysListView32" in the shell view), or none.
HWND GetDesktopIconView();

// Font sample box styles.
enum { KV_FONT_REGULAR = 0, KV_FONT_ITALIC = 1, KV_FONT_BOLD = 2, KV_FONT_BOLD_ITALIC = 3 };
// Gives the static control a font of that face, style and charset (default
// height) and the face name as text. The control keeps the font.
void CreateFontBox(HWND H, int ID, const char* FontName, int Style, int Charset);

// Owner-draw painting of a colour button whose text is its colour number.
void PainColorButton(HDC hdc, const RECT* rect, HWND dialog, int control);

// New heap copy of a control's text, or none when it is empty.
char* GetItemChar(HWND dialog, int control);

// Application data of a menu item (by id, or by position), or none.
void* getMenuData(UINT item, HMENU menu, BOOL byPosition);
