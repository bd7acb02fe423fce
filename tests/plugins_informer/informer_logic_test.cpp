// The informer's plain logic: the ".inf" lines, the command-line switches,
// the folder rotation and the drawing geometry.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "folder_rotation.h"
#include "informer_geometry.h"
#include "informer_record.h"
#include "informer_switches.h"
#include "town_search.h"
#include "weather_pages.h"

namespace {

Informer Parsed(const std::string& line) {
    Informer informer;
    EXPECT_TRUE(ParseInformerLine(line, informer)) << line;
    return informer;
}

}  // namespace

TEST(InformerFile, FieldsReadFromTheEndSoTheFirstOccurrenceWins) {
    EXPECT_EQ(Parsed("#Nx#X5#X7").x, 5);

    // Any order; V, Z and text before the first field are ignored; a "#" that
    // no capital follows stays in the value.
    Informer informer = Parsed("#junk#Y-20#Uhttp://h/p#frag?a=1#Nbadge#V9#Z3#S3#D1#K2#Q255#P2");
    EXPECT_EQ(informer.name, "badge");
    EXPECT_EQ(informer.y, -20);
    EXPECT_EQ(informer.url, "http://h/p#frag?a=1");
    EXPECT_EQ(informer.kind, 3);
    EXPECT_EQ(informer.enabled, 1);
    EXPECT_EQ(informer.anchor, 2);
    EXPECT_EQ(informer.keyColour, 255);
    EXPECT_EQ(informer.aspect, 2);

    // Byte fields keep their low byte; numbers too large for int are held.
    informer = Parsed("#Nb#K300#T-1#X99999999999#Y-99999999999");
    EXPECT_EQ(informer.anchor, 44);
    EXPECT_EQ(informer.transparency, 255);
    EXPECT_EQ(informer.x, 2147483647);
    EXPECT_EQ(informer.y, -2147483647 - 1);
}

TEST(InformerFile, LinesWithoutANameOrHashAreDropped) {
    std::string text =
        "#Na#X1\r\n"
        "#X2#N\r\n"           // empty name
        "#X3\n"               // no name
        "Nb#X4\n"             // not a field line
        "\n"
        "#Nc#X5";             // last line without line end
    std::vector<Informer> informers = ParseInformerText(text);
    ASSERT_EQ(informers.size(), 2u);
    EXPECT_EQ(informers[0].name, "a");
    EXPECT_EQ(informers[1].name, "c");
    EXPECT_EQ(informers[1].x, 5);
}

TEST(InformerFile, LongLinesAreCutAndTheirRestDropped) {
    // The rest of a long line must not come back as a line of its own.
    std::string line = "#Nlong#U" + std::string(1200, 'u') + "#X7#Nghost\n#Nnext\n";
    std::vector<Informer> informers = ParseInformerText(line);
    ASSERT_EQ(informers.size(), 2u);
    EXPECT_EQ(informers[0].name, "long");
    EXPECT_EQ(informers[0].x, 0);
    EXPECT_EQ(informers[0].url.size(), 999u - 8u);
    EXPECT_EQ(informers[1].name, "next");
}

TEST(InformerFile, WritesTheFixedFormatAndReadsItBack) {
    Informer informer = Parsed("#Nw#X10#Y250#T2#D1#S5#Uhttp://a/$P-7.GIF#P27612#M+1#E-1#I3#G65280");
    EXPECT_EQ(FormatInformerLine(informer),
              "#Nw#X10#Y250#H0#W0#K0#T2#D1#B0#S5#L0#A0#Uhttp://a/$P-7.GIF#P27612#C0#M+1#E-1#R0#I3#F0#J0#G65280"
              "#O0#Q0\r\n");
    informer.name = "two\r\nlines";
    std::vector<Informer> back = ParseInformerText(FormatInformerText({informer, informer}));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].name, "two  lines");
    EXPECT_EQ(back[1].aspect, 27612);
    EXPECT_EQ(back[1].month, "+1");
}

