// The host's windows, tray record, main menu and saver menu made once for
// the in-process tests, and a fixture that starts each test from a clean
// state: only stand-ins installed, nothing selected, nothing stored, the
// system's setting put back afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/main_menu.h"
#include "app/startup.h"
#include "base/globals.h"
#include "desktop/tray_icon.h"
#include "saver_support.h"
#include "screensavers/saver_menu.h"
#include "screensavers/saver_selection.h"
#include "settings_file.h"

class SaverHost : public ::testing::Environment {
public:
    void SetUp() override {
        hInS = GetModuleHandleA(nullptr);
        ASSERT_TRUE(CreateProgramWindows());
        ConnectPageHooks();
        PrepareTrayIcon();
        CreateScreenSaverMenu();
        CreateMainMenu();
    }
};

inline std::string ProgramFolderOfTest() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string folder = self;
    return folder.substr(0, folder.rfind('\\'));
}

class SaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(savers_.foreign().empty()) << "a saver not made by the test: " << savers_.foreign()[0];
        DeleteFileA(settings_.path().c_str());
        for (int control : {10305, 10329}) CheckDlgButton(hBoth, control, BST_UNCHECKED);
        free(SCRNSAVE);
        SCRNSAVE = nullptr;
        lastSCR = -1;
        SetTrayTip("Dravonel");
    }
    void TearDown() override {
        savers_.RemoveAll();
        FindScreenSavers();
        DeleteFileA(settings_.path().c_str());
    }

    // Which item carries the check mark (-1 none, -2 more than one).
    static int CheckedItem() {
        int checked = -1;
        for (int item = 0; item < GetMenuItemCount(hSCRMenu); ++item) {
            if (!(GetMenuState(hSCRMenu, static_cast<UINT>(item), MF_BYPOSITION) & MF_CHECKED)) continue;
            checked = checked == -1 ? item : -2;
        }
        return checked;
    }
    static int ItemOf(const std::string& path) {
        for (int id = 1; id <= ScreenSaverCount(); ++id)
            if (lstrcmpiA(ScreenSaverPath(id), ShortPath(path).c_str()) == 0) return id;
        return -1;
    }

    KeptSystemSetting kept_;
    InstalledSavers savers_;
    SettingsFile settings_{ProgramFolderOfTest()};
};
