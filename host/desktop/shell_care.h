// Care of the shell's own windows: the desktop icon view and the taskbar.
#pragma once

#include <windows.h>

// Messages to the shell's icon view wait at most this long, so a hanging
// Explorer cannot freeze the host.
enum { SHELL_TIMEOUT_MS = 100 };

// What the options ask of the icon view.
struct IconViewCare {
    bool hideIcons;
    bool forceCaptionColour;
    COLORREF captionColour;
    bool transparentCaption;
};
// Applies the options to the icon view (none: does nothing).
void CareForIconView(HWND iconView, const IconViewCare& care);

// Taskbar opacity (0..255) for a percentage and the pointer state.
BYTE TaskbarOpacity(int percent, bool opaqueUnderPointer, bool pointerOverTaskbar);
// Layers the taskbar and sets its opacity; nothing without the system support.
void ApplyTaskbarTransparency(BYTE opacity);
// Takes the layered style off the taskbar again.
void RemoveTaskbarTransparency();

// Explorer's per-user "hide desktop icons" setting.
bool ExplorerHidesIcons();
