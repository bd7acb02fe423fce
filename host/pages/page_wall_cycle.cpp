#include "pages/page_wall_cycle.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/globals.h"
#include "base/timer_ids.h"
#include "dialogs/file_dialogs.h"
#include "dialogs/input_dialog.h"
#include "engine/change_cycle.h"
#include "pages/page_style.h"
#include "pages/page_texts.h"
#include "pages/tooltips.h"
#include "ids_wall.h"
#include "kvfunction.h"
#include "kvinifunction.h"
#include "resource.h"
#include "scopedwin.h"
#include "screen_dpi.h"

HMENU hPeriodMenu;

namespace {

const unsigned kPeriods[] = {0,       5000,    10000,    30000,    60000,    300000,   900000,
                             1800000, 3600000, 7200000, 14400000, 28800000, 57600000, 86400000};
const int kOtherPeriod = 14;
const int kPeriodEntries = 15;
const int kProgramBrowseTip = 18;  // section "TOOLTIP"

// The drop-down index in force before the current selection change.
int previousPeriod;
// An "other" period read at start-up: its label is rebuilt without asking.
bool otherPeriodPending;
unsigned oldTimerOther;
std::string startCommand;

int SelectedPeriod() { return static_cast<int>(SendDlgItemMessageA(hWall, IDPERIOD, CB_GETCURSEL, 0, 0)); }

void SetOtherLabel(int seconds) {
    char label[200];
    if (seconds > 0) {
        std::string first = Priv(11, "STRING", ini);
        snprintf(label, sizeof label, "%s %d %s", first.c_str(), seconds, Priv(12, "STRING", ini));
    } else {
        lstrcpynA(label, Priv(11, "STRING", ini), sizeof label);
    }
    HWND combo = GetDlgItem(hWall, IDPERIOD);
    const int selected = SelectedPeriod();
    SendMessageA(combo, CB_DELETESTRING, kOtherPeriod, 0);
    SendMessageA(combo, CB_INSERTSTRING, kOtherPeriod, reinterpret_cast<LPARAM>(label));
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

void CheckPeriodMenu(int index) {
    for (int item = 0; item < kPeriodEntries; ++item)
        CheckMenuItem(hPeriodMenu, static_cast<UINT>(item), MF_BYCOMMAND | (item == index ? MF_CHECKED : MF_UNCHECKED));
}

void BackToPrevious() {
    SendDlgItemMessageA(hWall, IDPERIOD, CB_SETCURSEL, previousPeriod, 0);
    StartChangeTimer();
}

// Asks for the seconds of "other"; false when the previous period stays.
bool AskOtherPeriod(int& index) {
    HeapString settings(SetUsetExtenPath(".set"));
    HeapString stored(GetKey(settings.get(), "set", "TimerOther", "0"));
    HeapString answer(InputDialog(hMain, 9, 10, stored ? stored.get() : "0", true));
    if (!answer) {
        if (previousPeriod != kOtherPeriod) {
            SetOtherLabel(0);
            SetValueKeySet("TimerOther", nullptr);
        }
        BackToPrevious();
        return false;
    }
    const long seconds = atol(answer.get());
    if (seconds < 0) {
        BackToPrevious();
        return false;
    }
    currentTimer = OtherPeriodMilliseconds(seconds);
    if (!currentTimer) {
        index = 0;
        SendDlgItemMessageA(hWall, IDPERIOD, CB_SETCURSEL, 0, 0);
        SetOtherLabel(0);
        SetValueKeySet("TimerOther", nullptr);
        return true;
    }
    SetOtherLabel(static_cast<int>(currentTimer / 1000));
    SetValueKeySetInt("TimerOther", static_cast<int>(currentTimer / 1000));
    return true;
}

void OnPeriodChanged() {
    KillTimer(hMain, Timer03);
    int index = SelectedPeriod();
    if (index < 0) return;
    if (index == kOtherPeriod) {
        if (otherPeriodPending) {
            otherPeriodPending = false;
            currentTimer = oldTimerOther;
            SetOtherLabel(static_cast<int>(oldTimerOther / 1000));
        } else if (!AskOtherPeriod(index)) {
            return;
        }
    } else {
        otherPeriodPending = false;
        currentTimer = PeriodMilliseconds(index);
    }
    previousPeriod = index;
    CheckPeriodMenu(index);
    SetValueKeySetInt("KvPeriod", index);
    StartChangeTimer();
}


void ChooseProgramForOpen() {
    HeapString program(OpenSingleFileDialog(hMain, "Any Files (*.exe)\0*.exe\0", nullptr, ".exe", 1));
    if (program) SetDlgItemTextA(hWall, IDPROGFOROPEN, program.get());
}

void StoreTextField(HWND page, int control, const char* key) {
    if (!startProgress) return;
    HeapString text(GetItemChar(page, control));
    SetValueKeySet(key, text.get());
    if (control == IDCMDSTART) startCommand = text ? text.get() : "";
}

}  // namespace

unsigned PeriodMilliseconds(int index) {
    if (index < 0 || index >= static_cast<int>(sizeof kPeriods / sizeof kPeriods[0])) return 0;
    return kPeriods[index];
}

unsigned OtherPeriodMilliseconds(long seconds) {
    if (seconds <= 0) return 0;
    // The longest period a system timer accepts (USER_TIMER_MAXIMUM).
    const unsigned long longest = 0x7FFFFFFFul / 1000;
    return static_cast<unsigned>((static_cast<unsigned long>(seconds) > longest ? longest : seconds) * 1000);
}

void PrepareWallCycle() {
    CheckDlgButton(hWall, IDFULLSCR, BST_CHECKED);
    CheckDlgButton(hWall, IDREMREC, BST_CHECKED);
    CheckDlgButton(hWall, IDASKDEL, BST_CHECKED);
    SendDlgItemMessageA(hWall, IDCPUPICK, EM_LIMITTEXT, 2, 0);
    HANDLE icon = LoadImageA(hInS, MAKEINTRESOURCEA(IDI_OPENPICTURE), IMAGE_ICON, SmallIconSize(), SmallIconSize(),
                             LR_DEFAULTCOLOR);
    SendDlgItemMessageA(hWall, IDPROGBROWSE, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    AddToolTip(GetDlgItem(hWall, IDPROGBROWSE), IDPROGBROWSE, kProgramBrowseTip);
}

void ApplyWallCycleTexts() {
    FillComboFromLanguage(hWall, IDPERIOD, "WALL", 20, 34);
    if (hPeriodMenu) DestroyMenu(hPeriodMenu);
    hPeriodMenu = CreatePopupMenu();
    for (int item = 0; item < kPeriodEntries; ++item)
        AppendMenuA(hPeriodMenu, MF_STRING | (item == 0 ? MF_CHECKED : MF_UNCHECKED), static_cast<UINT_PTR>(item),
                    Priv(20 + item, "WALL", ini));
}

void LoadWallCyclePeriod(const char* settings) {
    int index = GetKeyInt(settings, "set", "KvPeriod", 0);
    if (index < 0 || index >= kPeriodEntries) index = 0;
    const long seconds = GetKeyInt(settings, "set", "TimerOther", 0);
    oldTimerOther = OtherPeriodMilliseconds(seconds);
    otherPeriodPending = index == kOtherPeriod && oldTimerOther != 0;
    if (index == kOtherPeriod && !oldTimerOther) index = 0;
    previousPeriod = index;
    SendDlgItemMessageA(hWall, IDPERIOD, CB_SETCURSEL, index, 0);
    SendMessageA(hWall, WM_COMMAND, MAKEWPARAM(IDPERIOD, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(hWall, IDPERIOD)));
}

void LoadWallCycleOptions(const char* settings) {
    CheckFromFlag(hWall, settings, IDFULLSCR, "KvFullScr", true);
    CheckFromFlag(hWall, settings, IDRANDOM, "KvRandom", false);
    CheckFromFlag(hWall, settings, IDREMREC, "KvRemRec", true);
    CheckFromFlag(hWall, settings, IDASKDEL, "KvAskDel", true);
    CheckFromFlag(hWall, settings, IDCPUSTOP, "KvCpuStop", false);
    SetDlgItemInt(hWall, IDCPUPICK, GetKeyInt(settings, "set", "KvCpuPick", 50), TRUE);
    HeapString program(GetKey(settings, "set", "KvProgForOpen", ""));
    SetDlgItemTextA(hWall, IDPROGFOROPEN, program ? program.get() : "");
    HeapString command(GetKey(settings, "set", "KvCmdStart", ""));
    startCommand = command ? command.get() : "";
    SetDlgItemTextA(hWall, IDCMDSTART, startCommand.c_str());
}

void SelectPeriod(int index) {
    if (index < 0 || index >= kPeriodEntries) return;
    SendDlgItemMessageA(hWall, IDPERIOD, CB_SETCURSEL, index, 0);
    SendMessageA(hWall, WM_COMMAND, MAKEWPARAM(IDPERIOD, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(hWall, IDPERIOD)));
}

const char* StartCommand() { return startCommand.c_str(); }

bool OnWallCycleCommand(HWND page, int control, int notification) {
    switch (control) {
        case IDPERIOD:
            if (notification == CBN_SELCHANGE) OnPeriodChanged();
            return true;
        case IDRANDOM:
            KeyTipUnCheckedSet(page, control, "KvRandom");
            return true;
        case IDFULLSCR:
            KeyTipCheckedSet(page, control, "KvFullScr");
            return true;
        case IDREMREC:
            KeyTipCheckedSet(page, control, "KvRemRec");
            return true;
        case IDASKDEL:
            KeyTipCheckedSet(page, control, "KvAskDel");
            return true;
        case IDCPUSTOP:
            KeyTipUnCheckedSet(page, control, "KvCpuStop");
            return true;
        case IDCPUPICK:
            if (notification == EN_CHANGE) StoreTextField(page, control, "KvCpuPick");
            return true;
        case IDPROGFOROPEN:
            if (notification == EN_CHANGE) StoreTextField(page, control, "KvProgForOpen");
            return true;
        case IDCMDSTART:
            if (notification == EN_CHANGE) StoreTextField(page, control, "KvCmdStart");
            return true;
        case IDPROGBROWSE:
            ChooseProgramForOpen();
            return true;
        default:
            return false;
    }
}
