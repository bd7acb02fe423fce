// libFuzzer target for the dates plug-in's files: a date file (".dte") and
// the print settings file (".dst") as its own ini reader reads them, the
// texts of a day and of the script, and the block they make on the screen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "date_ini.h"
#include "date_text.h"

namespace {

// Every byte five pixels wide, lines twelve high.
class FixedMeasure : public DateTextMeasure {
public:
    int Width(const std::string& text) override { return static_cast<int>(text.size()) * 5; }
    int LineHeight() override { return 12; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int month = data[0] % 12 + 1, day = data[1] % 31 + 1;
    const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    const IniDocument document = IniDocument::Parse(bytes);

    // The same bytes as a date file and as the settings of a file named by
    // the first section.
    std::string text = document.Get(TwoDigits(month), TwoDigits(day));
    if (text.empty()) text = ReplaceDateVariables(document.Get("SCRIPT", "s"), "C:\\Pictures\\wall.jpg");
    for (const std::string& key : document.Keys(TwoDigits(month))) document.Get(TwoDigits(month), key);
    const std::string name = document.Keys("SCRIPT").empty() ? "dates" : document.Keys("SCRIPT").front();
    const DatePrintSettings settings = ReadDatePrintSettings(document, name);
    Expect(settings.height >= 8);

    Expect(DateTextFromEdit(DateTextToEdit(text)) == DateTextFromEdit(DateTextToEdit(DateTextFromEdit(DateTextToEdit(text)))));
    int x = 1, y = 1;
    ParseDatePoint(text, x, y);

    FixedMeasure measure;
    const DateRect screen = {0, 0, 1024, 768};
    const std::vector<std::string> lines = SplitDateLines(text);
    const DateBlock first = LayoutDateBlock(lines, settings, nullptr, screen, measure);
    const DateBlock second = LayoutDateBlock(lines, settings, &first.rect, screen, measure);
    Expect(first.width >= 0 && first.height >= 0 && second.width >= 0 && second.height >= 0);
    for (const std::string& line : first.lines) Expect(line.size() <= text.size());
    return 0;
}
