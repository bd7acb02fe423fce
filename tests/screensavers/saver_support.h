// Stand-in savers in the prefix's Windows and system folders, and the
// system's screen-saver setting put back as it was after each test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "system_folders.h"

// The stand-ins the build made: "saver_quoted" (described as
// 'Screen saver "Stand-in"'), "saver_plain" (no description),
// "saver_long" (a description longer than the tray tip).
std::string StandIn(const std::string& name);
const char* const kLongSaverName =
    "Long stand-in 0123456789 abcdefghij 0123456789 abcdefghij 0123456789 abcdefghij 0123456789 abcdefghij "
    "0123456789 abcdefghij 0123456789 abcdefghij end";


// The registry's "SCRNSAVE.EXE" and "ScreenSaveActive" ("<absent>" when
// missing) and the "system.ini" saver ("" when missing).
std::string RegistrySaver();
std::string RegistryActive();
std::string IniSaver();
void SetRegistrySaver(const std::string& path);

// Copies stand-ins in and removes them again; on creation it checks that no
// other saver is there (one could be started for real).
class InstalledSavers {
public:
    InstalledSavers();
    ~InstalledSavers();
    InstalledSavers(const InstalledSavers&) = delete;
    InstalledSavers& operator=(const InstalledSavers&) = delete;

    // The foreign savers found at creation (empty when the folders are ours).
    const std::vector<std::string>& foreign() const { return foreign_; }
    // Installs a stand-in under that name; returns its full path ("" on failure).
    std::string Install(const std::string& standIn, const std::string& folder, const std::string& name);
    void RemoveAll();

private:
    std::vector<std::string> foreign_;
    std::vector<std::string> installed_;
};

// The system setting as it was, put back when it goes.
class KeptSystemSetting {
public:
    KeptSystemSetting();
    ~KeptSystemSetting();
    KeptSystemSetting(const KeptSystemSetting&) = delete;
    KeptSystemSetting& operator=(const KeptSystemSetting&) = delete;

private:
    std::string saver_, active_, ini_;
};
