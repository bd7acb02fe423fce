#include "pages/page_wall.h"

#include <string>

#include "base/globals.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/process_view.h"
#include "engine/composition.h"
#include "engine/create_wallpaper.h"
#include "engine/logon_wallpaper.h"
#include "engine/wall_lists.h"
#include "pages/page_general.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "pages/page_wall_cycle.h"
#include "pages/tooltips.h"
#include "system/process_list.h"
#include "createpathfile.h"
#include "ids_wall.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "screen_dpi.h"

namespace {

const int kFolderTip = 64;        // section "TOOLTIP"
const int kFolderPrompt = 50;     // section "WALL"
const char kDefaultSizeFactor[] = "2.0";
const int kBitmapTitle = 24;      // section "STRING"
const int kLogonNeedsAdministrator = 65;
const int kLogonNotChanged = 66;


void SelectCombo(int control, int index) {
    const int count = static_cast<int>(SendDlgItemMessageA(hWall, control, CB_GETCOUNT, 0, 0));
    SendDlgItemMessageA(hWall, control, CB_SETCURSEL, (index >= 0 && index < count) ? index : 0, 0);
}

// The folder for the composed file: one that cannot be entered clears it.
void ChooseWallFolder() {
    HeapString chosen(GetFolder(hWall, folderWall.empty() ? nullptr : folderWall.c_str(),
                                Priv(kFolderPrompt, "WALL", ini)));
    if (chosen) SetWallFolder(chdir_access(chosen.get()) ? chosen.get() : nullptr);
}

void OnCommand(HWND page, int control, int notification) {
    switch (control) {
        case IDINVERS:
            KeyTipUnCheckedSet(page, control, "KvInvers");
            break;
        case IDMGOR:
            KeyTipUnCheckedSet(page, control, "KvMGor");
            break;
        case IDMVER:
            KeyTipUnCheckedSet(page, control, "KvMVer");
            break;
        case IDUSPZ:
            KeyTipCheckedSet(page, control, "KvUspz");
            break;
        case IDINCREASE:
            KeyTipCheckedSet(page, control, "KvIncrease");
            break;
        case IDCEONSC:
            ComboBoxKeySet(notification, page, control, "KvCeOnSc");
            break;
        case IDBITSPIXEL:
            ComboBoxKeySet(notification, page, control, "KvBitsPixel");
            break;
        case IDRSIZE:
            if (notification == EN_CHANGE && startProgress) {
                HeapString text(GetItemChar(page, IDRSIZE));
                SetValueKeySet("KvRSize", text.get());
            }
            break;
        case IDFOLDERBUTTON:
            if (notification == BN_CLICKED) ChooseWallFolder();
            break;
        case IDPRELOG:
            if (notification == CBN_SELCHANGE) KvPreLogChange();
            break;
        case IDPROCEXCL:
            KeyTipUnCheckedSet(page, control, "KvProcExcl");
            if (IsDlgButtonChecked(page, control) == BST_CHECKED) {
                StartProcessExclusion();
                ShowProcessView(hMain);
            } else {
                StopProcessExclusion();
            }
            break;
        default:
            break;
    }
}

// The system's own sentence for the error, in the user's language.
std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string sentence = length && text ? std::string(text, length) : std::string();
    if (text) LocalFree(text);
    while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r')) sentence.pop_back();
    return sentence;
}

// The drop-down snapping back alone would leave the user guessing why.
void TellLogonWallpaperKept(LONG error) {
    std::string text = Priv(error == ERROR_ACCESS_DENIED ? kLogonNeedsAdministrator : kLogonNotChanged, "STRING", ini);
    const std::string reason = error == ERROR_ACCESS_DENIED ? std::string() : SystemErrorText(static_cast<DWORD>(error));
    if (!reason.empty()) text += "\r\n\r\n" + reason;
    MessageBoxA(hMain, text.c_str(), "Dravonel", MB_OK | MB_ICONWARNING);
}

}  // namespace

void CompareRegPrelogin() {
    if (!hWall) return;
    const int entry = PrelogEntryFor(ReadLogonWallpaper(), ComposedWallpaperPath(), PrelogPath());
    SendDlgItemMessageA(hWall, IDPRELOG, CB_SETCURSEL, entry, 0);
}

void KvPreLogChange() {
    if (!hWall) return;
    LONG result = ERROR_SUCCESS;
    switch (static_cast<int>(SendDlgItemMessageA(hWall, IDPRELOG, CB_GETCURSEL, 0, 0))) {
        case KV_PRELOG_NONE:
            result = ClearLogonWallpaper();
            break;
        case KV_PRELOG_COMPOSED:
            result = WriteLogonWallpaper(ComposedWallpaperPath().c_str());
            break;
        case KV_PRELOG_COPY:
            if (!lastsel.empty()) {
                SIZE size = {0, 0};
                if (s_picture* picture = tLoadPicture(&size, lastsel.c_str())) result = SavePrelogBmp(picture, &size);
            }
            break;
        case KV_PRELOG_FILE: {
            HeapString chosen(OpenSingleFileDialog(hWall, "Bitmaps (*.bmp)\0*.bmp\0", Priv(kBitmapTitle, "STRING", ini),
                                                   ".bmp", 1));
            if (chosen) result = WriteLogonWallpaper(chosen.get());
            break;
        }
        default:
            break;
    }
    // A picture that could not be written was told as a failed save.
    if (result != ERROR_SUCCESS && result != ERROR_WRITE_FAULT) TellLogonWallpaperKept(result);
    CompareRegPrelogin();
}

