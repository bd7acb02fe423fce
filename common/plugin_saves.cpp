#include "plugin_saves.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "dravonel_plugin.h"
#include "file_replace.h"
#include "kvinifunction.h"

namespace {

const UINT kRetryMilliseconds = 5000;  // as often as the host tries its own

struct KeptFile {
    std::string path, bytes;
};

HWND host = nullptr;
DWORD guiThread = 0;
UINT_PTR retryTimer = 0;
bool ended = false;  // the module is about to go: no timer may call into it
std::vector<KeptFile> keptFiles;
std::vector<std::string> told;  // failed since they last saved, and told so

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool OnGuiThread() { return guiThread && GetCurrentThreadId() == guiThread; }

void CALLBACK RetryTick(HWND, UINT, UINT_PTR, DWORD) {
    if (RetryPluginSaves() && retryTimer) {
        KillTimer(nullptr, retryTimer);
        retryTimer = 0;
    }
}

void Failed(const std::string& path) {
    // Another thread's failure is kept; the GUI thread's next try tells it.
    if (!OnGuiThread()) return;
    if (!retryTimer && !ended) retryTimer = SetTimer(nullptr, 0, kRetryMilliseconds, RetryTick);
    if (std::any_of(told.begin(), told.end(), [&](const std::string& file) { return SamePath(file, path); }))
        return;
    told.push_back(path);
    if (host) SendMessageA(host, KV_SERVICE_MESSAGE, KvSrvSaveFailed, reinterpret_cast<LPARAM>(path.c_str()));
}

void Saved(const std::string& path) {
    told.erase(std::remove_if(told.begin(), told.end(), [&](const std::string& file) { return SamePath(file, path); }),
               told.end());
}

void OnSettingsWrite(const char* file, bool saved) {
    if (!file) return;
    if (saved) Saved(file);
    else Failed(file);
}

std::vector<KeptFile>::iterator KeptFor(const std::string& path) {
    return std::find_if(keptFiles.begin(), keptFiles.end(), [&](const KeptFile& kept) { return SamePath(kept.path, path); });
}

}  // namespace

void WatchPluginSaves(HWND hostWindow) {
    host = hostWindow;
    guiThread = GetCurrentThreadId();
    ended = false;
    SetSettingsWriteObserver(OnSettingsWrite);
}

bool SaveWholeFile(const std::string& path, const std::string& bytes) {
    auto kept = KeptFor(path);
    if (ReplaceFileBytes(path.c_str(), bytes)) {
        if (kept != keptFiles.end()) keptFiles.erase(kept);
        Saved(path);
        return true;
    }
    if (kept != keptFiles.end()) kept->bytes = bytes;
    else keptFiles.push_back({path, bytes});
    Failed(path);
    return false;
}

bool KeptFileBytes(const std::string& path, std::string& bytes) {
    auto kept = KeptFor(path);
    if (kept == keptFiles.end()) return false;
    bytes = kept->bytes;
    return true;
}

void TellSaveRefused(const std::string& path) { Failed(path); }

bool RetryPluginSaves() {
    // The notice is a message box: its loop runs our timer, which must not
    // start a round inside this one.
    static bool retrying = false;
    if (retrying) return false;
    retrying = true;
    bool allSaved = RetrySettingsWrites();
    std::vector<std::string> failed;
    for (size_t i = 0; i < keptFiles.size();) {
        if (ReplaceFileBytes(keptFiles[i].path.c_str(), keptFiles[i].bytes)) {
            Saved(keptFiles[i].path);
            keptFiles.erase(keptFiles.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            allSaved = false;
            failed.push_back(keptFiles[i].path);
            ++i;
        }
    }
    retrying = false;
    for (const std::string& path : failed) Failed(path);
    return allSaved;
}

void EndPluginSaves() {
    RetryPluginSaves();
    if (retryTimer) KillTimer(nullptr, retryTimer);
    retryTimer = 0;
    // Windows closing after this may still save, and a failure is still told.
    ended = true;
}
