#include "informer_plugin.h"

#include <algorithm>
#include <random>

#include "dravonel_plugin.h"
#include "folder_rotation.h"
#include "informer_files.h"
#include "informer_geometry.h"
#include "informer_page.h"
#include "informer_services.h"
#include "kvinifunction.h"
#include "plugin_saves.h"
#include "saved_page.h"
#include "scopedwin.h"

PluginState plugin;

namespace {

std::string SettingsFile() {
    if (!plugin.settingsFile.empty()) return plugin.settingsFile;
    HeapString path(SetUsetExtenPath(".set"));
    return path ? path.get() : std::string();
}

void Shuffle(std::vector<std::string>& pictures) {
    static std::mt19937 generator(GetTickCount() ^ GetCurrentProcessId());
    std::shuffle(pictures.begin(), pictures.end(), generator);
}

std::vector<std::string> SortedPictures(const Informer& informer) {
    std::vector<std::string> pictures = ListPictureFiles(Expanded(informer.url));
    SortPicturePaths(pictures);
    return pictures;
}

// Runs the page-to-picture tool and waits for it. A tool that hangs is ended
// after a minute (it keeps a time limit of its own), so the host is not
// blocked for ever.
void RunRenderTool(const std::string& commandLine, const std::string& program) {
    std::string mutableLine = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.c_str(), &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return;
    ScopedHandle process(started.hProcess), thread(started.hThread);
    if (WaitForSingleObject(process.get(), 60000) == WAIT_TIMEOUT) TerminateProcess(process.get(), 0);
}

void Render(const Informer& informer) {
    std::string page = InformerPageFile(informer.name);
    if (!IsExistingFile(page)) return;
    std::string tool = ProgramFile("Tool", "KvHtmlToPic");
    RunRenderTool(RenderCommandLine(tool, page, InformerRenderBox(informer), InformerPictureFile(informer.name)),
                  tool + ".exe");
}

// The page-to-picture tool shows a downloaded page from a local file; the
// mark gives it the Internet zone's rights instead of the local machine's.
bool MarkAsFromInternet(const std::string& file) {
    std::string page;
    return ReadWholeFile(file, page) && WriteFileReplacing(file, MarkedAsFromInternet(page));
}

// A download lands beside its target and replaces it only when a whole
// answer of success came with something in it (for a picture: something
// the host can load), so a failed one or an error page keeps the previous
// file.
void Download(const std::string& url, const std::string& target, bool picture) {
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(WeatherFolder().c_str(), "inf", 0, temporary)) return;
    bool usable = HostDownloadToFile(url, temporary);
    if (usable && picture) {
        SIZE size = {};
        void* loaded = HostLoadPicture(temporary, &size);
        usable = loaded != nullptr;
        HostReleasePicture(loaded);
    }
    if (usable && !picture) usable = MarkAsFromInternet(temporary);
    if (!usable || !ReplaceFileWith(temporary, target)) DeleteFileA(temporary);
}

}  // namespace

std::string LanguageText(const char* section, int id) {
    return Priv(id, section, plugin.languageFile.c_str());
}

std::string InformerText(int id) { return LanguageText("INFORMER", id); }

std::string InformerDisplayName(const char* languageFile) {
    char name[100] = "";
    GetPrivateProfileStringA("INFORMER", "Name", "KvInformer", name, sizeof name, languageFile);
    return name;
}

std::string ReadSetting(const char* key, const char* fallback) {
    std::string file = SettingsFile();
    HeapString value(GetKey(file.c_str(), "set", key, fallback));
    return value ? value.get() : std::string();
}

void WriteSetting(const char* key, const std::string& value) {
    std::string file = SettingsFile();
    SetKey(file.c_str(), "set", key, value.empty() ? nullptr : value.c_str());
}

bool DrawingOn() {
    std::string file = SettingsFile();
    return GetKeyYes(file.c_str(), "set", "KvDrInform") == 0;
}

void ToggleDrawing() {
    bool on = !DrawingOn();
    WriteSetting("KvDrInform", on ? "" : "0");
    ShowDrawingOnPage(on);
    if (plugin.menuBase >= 0) HostCheckMenuItem(plugin.menuBase, on);
    HostUpdateWallpaper();
}

void LoadInformers() {
    const std::string path = InformerFilePath();
    std::string bytes;
    // A save still waiting holds what the file is to hold.
    plugin.informersRead = KeptFileBytes(path, bytes) || ReadWholeFile(path, bytes) || !IsExistingFile(path);
    if (!plugin.informersRead) bytes.clear();
    plugin.informers = ParseInformerText(bytes);
}

bool InformersReadable() {
    if (!plugin.informersRead) LoadInformers();
    if (!plugin.informersRead) TellSaveRefused(InformerFilePath());
    return plugin.informersRead;
}

bool SaveInformers() {
    const std::string path = InformerFilePath();
    bool sound = plugin.informersRead;
    for (const Informer& informer : plugin.informers) sound = sound && CheckInformerLine(informer) == INFORMER_LINE_FITS;
    if (!sound) {
        TellSaveRefused(path);
        return false;
    }
    return SaveWholeFile(path, FormatInformerText(plugin.informers));
}

bool ResetInformers() {
    std::string defaults = ResourceBytes("INFFILE");
    if (defaults.empty() || !SaveWholeFile(InformerFilePath(), defaults)) return false;
    LoadInformers();
    return true;
}

