#include "weather.h"

#include <windows.h>

#include <vector>

#include "informer_files.h"
#include "informer_plugin.h"
#include "informer_services.h"
#include "kvinifunction.h"
#include "plain_text.h"
#include "saved_page.h"
#include "scopedwin.h"
#include "system_programs.h"
#include "town_search.h"

namespace {

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), buffer.data(), wide);
    int narrow = WideCharToMultiByte(to, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::string();
    std::string out(static_cast<size_t>(narrow), '\0');
    WideCharToMultiByte(to, 0, buffer.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

// Only a whole answer of success counts: an error page would pass for a
// forecast.
void Fetch(const std::string& url, const std::string& stop, std::string& body) { HostDownload(url, stop, body); }

// A page built from what arrived replaces the last good one; nothing
// arrived, nothing replaced.
void KeepPage(const std::string& path, const std::string& page) {
    if (!page.empty()) WriteFileReplacing(path, MarkedAsFromInternet(page));
}

std::string Browser() {
    std::string browser = TrimBlanks(ReadSetting("KvBrowser"));
    if (!browser.empty()) return browser;
    HeapString system(ReadReestrChar("", HKEY_LOCAL_MACHINE,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE", nullptr));
    if (system && *system.get()) {
        std::string path = Expanded(system.get());
        if (path.size() > 1 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
        if (!path.empty()) return path;
    }
    return WindowsProgramPath("explorer.exe");
}

// Stored whenever a page is built from it or a search finds it.
void StoreTown(const char* key, const std::string& town) { WriteSetting(key, town); }

}  // namespace

WeatherHosts ConfiguredHosts() {
    WeatherHosts hosts;
    hosts.gismeteo = ReadSetting("KvGismeteoHost", "http://www.gismeteo.ru");
    hosts.gismeteoSearch = ReadSetting("KvGismeteoSearchHost", "http://gismeteo.ru");
    hosts.rp5 = ReadSetting("KvRp5Host", "http://rp5.ru");
    return hosts;
}

void UpdateWeatherPages(const std::string& gismeteoTown, const std::string& rp5Town) {
    WeatherHosts hosts = ConfiguredHosts();
    std::string folder = WeatherFolder();
    if (!gismeteoTown.empty()) {
        StoreTown("KvTownNum", gismeteoTown);
        KeepPage(folder + kGismeteoPage, BuildGismeteoPage(gismeteoTown, hosts, Fetch));
    }
    if (!rp5Town.empty()) {
        StoreTown("KvTownNum2", rp5Town);
        KeepPage(folder + kRp5Page, BuildRp5Page(rp5Town, hosts, Fetch));
    }
    WriteWeatherIndex();
}

std::string WriteWeatherIndex() {
    std::string index = WeatherFolder() + kIndexPage;
    WriteFileReplacing(index, ResourceBytes("INDEXFILE"));
    return index;
}

void OpenWeatherIndex() {
    std::string index = WeatherFolder() + kIndexPage;
    std::string argument = "\"" + index + "\"";
    ShellExecuteA(nullptr, "open", Browser().c_str(), argument.c_str(), nullptr, SW_SHOWNORMAL);
}

void SearchTowns(const std::string& townName, std::string& gismeteoTown, std::string& rp5Town) {
    gismeteoTown.clear();
    rp5Town.clear();
    std::string name = TrimBlanks(townName);
    if (name.empty()) return;
    WeatherHosts hosts = ConfiguredHosts();
    // Matching takes the name as typed (lower case); only the request
    // carries blanks as "%20".
    std::string lower = FoldCase(name);
    std::string query = TownQueryName(name);

    std::string answer;
    HostDownload(GismeteoSearchUrl(hosts.gismeteoSearch, query), std::string(), answer);
    std::string ansi = Convert(DecodeUnicodeEscapes(answer), CP_UTF8, CP_ACP);
    if (FindGismeteoTown(ansi, lower, gismeteoTown)) StoreTown("KvTownNum", gismeteoTown);

    // RP5 answers in UTF-8 or in the ANSI code page, depending on the query.
    const std::string noResults = "ничего не";
    std::string utf8Query = Convert(query, CP_ACP, CP_UTF8);
    HostDownload(Rp5SearchUrl(hosts.rp5, utf8Query), Convert(noResults, CP_ACP, CP_UTF8), answer);
    bool found = FindRp5Town(Convert(answer, CP_UTF8, CP_ACP), lower, rp5Town);
    if (!found) {
        HostDownload(Rp5SearchUrl(hosts.rp5, query), noResults, answer);
        found = FindRp5Town(answer, lower, rp5Town);
    }
    if (found) StoreTown("KvTownNum2", rp5Town);
}