TEST(InformerFile, LinesThatWouldNotReadBackAreRefusedNeverCut) {
    Informer informer;
    informer.name = "forecast";
    informer.keyColour = 255;
    informer.url = "http://a/forecast.html#today";  // a lower-case letter starts no field
    ASSERT_EQ(CheckInformerLine(informer), INFORMER_LINE_FITS);
    EXPECT_EQ(ParseInformerText(FormatInformerLine(informer))[0].url, informer.url);

    informer.url = "http://a/forecast.html#Today";
    EXPECT_EQ(CheckInformerLine(informer), INFORMER_LINE_FIELD_MARK);
    informer.url.clear();
    informer.month = "#M";
    EXPECT_EQ(CheckInformerLine(informer), INFORMER_LINE_FIELD_MARK);
    informer.month.clear();

    // The longest line that fits comes back whole, key colour and all.
    const size_t room = INFORMER_LINE_MAX - (FormatInformerLine(informer).size() - 2);
    informer.url = std::string(room, 'u');
    ASSERT_EQ(CheckInformerLine(informer), INFORMER_LINE_FITS);
    EXPECT_EQ(FormatInformerLine(informer).size(), INFORMER_LINE_MAX + 2u);
    const Informer back = ParseInformerText(FormatInformerLine(informer))[0];
    EXPECT_EQ(back.url, informer.url);
    EXPECT_EQ(back.keyColour, 255);
    informer.url += 'u';
    EXPECT_EQ(CheckInformerLine(informer), INFORMER_LINE_TOO_LONG);
}

TEST(InformerFile, LegacyTownNumberInPFillsThePlaceholder) {
    Informer informer = Parsed("#Ngismeteo#Uhttp://informer.gismeteo.ru/$P-7.GIF#P27612");
    EXPECT_EQ(InformerFetchUrl(informer), "http://informer.gismeteo.ru/27612-7.GIF");
    EXPECT_EQ(InformerAspect(informer), ASPECT_NONE);
    informer.aspect = 2;  // an aspect mode is no town number
    EXPECT_EQ(InformerFetchUrl(informer), "http://informer.gismeteo.ru/$P-7.GIF");
    EXPECT_EQ(InformerFileName("..\\..\\evil:name"), ".._.._evil_name");
    EXPECT_EQ(InformerFileName(".."), "__");
}

TEST(InformerFile, AnyBytesAreSafe) {
    std::mt19937 random(19);
    const char letters[] = "#NXYUPSKIV\r\n\0-9abc\xF5 ";
    const std::string alphabet(letters, sizeof letters - 1);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        size_t length = random() % 300;
        for (size_t i = 0; i < length; ++i)
            bytes += random() % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random());
        std::vector<Informer> informers = ParseInformerText(bytes);
        ParseInformerText(FormatInformerText(informers));
        std::vector<std::string> names;
        for (const Informer& informer : informers) names.push_back(informer.name);
        ParseInformerSwitches(bytes, names);
        RewriteGismeteo(bytes);
        RewriteRp5(bytes);
        std::string number;
        FindGismeteoTown(bytes, "a", number);
        FindRp5Town(bytes, "", number);
        DecodeUnicodeEscapes(bytes);
    }
}

TEST(InformerSwitches, UpdatesTheEnabledAndTheNamedAndHandsBackTheRest) {
    std::vector<std::string> names = {"gismeteo", "weather", "weather2", "w"};
    InformerSwitches found = ParseInformerSwitches("a.jpg /ui /weather", names);
    EXPECT_TRUE(found.updateEnabled);
    EXPECT_FALSE(found.updateAll || found.weatherAndOpen || found.weatherOnly);
    EXPECT_EQ(found.named, std::vector<size_t>({1}));
    EXPECT_EQ(found.rest, "a.jpg");

    // The longest name is taken first; every occurrence goes.
    found = ParseInformerSwitches("/weather2 /up /up x", names);
    EXPECT_EQ(found.named, std::vector<size_t>({2}));
    EXPECT_TRUE(found.weatherOnly);
    EXPECT_EQ(found.rest, "x");

    found = ParseInformerSwitches("/uo/us", {"a", "a"});
    EXPECT_TRUE(found.updateAll && found.weatherAndOpen);
    EXPECT_TRUE(ParseInformerSwitches("/a", {"a", "a"}).named == std::vector<size_t>({0, 1}));

    EXPECT_FALSE(ParseInformerSwitches("c:\\pictures\\a.jpg /tw", names).found());
}

