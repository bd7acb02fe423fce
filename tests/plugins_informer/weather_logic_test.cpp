// The weather pages' rewriting and building, and the town searches'
// answers, on sample pages made for the tests.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "town_search.h"
#include "weather_pages.h"

namespace {

const char* const kHeadGismeteo =
    "<html><head><LINK rel='stylesheet' href='img/gismeteo.css' type='text/css'>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
    "</head><BODY text=#000000 vLink=#003399 aLink=#ff0000 link=#003399 bgColor=#ffffff leftMargin=0 topMargin=0 "
    "marginheight=0 marginwidth=0>";

// Downloads answered from a table; every request is kept.
struct FakeWeb {
    std::map<std::string, std::string> pages;
    std::vector<std::pair<std::string, std::string>> asked;
    WeatherDownload download() {
        return [this](const std::string& url, const std::string& stop, std::string& body) {
            asked.emplace_back(url, stop);
            auto found = pages.find(url);
            body = found == pages.end() ? std::string() : found->second;
        };
    }
};

WeatherHosts Hosts() { return WeatherHosts{"http://www.g", "http://g", "http://r"}; }

}  // namespace

TEST(WeatherRewriting, GismeteoIconsBecomeLocalPlaceholdersWithClasses) {
    std::string page =
        "<h1 class=\"wtitle\">Moscow</h1><dl><dt class=\"png\" style=\"x\"></dt><dd>Sunny</dd></dl>"
        "<img class=\"png\" src=\"/static/images/icons/old/d.c1.gif\" alt=\"\">"
        "<img class=\"png\" src=\"/static/images/icons/old/n.r3.gif\" alt=\"\">";
    EXPECT_EQ(RewriteGismeteo(page),
              "<h1 class=\"wtitle\">Moscow</h1><dl><img src='img/p.gif' class=\"png\" style=\"x\"></img><br>Sunny</dl>"
              "<img class=\"png\" asrc=\"\" src=\"img/p.gif\" class=sunc alt=\"\">"
              "<img class=\"png\" asrc=\"\" src=\"img/p.gif\" class=nstrm alt=\"\">");
    EXPECT_EQ(RewriteGismeteo("n.c0 d.c0 n.c2 d.s2 n.s2 d.s3 n.r0"), "moon sun mooncl snows nsnows snow nsky");
}

TEST(WeatherRewriting, Rp5ScriptsAndLinksAreSwitchedOff) {
    std::string table =
        "<table id=\"forecastTable\"><tr><td onclick=\"go()\"><img src=\"/img/phase8.png\" class=tPoint "
        "onClick=\"x()\"><script>alert(1)</script><iframe src=\"/ad\"></iframe><a id=archive href=\"/a\">A</a>"
        "</td></tr></table>";
    EXPECT_EQ(RewriteRp5(table),
              "<table id=\"forecastTable\"><tr><td \"go()\"><img src=\"img/p.gif\" class=phase0 "
              "style='display:none'style='display:none'\"x()\"><div style='display:none'>alert(1)</div>"
              "<eframe src=\"ad\"></eframe><a style='display:none' href=\"/a\">A</a></td></tr></table>");
}

TEST(WeatherPages, GismeteoTakesTheForecastOfThreePagesAndSurvivesAFailedOne) {
    FakeWeb web;
    web.pages["http://www.g/city/legacy/4368/"] =
        "<html>menu<h1 class=\"wtitle\">One d.c1</h1><ul class=\"wolinks wrap\">links</ul>";
    web.pages["http://www.g/city/legacy/4368/4"] = "<h1 class=\"wtitle\">Three</h1>";
    web.pages["http://www.g/city/legacy/4368/2"] = "<html>no title here</html>";
    std::string page = BuildGismeteoPage("4368", Hosts(), web.download());
    EXPECT_EQ(page, std::string(kHeadGismeteo) + "<h1 class=\"wtitle\">One sunc</h1><h1 class=\"wtitle\">Three</h1>" +
                        "</body></html>");
    ASSERT_EQ(web.asked.size(), 3u);
    EXPECT_EQ(web.asked[1].first, "http://www.g/city/legacy/4368/2");
    EXPECT_EQ(web.asked[2].second, "<ul class=\"wolinks wrap\">");

    // Nothing arrived: no page, so the last good one stays.
    FakeWeb offline;
    EXPECT_EQ(BuildGismeteoPage("4368", Hosts(), offline.download()), "");
    EXPECT_EQ(BuildRp5Page("5483", Hosts(), offline.download()), "");
}

