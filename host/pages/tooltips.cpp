#include "pages/tooltips.h"

#include <commctrl.h>

#include "base/globals.h"
#include "kvinifunction.h"
#include "screen_dpi.h"

namespace {

HWND toolTips;

HWND ToolTipWindow() {
    if (toolTips) return toolTips;
    toolTips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hHide, nullptr, hInS, nullptr);
    if (!toolTips) return nullptr;
    SendMessageA(toolTips, TTM_SETDELAYTIME, TTDT_INITIAL, 0);
    SendMessageA(toolTips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 20000);
    // 300 pixels at 96 DPI; the tips' font grows with the DPI.
    SendMessageA(toolTips, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(300));
    return toolTips;
}

}  // namespace

void AddToolTip(HWND control, int toolId, int textNumber) {
    HWND tips = ToolTipWindow();
    if (!tips || !control) return;
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = static_cast<UINT_PTR>(toolId);
    GetClientRect(control, &tool.rect);
    tool.hinst = hInS;
    tool.lpszText = Priv(textNumber, "TOOLTIP", ini);  // copied by the control
    SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