void RenameInformer(Informer& informer, const std::string& name) {
    const std::string from = InformerFileName(informer.filesUnder.empty() ? informer.name : informer.filesUnder);
    const std::string to = InformerFileName(name);
    auto same = [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; };
    bool fromShared = false, toTaken = false;
    for (const Informer& other : plugin.informers) {
        if (&other == &informer) continue;
        fromShared = fromShared || same(InformerFileName(other.name), from);
        toTaken = toTaken || same(InformerFileName(other.name), to);
    }
    informer.name = name;
    if (from == to) {
        informer.filesUnder.clear();
        return;
    }
    // Files of that name are another informer's: ours wait under the old.
    if (toTaken) {
        informer.filesUnder = from;
        return;
    }
    const std::string folder = WeatherFolder();
    for (const char* suffix : {"", ".html"}) {
        const std::string source = folder + from + suffix, target = folder + to + suffix;
        if (!IsExistingFile(source)) continue;
        // An informer of the old name still draws from those files.
        if (fromShared) CopyFileA(source.c_str(), target.c_str(), FALSE);
        else MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
    }
    informer.filesUnder.clear();
}

void FetchInformer(Informer& informer) {
    if (informer.kind == INFORMER_PICTURE || informer.kind == INFORMER_WEB_PAGE) {
        std::string url = Expanded(InformerFetchUrl(informer));
        bool page = informer.kind == INFORMER_WEB_PAGE;
        if (IsExistingFile(url)) {
            if (page) CopyFileA(url.c_str(), InformerPageFile(informer.name).c_str(), FALSE);
        } else if (!url.empty()) {
            Download(url, page ? InformerPageFile(informer.name) : InformerPictureFile(informer.name), !page);
        }
    }
    if (informer.kind == INFORMER_WEB_PAGE || informer.kind == INFORMER_HTML) Render(informer);
    if (informer.kind == INFORMER_FOLDER && informer.advanceOnFetch)
        AdvancePicture(informer, [&informer] { return SortedPictures(informer); }, Shuffle);
}

std::vector<size_t> AllInformers() {
    std::vector<size_t> all;
    for (size_t i = 0; i < plugin.informers.size(); ++i) all.push_back(i);
    return all;
}

std::vector<size_t> EnabledInformers() {
    std::vector<size_t> enabled;
    for (size_t i = 0; i < plugin.informers.size(); ++i)
        if (plugin.informers[i].enabled) enabled.push_back(i);
    return enabled;
}

void UpdateInformers(const std::vector<size_t>& which, bool reapply) {
    bool keepIndex = false;
    for (size_t i : which) {
        if (i >= plugin.informers.size()) continue;
        Informer& informer = plugin.informers[i];
        FetchInformer(informer);
        if (informer.kind == INFORMER_FOLDER && informer.advanceOnFetch && !informer.random) keepIndex = true;
    }
    if (keepIndex) SaveInformers();
    RefreshPagePreview();
    if (reapply) HostUpdateWallpaper();
}

std::string InformerPicturePath(Informer& informer, bool advance) {
    switch (informer.kind) {
    case INFORMER_NEXT_WALL:
        return HostNextWallpaperPath();
    case INFORMER_FOLDER: {
        auto list = [&informer] { return SortedPictures(informer); };
        if (advance && !informer.advanceOnFetch) AdvancePicture(informer, list, Shuffle);
        return CurrentPicture(informer, list, Shuffle);
    }
    case INFORMER_PICTURE: {
        std::string local = Expanded(informer.url);
        if (IsExistingFile(local)) return local;
        return InformerPictureFile(informer.name);
    }
    default:
        return InformerPictureFile(informer.name);
    }
}

void DrawInformers(HDC wallpaper) {
    if (!wallpaper || !DrawingOn()) return;
    bool keepIndex = false;
    for (size_t i = 0; i < plugin.informers.size(); ++i) {
        Informer& informer = plugin.informers[i];
        if (!informer.enabled) continue;
        if (informer.kind == INFORMER_CALENDAR) {
            s_month month = {informer.x, informer.y, static_cast<unsigned char>(informer.calendarScale), 0, 0};
            s_drawcalendar request = {wallpaper, &month, const_cast<char*>(informer.year.c_str()),
                                      const_cast<char*>(informer.month.c_str())};
            HostService(KvSrvDrawCalendar, &request);
            continue;
        }
        if (informer.kind == INFORMER_FOLDER && !informer.random) keepIndex = true;
        std::string path = InformerPicturePath(informer, true);
        if (path.empty()) continue;
        SIZE pictureSize = {};
        void* picture = HostLoadPicture(path, &pictureSize);
        if (!picture) continue;
        InformerSize drawn = InformerDrawSize(informer, pictureSize.cx, pictureSize.cy);
        HBITMAP bitmap = nullptr;
        SIZE size = {drawn.width, drawn.height};
        if (size.cx > 0 && size.cy > 0)
            bitmap = HostImageToBitmap(picture, &pictureSize, &size, informer.border,
                                       static_cast<COLORREF>(informer.borderColour), informer.borderThickness);
        HostReleasePicture(picture);
        if (!bitmap) continue;
        s_drawbit request = {};
        request.hDC = wallpaper;
        request.hBit = bitmap;
        request.xbit = informer.x;
        request.ybit = informer.y;
        request.wbit = size.cx;
        request.hbit = size.cy;
        request.trans = informer.colourKey ? 1 : 0;
        request.alpha = static_cast<float>(informer.transparency) / 10.0f;
        request.otnpos = static_cast<BYTE>(informer.anchor);
        request.RevCol = 0;
        request.Tolerance = static_cast<BYTE>(informer.tolerance);
        request.Angle = static_cast<BYTE>(informer.keySource);
        request.TransCol = static_cast<COLORREF>(informer.keyColour);
        HostService(KvSrvDrawBitmap, &request);
        DeleteObject(bitmap);
    }
    if (keepIndex) SaveInformers();
}