TEST(FolderRotation, StartsAtTheKeptIndexAndWrapsToTheFirst) {
    std::vector<std::string> folder = {"c:\\p\\B.jpg", "c:\\p\\a.gif", "c:\\p\\sub\\c.png"};
    SortPicturePaths(folder);
    EXPECT_EQ(folder, std::vector<std::string>({"c:\\p\\a.gif", "c:\\p\\B.jpg", "c:\\p\\sub\\c.png"}));
    auto list = [&folder] { return folder; };

    Informer informer;
    informer.index = 3;
    EXPECT_EQ(CurrentPicture(informer, list, nullptr), "c:\\p\\a.gif");
    EXPECT_EQ(informer.index, 0);

    informer.pending.clear();
    informer.index = 1;
    AdvancePicture(informer, list, nullptr);  // a list not built yet is only built
    EXPECT_EQ(CurrentPicture(informer, list, nullptr), "c:\\p\\B.jpg");
    AdvancePicture(informer, list, nullptr);
    EXPECT_EQ(CurrentPicture(informer, list, nullptr), "c:\\p\\sub\\c.png");
    EXPECT_EQ(informer.index, 2);
    AdvancePicture(informer, list, nullptr);
    EXPECT_EQ(CurrentPicture(informer, list, nullptr), "c:\\p\\a.gif");
    EXPECT_EQ(informer.index, 0);

    // At random the index stays and every picture comes once a round.
    Informer random;
    random.random = 1;
    random.index = 2;
    auto reverse = [](std::vector<std::string>& v) { std::reverse(v.begin(), v.end()); };
    std::vector<std::string> shown;
    for (int i = 0; i < 3; ++i) {
        AdvancePicture(random, list, reverse);
        shown.push_back(CurrentPicture(random, list, reverse));
    }
    EXPECT_EQ(shown, std::vector<std::string>({"c:\\p\\sub\\c.png", "c:\\p\\B.jpg", "c:\\p\\a.gif"}));
    EXPECT_EQ(random.index, 2);

    Informer empty;
    EXPECT_EQ(CurrentPicture(empty, [] { return std::vector<std::string>(); }, nullptr), "");
    EXPECT_TRUE(IsPictureName("x.JPEG") && IsPictureName("y.Wmf"));
    EXPECT_FALSE(IsPictureName("x.txt") || IsPictureName("dir.jpg\\file") || IsPictureName("noext"));
}

TEST(InformerGeometry, SizesKeepTheAspectOnlyWhenAsked) {
    Informer informer;
    informer.width = 200;
    informer.aspect = ASPECT_HEIGHT_FROM_WIDTH;
    InformerSize size = InformerDrawSize(informer, 100, 50);
    EXPECT_EQ(size.width, 200);
    EXPECT_EQ(size.height, 100);

    informer = Informer();
    informer.height = 25;
    informer.aspect = ASPECT_WIDTH_FROM_HEIGHT;
    size = InformerDrawSize(informer, 100, 50);
    EXPECT_EQ(size.width, 50);
    EXPECT_EQ(size.height, 25);

    informer.aspect = 258;  // a legacy town number, even one whose low byte is 2
    size = InformerDrawSize(informer, 100, 50);
    EXPECT_EQ(size.width, 100);
    informer = Informer();
    informer.aspect = ASPECT_HEIGHT_FROM_WIDTH;  // nothing given: the picture's own size
    size = InformerDrawSize(informer, 100, 0);
    EXPECT_EQ(size.width, 100);
    EXPECT_EQ(size.height, 0);
}

TEST(InformerGeometry, RenderCommandLineAnchorsTheBox) {
    Informer informer;
    informer.x = 300;
    informer.y = 200;
    informer.width = 120;
    informer.anchor = 3;
    RenderBox box = InformerRenderBox(informer);
    EXPECT_EQ(box.x, 180);
    EXPECT_EQ(box.y, 100);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 100);
    EXPECT_EQ(RenderCommandLine("C:\\D\\Tool\\KvHtmlToPic", "C:\\D\\Weather\\n.html", box, "C:\\D\\Weather\\n"),
              "C:\\D\\Tool\\KvHtmlToPic.exe \"C:\\D\\Weather\\n.html\" 180 100 120 100 = \"C:\\D\\Weather\\n\"");
    informer.anchor = 2;
    box = InformerRenderBox(informer);
    EXPECT_EQ(RenderCommandLine("C:\\My D\\Tool\\KvHtmlToPic", "C:\\My D\\Weather\\n.html", box, "C:\\My D\\Weather\\n"),
              "\"C:\\My D\\Tool\\KvHtmlToPic.exe\" \"C:\\My D\\Weather\\n.html\" 300 100 120 100 = "
              "\"C:\\My D\\Weather\\n\"");
}
