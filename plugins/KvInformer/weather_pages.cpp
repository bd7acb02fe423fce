#include "weather_pages.h"

#include "plain_text.h"

const char* const kGismeteoPage = "Weather-gismeteo.htm";
const char* const kRp5Page = "Weather-rp5.htm";
const char* const kIndexPage = "Weather-index.htm";

namespace {

const char* const kUtf8Meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">";

void CutAt(std::string& text, const std::string& marker) {
    size_t at = text.find(marker);
    if (at != std::string::npos) text.erase(at);
}

}  // namespace

std::string RewriteGismeteo(std::string text) {
    ReplaceAll(text, "</dd>", "");
    ReplaceAll(text, ".gif\"", "");
    ReplaceAll(text, " src=", " asrc=");
    ReplaceAll(text, "/static/images/icons/old/", "\" src=\"img/p.gif\" class=");
    static const char* const icons[][2] = {
        {"n.c0", "moon"},  {"d.c0", "sun"},    {"n.c1", "moonc"}, {"d.c1", "sunc"},   {"n.c2", "mooncl"},
        {"d.c2", "suncl"}, {"n.c3", "moond"},  {"d.c3", "sund"},  {"n.r0", "nsky"},   {"d.r0", "sky"},
        {"d.r1", "rains"}, {"n.r1", "nrains"}, {"d.r2", "rain"},  {"n.r2", "nrain"},  {"d.s1", "snows"},
        {"n.s1", "nsnows"}, {"d.s2", "snows"}, {"n.s2", "nsnows"}, {"d.s3", "snow"},  {"n.s3", "nsnow"},
        {"d.r3", "strm"},  {"n.r3", "nstrm"},
    };
    for (const auto& icon : icons) ReplaceAll(text, icon[0], icon[1]);
    ReplaceAll(text, "<dt", "<img src='img/p.gif'");
    ReplaceAll(text, "</dt>", "</img>");
    ReplaceAll(text, "<dd>", "<br>");
    return text;
}

std::string RewriteRp5(std::string text) {
    ReplaceAll(text, "phase8", "phase0");
    ReplaceAll(text, "src=\"/", "src=\"");
    ReplaceAll(text, "iframe", "eframe");
    ReplaceAll(text, ".png\"", "");
    ReplaceAll(text, "onclick=", "");
    ReplaceAll(text, "<script", "<div style='display:none'");
    ReplaceAll(text, "</script>", "</div>");
    ReplaceAll(text, "onClick=", "style='display:none'");
    ReplaceAll(text, "id=archive", "style='display:none'");
    ReplaceAll(text, "img/", "img/p.gif\" class=");
    ReplaceAll(text, "class=tPoint ", "style='display:none'");
    return text;
}

std::string BuildGismeteoPage(const std::string& town, const WeatherHosts& hosts, const WeatherDownload& download) {
    std::string page = "<html><head><LINK rel='stylesheet' href='img/gismeteo.css' type='text/css'>";
    page += kUtf8Meta;
    page += "</head><BODY text=#000000 vLink=#003399 aLink=#ff0000 link=#003399 bgColor=#ffffff leftMargin=0 "
            "topMargin=0 marginheight=0 marginwidth=0>";
    static const char* const paths[] = {"/city/legacy/%s/", "/city/legacy/%s/2", "/city/legacy/%s/4"};
    const std::string stop = "<ul class=\"wolinks wrap\">";
    bool arrived = false;
    for (const char* path : paths) {
        std::string address = hosts.gismeteo + path;
        ReplaceAll(address, "%s", town);
        std::string body;
        download(address, stop, body);
        if (!body.empty()) arrived = true;
        CutAt(body, stop);
        size_t title = body.find("<h1 class=\"wtitle\">");
        if (title != std::string::npos) page += RewriteGismeteo(body.substr(title));
    }
    if (!arrived) return std::string();
    page += "</body></html>";
    return page;
}

std::string BuildRp5Page(const std::string& town, const WeatherHosts& hosts, const WeatherDownload& download) {
    std::string page = "<html><head><style>";
    std::string styles;
    download(hosts.rp5 + "/mainStyle.css", std::string(), styles);
    page += styles;
    page += "body{background-color:#ffffff}</style>";

    const std::string stop = "<div id=\"blackOut\"";
    std::string body;
    download(hosts.rp5 + "/town.php?id=" + town, stop, body);
    if (body.empty()) return std::string();
    CutAt(body, stop);
    if (body.find("charset=UTF-8") != std::string::npos) page += kUtf8Meta;
    page += "<LINK rel='stylesheet' href='img/rp5.css' type='text/css'>";
    page += "</head><body><table border=0 cellpadding=0 cellspacing=0 width=750><tr><td>";
    size_t table = body.find("<table id=\"forecastTable\"");
    if (table != std::string::npos) {
        std::string part = body.substr(table);
        size_t end = part.find("</table>");
        if (end != std::string::npos) part.erase(end + 8);
        page += RewriteRp5(part);
    }
    page += "</td></tr></table></body></html>";
    return page;
}
