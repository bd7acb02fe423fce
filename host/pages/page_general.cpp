#include "pages/page_general.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include "base/globals.h"
#include "base/main_menu_state.h"
#include "desktop/autostart.h"
#include "desktop/shell_care.h"
#include "desktop/tray_icon.h"
#include "pages/page_style.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "searchandpast.h"

namespace {

const COLORREF kDefaultCaptionColour = 16776960;  // 0xFFFF00
const int kDefaultTaskbarPercent = 99;
const int kNormalPriorityIndex = 3;

void (*saverCommand)(int control);

void TellSaverCommand(int control) {
    if (saverCommand) saverCommand(control);
}

char* SettingsFile() { return SetUsetExtenPath(".set"); }

// The proxy fields are stored as they are typed, but not while start-up
// fills them. The user name and password are kept wrapped, never in clear.
void StoreProxyField(HWND page, int control, const char* key, bool wrapped) {
    if (!startProgress) return;
    HeapString text(GetItemChar(page, control));
    if (wrapped && text) text.reset(WrapCredential(text.get()));
    SetValueKeySet(key, text.get());
}

void ShowProxyField(HWND page, const char* file, int control, const char* key, bool wrapped) {
    HeapString stored(GetKey(file, "set", key, nullptr));
    if (wrapped && stored) stored.reset(UnwrapCredential(stored.get()));
    SetDlgItemTextA(page, control, stored ? stored.get() : "");
}

void ShowTaskbarPercent(HWND page) {
    char text[16];
    snprintf(text, sizeof text, "%d %%", GeneralTaskbarPercent());
    SetDlgItemTextA(page, IDALPHAVALUE, text);
}


void OnCommand(HWND page, int control, int notification) {
    switch (control) {
        case IDAUTOST:
            ApplyAutostart(GeneralOption(IDAUTOST));
            break;
        case IDBLOCKADD:
            KeyTipUnCheckedSet(page, control, "KvBlockAdd");
            break;
        case IDSCRAUTO:
            KeyTipUnCheckedSet(page, control, "KvScrAuto");
            TypeTrayIcon();
            TellSaverCommand(control);
            break;
        case IDSCRRULE:
            KeyTipUnCheckedSet(page, control, "KvScrRule");
            TellSaverCommand(control);
            break;
        case IDUPDATE:
        case IDSCRSET:
        case IDSCRLIST:
            if (notification == BN_CLICKED) TellSaverCommand(control);
            break;
        case IDUSEPROXY:
            KeyTipUnCheckedSet(page, control, "KvUsProxy");
            break;
        case IDPROXY:
            if (notification == EN_CHANGE) StoreProxyField(page, control, "KvProxy", false);
            break;
        case IDUSER:
            if (notification == EN_CHANGE) StoreProxyField(page, control, "KvUser", true);
            break;
        case IDPASS:
            if (notification == EN_CHANGE) StoreProxyField(page, control, "KvPass", true);
            break;
        case IDHIDEICO:
            KeyTipUnCheckedSet(page, control, "KvHideIco");
            if (GeneralOption(IDHIDEICO)) StartTrayUpTimer();
            break;
        case IDTRAYUP:
            if (notification != EN_CHANGE) break;
            if (startProgress) {
                HeapString text(GetItemChar(page, IDTRAYUP));
                SetValueKeySet("KvTrayUp", text.get());
            }
            if (GeneralOption(IDHIDEICO)) StartTrayUpTimer();
            break;
        case IDNOCHAN:
            KeyTipCheckedSet(page, control, "KvNoChan");
            break;
        case IDNOICON:
            KeyTipCheckedSet(page, control, "KvNoIcon");
            break;
        case IDNOSCR:
            KeyTipUnCheckedSet(page, control, "KvNoScr");
            break;
        case IDTRANS:
            KeyTipUnCheckedSet(page, control, "KvTrans");
            break;
        case IDCHANCOL:
            KeyTipUnCheckedSet(page, control, "KvChanCol");
            break;
        case IDICONCAP:
            ColorSelectSet(page, IDICONCAP, "KvIconCap");
            break;
        case IDHIDEICON:
            KeyTipUnCheckedSet(page, control, "KvHideIcon");
            CheckMainMenuItem(IDPHIDEICON, GeneralOption(IDHIDEICON));
            break;
        case IDRULETB:
            KeyTipUnCheckedSet(page, control, "KvRuleTB");
            // Timer 8 layers the taskbar while the box is on; off, it is
            // made opaque again at once.
            if (!GeneralOption(IDRULETB) && pSetLayeredWindowAttributes) RemoveTaskbarTransparency();
            break;
        case IDTRANSPNO:
            KeyTipUnCheckedSet(page, control, "KvTranspNo");
            break;
        case IDPRIORITY:
            if (notification != CBN_SELCHANGE) break;
            ComboBoxKeySet(notification, page, IDPRIORITY, "KvPriority");
            SetPriorityClass(GetCurrentProcess(),
                             PriorityClassForIndex(static_cast<int>(SendDlgItemMessageA(page, IDPRIORITY, CB_GETCURSEL, 0, 0))));
            break;
        default:
            break;
    }
}

}  // namespace

