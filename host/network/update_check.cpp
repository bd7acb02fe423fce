#include "network/update_check.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/globals.h"
#include "network/http_client.h"
#include "network/proxy_link.h"
#include "createpathfile.h"
#include "ids_about.h"
#include "kvinifunction.h"
#include "scopedwin.h"

int bCheck;

namespace {

const char kVersionFile[] = "ExeFiles/LCC/ReadMe.txt";
const char kArchiveFile[] = "ExeFiles/LCC/Dravonel.rar";
const int kStringSize = 20;
const int kDownloadFailed = 100;  // section "STRING"

int LoadFromStringTable(UINT id, char* buffer, int size) { return LoadStringA(hInS, id, buffer, size); }

UpdateMessageBoxFunction messageBox = MessageBoxA;
UpdateStringFunction loadString = LoadFromStringTable;

std::string LoadText(UINT id) {
    char text[kStringSize] = "";
    if (loadString(id, text, sizeof text) <= 0) text[0] = '\0';
    text[kStringSize - 1] = '\0';
    return text;
}

std::string UrlOn(const std::string& host, const char* file) { return "http://" + host + "/" + file; }

// The archive is written beside its place and moved there only once it
// came whole: a failed download neither leaves half an archive nor
// destroys one fetched before.
bool DownloadArchive(const std::string& url, const char* proxy, const std::string& target) {
    const std::string temporary = target + ".new";
    FILE* stream = fopen(temporary.c_str(), "wb");
    if (!stream) return false;
    // The release is the one large download, made on the user's word: it
    // may take longer and be larger than what plug-ins fetch.
    const InetLimits archiveLimits = {10 * 60 * 1000, 64 * 1024 * 1024};
    InetOutcome outcome;
    KvGetInetFileOutcome(url.c_str(), proxy, nullptr, 0, INET_TO_FILE, nullptr, nullptr, stream, nullptr, &outcome,
                         &archiveLimits);
    bool whole = outcome.status >= 200 && outcome.status < 300 && outcome.ended && outcome.delivered > 0 &&
                 (outcome.length < 0 || outcome.delivered == outcome.length);
    if (fflush(stream) != 0 || ferror(stream)) whole = false;
    if (fclose(stream) != 0) whole = false;
    if (whole && MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace

std::string RemoteStampFromLine(const char* line) {
    if (!line) return std::string();
    const char* space = strchr(line, ' ');
    if (!space) return std::string();
    const char* close = strchr(space + 1, ')');
    if (!close) return std::string();
    return std::string(space + 1, close + 1);
}

bool UpdateStampWeight(const char* stamp, float* weight) {
    if (!stamp) return false;
    float version = 0;
    int day = 0, month = 0, year = 0, used = -1;
    if (sscanf(stamp, "%f(%d.%d.%d)%n", &version, &day, &month, &year, &used) != 4 || used < 0 || stamp[used])
        return false;
    struct tm midnight = {};
    midnight.tm_mday = day;
    midnight.tm_mon = month - 1;
    midnight.tm_year = year - 1900;
    const time_t seconds = mktime(&midnight);
    // A date before 1970 has no seconds: taken unsigned it would outweigh
    // every real release.
    if (seconds == static_cast<time_t>(-1)) return false;
    *weight = static_cast<float>(static_cast<uint32_t>(seconds)) * version;
    return true;
}

int CheckUpdateFromHttp(HWND owner, const char* received, const char* local, const char* host, const char* proxy) {
    const std::string remote = RemoteStampFromLine(received);
    if (remote.empty()) return 1;
    float remoteWeight = 0, localWeight = 0;
    if (!UpdateStampWeight(remote.c_str(), &remoteWeight) || !UpdateStampWeight(local, &localWeight)) return 1;
    if (!(remoteWeight > localWeight)) return 1;

    if (messageBox(owner, "New version!!!\nDownload ?", remote.c_str(), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return 0;
    HeapString target(CreatePathFile(nullptr, "Dravonel", ".rar"));
    if (!target) return 0;
    const std::string url = UrlOn(host ? host : "", kArchiveFile);
    if (DownloadArchive(url, proxy, target.get())) {
        messageBox(owner, target.get(), "Possible successfully", MB_OK | MB_ICONINFORMATION);
    } else {
        const std::string text = std::string(Priv(kDownloadFailed, "STRING", ini)) + "\n" + url;
        messageBox(owner, text.c_str(), remote.c_str(), MB_OK | MB_ICONWARNING);
    }
    return 0;
}

void CheckUpdate(HWND owner) {
    if (bCheck) return;
    bCheck = 1;
    const std::string local = LoadText(IDVERSION);
    HeapString proxy(CreatProxyLink());
    for (UINT hostId : {IDWEBHOME, IDWEBMIRROR}) {
        const std::string host = LoadText(hostId);
        const std::string url = UrlOn(host, kVersionFile);
        int count = 0;
        // Only the first line is wanted: reading stops at its CR.
        HeapString line(KvGetInetFile(url.c_str(), proxy.get(), "\r", 0, INET_TO_MEMORY, &count, nullptr, nullptr,
                                      nullptr));
        if (CheckUpdateFromHttp(owner, line.get(), local.c_str(), host.c_str(), proxy.get()) == 0) break;
    }
    bCheck = 0;
}

UpdateMessageBoxFunction SetUpdateMessageBoxFunction(UpdateMessageBoxFunction function) {
    UpdateMessageBoxFunction previous = messageBox;
    messageBox = function ? function : MessageBoxA;
    return previous;
}

UpdateStringFunction SetUpdateStringFunction(UpdateStringFunction function) {
    UpdateStringFunction previous = loadString;
    loadString = function ? function : LoadFromStringTable;
    return previous;
}
