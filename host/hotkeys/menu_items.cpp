#include "hotkeys/menu_items.h"

#include <cstdio>
#include <string>

#include "base/command_ids.h"
#include "base/globals.h"
#include "desktop/shell_verbs.h"
#include "hotkeys/row_list.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "createpathfile.h"
#include "ids_menuitems.h"
#include "kvinifunction.h"
#include "scopedwin.h"
#include "screen_dpi.h"

int countRasshItem;

namespace {

// Row geometry in pixels at 96 DPI, scaled for the screen where used.
const int kRowX = 4, kRowPitch = 16, kRowWidth = 230, kRowHeight = 14;
const char kSection[] = "HideMenu";

void (*menuItemsChanged)();

// A context-menu verb's check box, the edit with its text and its "/ex" box.
struct VerbBox {
    int box;
    int edit;
    int exitBox;
};
const VerbBox kVerbBoxes[] = {
    {IDFTOWALL, IDEDFTOWALL, IDFTOWALLEX},
    {IDFTOLIST, IDEDFTOLIST, IDFTOLISTEX},
    {IDDTOLIST, IDEDDTOLIST, IDDTOLISTEX},
};

std::string MachineFile() {
    HeapString file(CreatePathFile(nullptr, "Dravonel", ".ini"));
    return file ? file.get() : "";
}

bool SharedSettings() {
    HeapString user(GetKey(MachineFile().c_str(), "set", "defuser", nullptr));
    return user != nullptr;
}

void ChooseSharedSettings(bool shared) {
    const std::string machine = MachineFile();
    if (!shared) {
        SetKey(machine.c_str(), "set", "defuser", nullptr);
        return;
    }
    // Clicking the chosen box again must not hand everybody's settings to
    // whoever clicked it.
    if (SharedSettings()) return;
    HeapString user(WindowsUserName());
    SetKey(machine.c_str(), "set", "defuser", user ? user.get() : "default");
}

void OnRowClicked(int row) {
    const keyset* record = KeySetOf(GetDlgItem(hRasshItem, row));
    if (!record || !record->keyname || !*record->keyname) return;
    KeyTipUnChecked(".set", kSection, hRasshItem, row, record->keyname);
    if (menuItemsChanged) menuItemsChanged();
}

// Checked: the verbs are written with the "/ex" box as it stands now;
// unchecked: removed. The boxes say what this run wrote, never what an
// earlier one left.
void OnVerbBoxClicked(const VerbBox& verb) {
    const bool checked = IsDlgButtonChecked(hRassh, verb.box) == BST_CHECKED;
    if (!checked) {
        if (verb.box == IDDTOLIST) RemoveContexMenuDirectory();
        else RemoveContexMenuFileTo(verb.box == IDFTOWALL);
        return;
    }
    char text[KV_VERB_TEXT_LIMIT + 1] = "";
    GetDlgItemTextA(hRassh, verb.edit, text, sizeof text);
    if (!text[0]) {
        // Nothing was written: the box must not claim a verb.
        CheckDlgButton(hRassh, verb.box, BST_UNCHECKED);
        return;
    }
    const int exit = IsDlgButtonChecked(hRassh, verb.exitBox) == BST_CHECKED;
    if (verb.box == IDDTOLIST) ContexMenuDirectory(text, exit);
    else ContexMenuFileTo(text, verb.box == IDFTOWALL, exit);
}

}  // namespace

void SetMenuItemsChangedHandler(void (*handler)()) { menuItemsChanged = handler; }

void CreateRasshItem(const char* user, const char* descr, const char* keynameCheck, DravonexFunction pDravonex) {
    const int row = countRasshItem;
    HWND box = CreateRowControl(hRasshItem, "BUTTON", descr ? descr : "", BS_AUTOCHECKBOX | WS_TABSTOP, 0,
                                ScaleForDpi(kRowX), ScaleForDpi(kRowPitch * row + 2), ScaleForDpi(kRowWidth),
                                ScaleForDpi(kRowHeight), row);
    if (!box) return;
    SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(NewKeySet(keynameCheck, pDravonex)));
    if (user && keynameCheck && GetKeyYes(user, kSection, keynameCheck)) CheckDlgButton(hRasshItem, row, BST_CHECKED);
}

void CreateBuiltInMenuItems(const char* user) {
    for (int id = 0; id < BUILTIN_MENU_ITEMS; ++id) {
        char key[16];
        snprintf(key, sizeof key, "KvHide%d", id);
        std::string text = Priv(id, "MAINMENU", ini);
        CreateRasshItem(user, text.c_str(), key, nullptr);
        ++countRasshItem;
    }
}

void LoadMenuItemsSettings(const char* settingsFile) {
    if (countRasshItem == 0) CreateBuiltInMenuItems(settingsFile);
    if (countRasshItem > 0) SetRowScrollRange(hRasshItem, GetDlgItem(hRasshItem, countRasshItem - 1));
}

void LoadUserMode() {
    const bool shared = SharedSettings();
    CheckDlgButton(hRassh, IDSAVETYPE0, shared ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(hRassh, IDSAVETYPE1, shared ? BST_CHECKED : BST_UNCHECKED);
}

void PrepareMenuItemsPage() {
    for (const VerbBox& verb : kVerbBoxes)
        SendDlgItemMessageA(hRassh, verb.edit, EM_LIMITTEXT, KV_VERB_TEXT_LIMIT, 0);
}

void ApplyMenuItemsPageTexts() {
    SetControlTexts(hRassh, "RASSH", 11000, 11013);
    for (int box : {IDFTOWALLEX, IDFTOLISTEX, IDDTOLISTEX}) SetDlgItemTextA(hRassh, box, Priv(0, "RASSH", ini));
}

INT_PTR CALLBACK RasshFunc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND: {
            const int control = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) return TRUE;
            if (hwnd == hRasshItem && control < countRasshItem) OnRowClicked(control);
            else if (hwnd == hRassh && control == IDSAVETYPE0) ChooseSharedSettings(false);
            else if (hwnd == hRassh && control == IDSAVETYPE1) ChooseSharedSettings(true);
            else if (hwnd == hRassh)
                for (const VerbBox& verb : kVerbBoxes)
                    if (control == verb.box) OnVerbBoxClicked(verb);
            return TRUE;
        }
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            if (hwnd != hRasshItem) return FALSE;
            ForScroll(hwnd, message, wParam);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (hwnd != hRassh || GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDHIDEHEAD) return FALSE;
            return PaintHeading(wParam);
        default:
            return FALSE;
    }
}