int PlacementFromSystemStyle(const char* tile, const char* style) {
    const std::string t = tile ? tile : "", s = style ? style : "";
    if (t == "0" && s == "0") return 0;
    if (t == "0" && s == "2") return 2;
    if (t == "1" && s == "0") return 3;
    return 1;
}

void SetWallFolder(const char* folder) {
    folderWall = folder ? folder : "";
    SetValueKeySet("KvFolderWall", folderWall.empty() ? nullptr : folderWall.c_str());
    if (hWall) SetDlgItemTextA(hWall, IDFOLDERWALL, folderWall.c_str());
    CompareRegPrelogin();
}

void PrepareWallPage() {
    // The composition's two defaults that are on.
    CheckDlgButton(hWall, IDUSPZ, BST_CHECKED);
    CheckDlgButton(hWall, IDINCREASE, BST_CHECKED);
    HANDLE folderIcon = LoadImageA(hInS, MAKEINTRESOURCEA(IDI_OPENFOLDER), IMAGE_ICON, SmallIconSize(), SmallIconSize(),
                                   LR_DEFAULTCOLOR);
    SendDlgItemMessageA(hWall, IDFOLDERBUTTON, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(folderIcon));
    SendDlgItemMessageA(hWall, IDRSIZE, EM_LIMITTEXT, 8, 0);
    AddToolTip(GetDlgItem(hWall, IDFOLDERBUTTON), IDFOLDERBUTTON, kFolderTip);
    PrepareWallCycle();
}

void ApplyWallPageTexts() {
    SetControlTexts(hWall, "WALL", 10400, 10421);
    FillComboFromLanguage(hWall, IDCEONSC, "WALL", 701, 709);
    FillComboFromLanguage(hWall, IDBITSPIXEL, "WALL", 0, 4);
    FillComboFromLanguage(hWall, IDPRELOG, "WALL", 10, 13);
    ApplyWallCycleTexts();
}

void LoadWallSettings() {
    HeapString file(SetUsetExtenPath(".set"));
    const char* settings = file.get();

    HeapString tile(ReadReestrChar("TileWallpaper", HKEY_CURRENT_USER, "Control Panel\\Desktop", nullptr));
    HeapString style(ReadReestrChar("WallpaperStyle", HKEY_CURRENT_USER, "Control Panel\\Desktop", nullptr));
    SelectCombo(IDCEONSC, GetKeyInt(settings, "set", "KvCeOnSc", PlacementFromSystemStyle(tile.get(), style.get())));
    SelectCombo(IDBITSPIXEL, GetKeyInt(settings, "set", "KvBitsPixel", 0));
    LoadWallCyclePeriod(settings);

    CheckFromFlag(hWall, settings, IDUSPZ, "KvUspz", true);
    CheckFromFlag(hWall, settings, IDINCREASE, "KvIncrease", true);
    CheckFromFlag(hWall, settings, IDINVERS, "KvInvers", false);
    CheckFromFlag(hWall, settings, IDPROCEXCL, "KvProcExcl", false);
    if (IsDlgButtonChecked(hWall, IDPROCEXCL) == BST_CHECKED) StartProcessExclusion();
    else StopProcessExclusion();
    CheckFromFlag(hWall, settings, IDMGOR, "KvMGor", false);
    CheckFromFlag(hWall, settings, IDMVER, "KvMVer", false);

    HeapString folder(GetKey(settings, "set", "KvFolderWall", nullptr));
    HeapString expanded(folder ? ExpandEnvStr(folder.get()) : nullptr);
    // A folder that is not there (a removed disk) is not used this time; the
    // stored choice stays for the next start.
    folderWall = expanded && chdir_access(expanded.get()) ? expanded.get() : "";
    SetDlgItemTextA(hWall, IDFOLDERWALL, folderWall.c_str());
    LoadWallCycleOptions(settings);

    HeapString factor(GetKey(settings, "set", "KvRSize", kDefaultSizeFactor));
    SetDlgItemTextA(hWall, IDRSIZE, factor ? factor.get() : kDefaultSizeFactor);
    CompareRegPrelogin();
}

INT_PTR CALLBACK WallFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (!OnWallCycleCommand(hwnd, LOWORD(wParam), HIWORD(wParam)))
                OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_SHOWWINDOW:
            // The registry is the only record of the logon choice.
            if (wParam) CompareRegPrelogin();
            return FALSE;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IDCOMPHEAD && id != IDCYCLEHEAD) return FALSE;
            return PaintHeading(wParam);
        }
        default:
            return FALSE;
    }
}
