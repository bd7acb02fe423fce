#include "base/save_failures.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/globals.h"
#include "kvinifunction.h"

namespace {

// Titled with the file's name (a whole path would not fit a title bar),
// the whole path below the text.
void ShowBox(const char* text, const char* file) {
    const char* name = strrchr(file, '\\');
    const std::string message = std::string(text) + "\r\n\r\n" + file;
    MessageBoxA(hMain, message.c_str(), name ? name + 1 : file, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

SaveFailureNotice notice = ShowBox;
bool told[3];
bool showing;
bool quiet;

bool* ToldFor(int kind) {
    if (kind == SAVE_FAILED_LIST) return &told[0];
    if (kind == SAVE_FAILED_SETTINGS) return &told[1];
    if (kind == SAVE_FAILED_WALLPAPER) return &told[2];
    return nullptr;
}

// Whether a failure of the kind is to be told now; it then counts as told.
bool ClaimTelling(int kind) {
    bool* toldBefore = ToldFor(kind);
    // While a box waits for the user, timers still run and may fail to save
    // again: no box on top of a box.
    if (!toldBefore || *toldBefore || showing || quiet) return false;
    *toldBefore = true;
    return true;
}

void Tell(int text, const std::string& file) {
    showing = true;
    const std::string message = Priv(text, "STRING", ini);
    notice(message.c_str(), file.c_str());
    showing = false;
}

struct LaterNotice {
    int text;
    std::string file;
};
std::vector<LaterNotice> laterNotices;

void CALLBACK TellLaterNotices(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::vector<LaterNotice> notices;
    notices.swap(laterNotices);
    for (const LaterNotice& later : notices) Tell(later.text, later.file);
}

void OnSettingsWrite(const char* file, bool saved) {
    if (saved) ReportSaveSuccess(SAVE_FAILED_SETTINGS);
    else ReportSaveFailure(SAVE_FAILED_SETTINGS, file);
}

}  // namespace

void ReportSaveFailure(int kind, const char* file, int text) {
    if (ClaimTelling(kind)) Tell(text ? text : kind, file ? file : "");
}

void ReportSaveFailureSoon(int kind, const char* file, int text) {
    if (!ClaimTelling(kind)) return;
    if (laterNotices.empty()) SetTimer(nullptr, 0, 0, TellLaterNotices);
    laterNotices.push_back({text ? text : kind, file ? file : ""});
}

void ReportSaveSuccess(int kind) {
    if (bool* toldBefore = ToldFor(kind)) *toldBefore = false;
}

void QuietSaveFailures() { quiet = true; }

void WatchSettingsWrites() { SetSettingsWriteObserver(OnSettingsWrite); }

SaveFailureNotice SetSaveFailureNotice(SaveFailureNotice replacement) {
    SaveFailureNotice previous = notice;
    notice = replacement ? replacement : ShowBox;
    return previous;
}
