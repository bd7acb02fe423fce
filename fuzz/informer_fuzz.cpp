// libFuzzer target for what the informer plug-in reads from outside: its
// ".inf" file (fields read from the end of each line, and what it writes
// read back the same), the command-line
// switches naming informers, the pages of the weather services it cuts up,
// and their town-search answers. The first byte picks the reader, the rest
// is its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "folder_rotation.h"
#include "informer_geometry.h"
#include "informer_record.h"
#include "informer_switches.h"
#include "town_search.h"
#include "weather_pages.h"

namespace {

bool SameFields(const Informer& a, const Informer& b) {
    return a.name == b.name && a.x == b.x && a.y == b.y && a.height == b.height && a.width == b.width &&
           a.anchor == b.anchor && a.transparency == b.transparency && a.enabled == b.enabled &&
           a.colourKey == b.colourKey && a.kind == b.kind && a.tolerance == b.tolerance &&
           a.keySource == b.keySource && a.url == b.url && a.aspect == b.aspect &&
           a.calendarScale == b.calendarScale && a.month == b.month && a.year == b.year && a.random == b.random &&
           a.index == b.index && a.advanceOnFetch == b.advanceOnFetch && a.border == b.border &&
           a.borderColour == b.borderColour && a.borderThickness == b.borderThickness && a.keyColour == b.keyColour;
}

// A line the writer lets through reads back field for field; one it would
// not is refused, never cut.
void ExpectRoundTrip(const Informer& informer) {
    if (CheckInformerLine(informer) != INFORMER_LINE_FITS) return;
    Informer expected = informer;  // line breaks inside texts are written as blanks
    for (std::string* text : {&expected.name, &expected.url, &expected.month, &expected.year})
        for (char& c : *text)
            if (c == '\r' || c == '\n') c = ' ';
    const std::vector<Informer> back = ParseInformerText(FormatInformerLine(informer));
    Expect(back.size() == 1 && SameFields(back[0], expected));
}

// Texts as a user might type them: the bytes' lines become the name, the
// address and the calendar texts of an informer whose numbers are taken
// from the bytes too.
void FuzzTypedTexts(const std::string& bytes) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() < 4) {
        const size_t end = bytes.find('\n', start);
        parts.push_back(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    parts.resize(4);
    Informer typed;
    typed.name = parts[0];
    typed.url = parts[1];
    typed.month = parts[2];
    typed.year = parts[3];
    int* numbers[] = {&typed.x, &typed.y, &typed.width, &typed.index, &typed.keyColour};
    for (size_t i = 0; i < 5 && i < bytes.size(); ++i)
        *numbers[i] = static_cast<int>(static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) * 16777619u);
    // What the writer turns into blanks, and a name it would drop, are no
    // round trip's business.
    for (std::string* text : {&typed.name, &typed.url, &typed.month, &typed.year}) {
        const size_t cut = text->find_first_of(std::string("\r\n\0", 3));
        if (cut != std::string::npos) text->erase(cut);
    }
    if (typed.name.empty()) return;
    ExpectRoundTrip(typed);
}

void FuzzFile(const std::string& bytes) {
    std::vector<Informer> informers = ParseInformerText(bytes);
    std::vector<std::string> names;
    for (Informer& informer : informers) {
        names.push_back(informer.name);
        ExpectRoundTrip(informer);
        const std::string line = FormatInformerLine(informer);
        Expect(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
        Expect(line.find('\n') == line.size() - 1);  // one line, whatever the values hold
        InformerFetchUrl(informer);
        InformerAspect(informer);
        const std::string file = InformerFileName(informer.name);
        Expect(file.find_first_of("\\/:") == std::string::npos && file != "." && file != "..");
        const InformerSize drawn = InformerDrawSize(informer, 640, 480);
        (void)drawn;
        RenderCommandLine("C:\\Dravonel\\Tool\\KvHtmlToPic", "page.htm", InformerRenderBox(informer), file);
        // A folder informer walks its pictures, starting at the stored index.
        const PictureLister lister = [&]() { return std::vector<std::string>{"a.jpg", "b.png", "c.gif"}; };
        const Shuffler keep = [](std::vector<std::string>&) {};
        CurrentPicture(informer, lister, keep);
        AdvancePicture(informer, lister, keep);
    }
    FormatInformerText(informers);
    FuzzTypedTexts(bytes);
    // The rest of the bytes' first line as a command line.
    InformerSwitches switches = ParseInformerSwitches(bytes.substr(0, bytes.find('\n')), names);
    for (size_t index : switches.named) Expect(index < names.size());
}

void FuzzPages(const std::string& bytes) {
    RewriteGismeteo(bytes);
    RewriteRp5(bytes);
    const WeatherHosts hosts = {"http://127.0.0.1:1", "http://127.0.0.1:2", "http://127.0.0.1:3"};
    // Every download answers with the bytes, cut at the stop text as the
    // client would.
    const WeatherDownload download = [&](const std::string&, const std::string& stop, std::string& body) {
        size_t at = stop.empty() ? std::string::npos : bytes.find(stop);
        body = bytes.substr(0, at);
    };
    BuildGismeteoPage("27612", hosts, download);
    BuildRp5Page("7285", hosts, download);
}

void FuzzTowns(const std::string& bytes) {
    const size_t split = bytes.find('\n');
    const std::string name = bytes.substr(0, split == std::string::npos ? 0 : split);
    const std::string answer = split == std::string::npos ? bytes : bytes.substr(split + 1);
    const std::string query = TownQueryName(name);
    Expect(query.find(' ') == std::string::npos);
    GismeteoSearchUrl("http://gismeteo.ru", query);
    Rp5SearchUrl("http://rp5.ru", query);
    const std::string decoded = DecodeUnicodeEscapes(answer);
    std::string number;
    if (FindGismeteoTown(decoded, name, number)) Expect(number.size() <= decoded.size());
    if (FindRp5Town(answer, name, number)) Expect(number.size() <= answer.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
        case 0:
            FuzzFile(bytes);
            break;
        case 1:
            FuzzPages(bytes);
            break;
        default:
            FuzzTowns(bytes);
            break;
    }
    return 0;
}
