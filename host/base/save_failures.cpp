#include "base/save_failures.h"

#include <windows.h>

#include <cstring>
#include <string>

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
bool told[2];
bool showing;
bool quiet;

bool* ToldFor(int text) {
    if (text == SAVE_FAILED_LIST) return &told[0];
    if (text == SAVE_FAILED_SETTINGS) return &told[1];
    return nullptr;
}

void OnSettingsWrite(const char* file, bool saved) {
    if (saved) ReportSaveSuccess(SAVE_FAILED_SETTINGS);
    else ReportSaveFailure(SAVE_FAILED_SETTINGS, file);
}

}  // namespace

void ReportSaveFailure(int text, const char* file) {
    bool* toldBefore = ToldFor(text);
    // While a box waits for the user, timers still run and may fail to save
    // again: no box on top of a box.
    if (!toldBefore || *toldBefore || showing || quiet) return;
    *toldBefore = true;
    showing = true;
    const std::string message = Priv(text, "STRING", ini);
    notice(message.c_str(), file ? file : "");
    showing = false;
}

void ReportSaveSuccess(int text) {
    if (bool* toldBefore = ToldFor(text)) *toldBefore = false;
}

void QuietSaveFailures() { quiet = true; }

void WatchSettingsWrites() { SetSettingsWriteObserver(OnSettingsWrite); }

SaveFailureNotice SetSaveFailureNotice(SaveFailureNotice replacement) {
    SaveFailureNotice previous = notice;
    notice = replacement ? replacement : ShowBox;
    return previous;
}