TEST(WeatherPages, Rp5CarriesItsStylesAndTheForecastTableOnly) {
    FakeWeb web;
    web.pages["http://r/mainStyle.css"] = "td{color:red}";
    web.pages["http://r/town.php?id=5483"] =
        "<head><meta charset=UTF-8></head>before<table id=\"forecastTable\"><tr><td>src=\"/x\"</td></tr></table>"
        "<table>after</table><div id=\"blackOut\">rest";
    EXPECT_EQ(BuildRp5Page("5483", Hosts(), web.download()),
              "<html><head><style>td{color:red}body{background-color:#ffffff}</style>"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
              "<LINK rel='stylesheet' href='img/rp5.css' type='text/css'>"
              "</head><body><table border=0 cellpadding=0 cellspacing=0 width=750><tr><td>"
              "<table id=\"forecastTable\"><tr><td>src=\"x\"</td></tr></table>"
              "</td></tr></table></body></html>");
    ASSERT_EQ(web.asked.size(), 2u);
    EXPECT_EQ(web.asked[1].second, "<div id=\"blackOut\"");

    // No table and no UTF-8: the frame of the page alone.
    web.pages["http://r/town.php?id=1"] = "<html>busy</html>";
    EXPECT_EQ(BuildRp5Page("1", Hosts(), web.download()),
              "<html><head><style>td{color:red}body{background-color:#ffffff}</style>"
              "<LINK rel='stylesheet' href='img/rp5.css' type='text/css'>"
              "</head><body><table border=0 cellpadding=0 cellspacing=0 width=750><tr><td>"
              "</td></tr></table></body></html>");
}

TEST(TownSearch, GismeteoNumberBeforeTheMatchingNameElseTheFirstQuoted) {
    // "Москва" in Windows-1251, as the answer reads after conversion.
    const std::string moscow = "\xEC\xEE\xF1\xEA\xE2\xE0";
    const std::string answer = "{\"1\":\"<span><b>\xCC\xEE\xF1\xEA\xE2\xE0-2<\\/b><\\/span>\",\"4368\":\"<span><b>"
                               "\xCC\xCE\xD1\xCA\xC2\xC0<\\/b><\\/span>, Russia\"}";
    std::string number;
    ASSERT_TRUE(FindGismeteoTown(answer, moscow, number));
    EXPECT_EQ(number, "4368");
    ASSERT_TRUE(FindGismeteoTown(answer, "elsewhere", number));
    EXPECT_EQ(number, "1");
    EXPECT_FALSE(FindGismeteoTown("[]", "elsewhere", number));
    EXPECT_FALSE(FindGismeteoTown("{\"x\":1}", "elsewhere", number));

    EXPECT_EQ(TownQueryName("\xCD\xE8\xE6\xED\xE8\xE9 \xCD\xEE\xE2\xE3\xEE\xF0\xEE\xE4"),
              "\xED\xE8\xE6\xED\xE8\xE9%20\xED\xEE\xE2\xE3\xEE\xF0\xEE\xE4");
    EXPECT_EQ(GismeteoSearchUrl("http://g", "x"), "http://g/ajax/city_search?searchQuery=\xF5x");
}

TEST(TownSearch, Rp5NumberFromTheLinkBeforeTheName) {
    std::string number;
    ASSERT_TRUE(FindRp5Town("<li><a href=\"/5483/ru\">Moskva</a></li>", "moskva", number));
    EXPECT_EQ(number, "5483");
    EXPECT_FALSE(FindRp5Town("<a href=\"/5483/ru\">Moskva-2</a>", "moskva", number));
    // The link must start within 20 characters before the name.
    EXPECT_FALSE(FindRp5Town("<a href=\"/1/\" title=\"a long long title\">Moskva</a>", "moskva", number));
    EXPECT_EQ(Rp5SearchUrl("http://r", "a%20b"), "http://r/vsearch.php?txt=a%20b");
}

TEST(TownSearch, UnicodeEscapesBecomeUtf8) {
    EXPECT_EQ(DecodeUnicodeEscapes("<b>\\u041c\\u043E<\\/b>"), "<b>\xD0\x9C\xD0\xBE<\\/b>");
    EXPECT_EQ(DecodeUnicodeEscapes("\\ud83d\\ude00"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeUnicodeEscapes("\\ud83d!"), "\xEF\xBF\xBD!");
    EXPECT_EQ(DecodeUnicodeEscapes("\\u12G4 \\u12"), "\\u12G4 \\u12");
}