DWORD PriorityClassForIndex(int index) {
    static const DWORD classes[] = {REALTIME_PRIORITY_CLASS,     HIGH_PRIORITY_CLASS,
                                    ABOVE_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS,
                                    BELOW_NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS};
    if (index < 0 || index >= static_cast<int>(sizeof classes / sizeof classes[0])) return NORMAL_PRIORITY_CLASS;
    return classes[index];
}

void SetSaverCommandHandler(void (*handler)(int control)) { saverCommand = handler; }

bool GeneralOption(int control) { return IsDlgButtonChecked(hBoth, control) == BST_CHECKED; }

COLORREF GeneralCaptionColour() {
    char text[16] = "";
    GetDlgItemTextA(hBoth, IDICONCAP, text, sizeof text);
    return static_cast<COLORREF>(strtoul(text, nullptr, 10));
}

int GeneralTaskbarPercent() { return static_cast<int>(SendDlgItemMessageA(hBoth, IDALPHA, TBM_GETPOS, 0, 0)); }

void PrepareGeneralPage() {
    CheckDlgButton(hBoth, IDNOCHAN, BST_CHECKED);
    CheckDlgButton(hBoth, IDNOICON, BST_CHECKED);
    SendDlgItemMessageA(hBoth, IDALPHA, TBM_SETRANGE, TRUE, MAKELPARAM(1, 99));
    SendDlgItemMessageA(hBoth, IDALPHA, TBM_SETPAGESIZE, 0, 1);
}

void LoadTraySettings() {
    HeapString file(SettingsFile());
    CheckFromFlag(hBoth, file.get(), IDHIDEICO, "KvHideIco", false);
    SetDlgItemInt(hBoth, IDTRAYUP, GetKeyInt(file.get(), "set", "KvTrayUp", 1), TRUE);
    CheckFromFlag(hBoth, file.get(), IDNOSCR, "KvNoScr", false);
    CheckFromFlag(hBoth, file.get(), IDBLOCKADD, "KvBlockAdd", false);
    CheckFromFlag(hBoth, file.get(), IDSCRAUTO, "KvScrAuto", false);
    TypeTrayIcon();
}

void LoadGeneralSettings() {
    HeapString file(SettingsFile());
    CheckFromFlag(hBoth, file.get(), IDSCRRULE, "KvScrRule", false);
    CheckFromFlag(hBoth, file.get(), IDNOCHAN, "KvNoChan", true);
    CheckFromFlag(hBoth, file.get(), IDNOICON, "KvNoIcon", true);

    int priority = GetKeyInt(file.get(), "set", "KvPriority", kNormalPriorityIndex);
    if (priority < 0 || priority > 5) priority = kNormalPriorityIndex;
    SendDlgItemMessageA(hBoth, IDPRIORITY, CB_SETCURSEL, priority, 0);
    SendMessageA(hBoth, WM_COMMAND, MAKEWPARAM(IDPRIORITY, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(hBoth, IDPRIORITY)));

    CheckFromFlag(hBoth, file.get(), IDTRANS, "KvTrans", false);
    CheckFromFlag(hBoth, file.get(), IDCHANCOL, "KvChanCol", false);
    CheckFromFlag(hBoth, file.get(), IDHIDEICON, "KvHideIcon", false);
    CheckFromFlag(hBoth, file.get(), IDRULETB, "KvRuleTB", false);
    CheckFromFlag(hBoth, file.get(), IDTRANSPNO, "KvTranspNo", false);

    char colour[16];
    snprintf(colour, sizeof colour, "%lu",
             static_cast<unsigned long>(static_cast<COLORREF>(GetKeyInt(file.get(), "set", "KvIconCap",
                                                                        static_cast<int>(kDefaultCaptionColour)))));
    SetDlgItemTextA(hBoth, IDICONCAP, colour);

    int percent = GetKeyInt(file.get(), "set", "KvTBAlpha", kDefaultTaskbarPercent);
    if (percent < 1) percent = 1;
    if (percent > 99) percent = 99;
    SendDlgItemMessageA(hBoth, IDALPHA, TBM_SETPOS, TRUE, percent);
    ShowTaskbarPercent(hBoth);

    ShowProxyField(hBoth, file.get(), IDPROXY, "KvProxy", false);
    ShowProxyField(hBoth, file.get(), IDUSER, "KvUser", true);
    ShowProxyField(hBoth, file.get(), IDPASS, "KvPass", true);
    CheckFromFlag(hBoth, file.get(), IDUSEPROXY, "KvUsProxy", false);
}

INT_PTR CALLBACK BothFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(hwnd, IDALPHA)) {
                SetValueKeySetInt("KvTBAlpha", GeneralTaskbarPercent());
                ShowTaskbarPercent(hwnd);
            }
            return TRUE;
        case WM_DRAWITEM: {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == IDICONCAP) PainColorButton(item->hDC, &item->rcItem, hwnd, IDICONCAP);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IDTRAYHEAD && id != IDPAUSEHEAD && id != IDDESKHEAD) return FALSE;
            return PaintHeading(wParam);
        }
        default:
            return FALSE;
    }
}
