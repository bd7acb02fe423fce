// The local weather pages: forecast parts of the Gismeteo and RP5 pages cut
// out and rewritten to work offline with local style sheets and placeholder
// pictures. Standard library only; downloads come through the caller.
#pragma once

#include <functional>
#include <string>

// Base addresses of the services ("http://host" or "http://host:port"):
// configuration, so tests can point them at a local server.
struct WeatherHosts {
    std::string gismeteo;        // forecast pages ("www" host)
    std::string gismeteoSearch;  // town search (host without "www")
    std::string rp5;
};

// Fetches url into body, reading no further than the stop text (none when
// empty). An empty body means the download failed.
using WeatherDownload = std::function<void(const std::string& url, const std::string& stop, std::string& body)>;

// File names in "Weather".
extern const char* const kGismeteoPage;  // "Weather-gismeteo.htm"
extern const char* const kRp5Page;       // "Weather-rp5.htm"
extern const char* const kIndexPage;     // "Weather-index.htm"

// The rewriting rules, on a copy of the text.
std::string RewriteGismeteo(std::string text);
std::string RewriteRp5(std::string text);

// The whole page for a town number (not empty). A download that fails leaves
// its part out and the page is complete with its closing markup; when no
// forecast arrived at all (offline, error pages) the result is empty, so the
// last good page stays.
std::string BuildGismeteoPage(const std::string& town, const WeatherHosts& hosts, const WeatherDownload& download);
std::string BuildRp5Page(const std::string& town, const WeatherHosts& hosts, const WeatherDownload& download);
