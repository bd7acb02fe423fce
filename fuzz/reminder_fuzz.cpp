// libFuzzer target for the reminder file (".rms", an ini file people copy
// between machines): the list and every reminder read from any text, their
// schedule worked out minute by minute, their window laid out, and the file
// edited the way the plug-in edits it. The system's ini reader is modelled
// by ReadIniText, the writer is the settings store's own.
//
// Layout: 8 bytes of clock (month, day, hour, minute, weekday, connection,
// editor, seed), then the file text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "ini_text.h"
#include "layout.h"
#include "reminder_record.h"
#include "schedule.h"

namespace {

class TextStore : public KeyStore {
public:
    explicit TextStore(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> Get(const std::string& section, const std::string& key) const override {
        std::string value;
        if (!ReadIniText(text_, section, key, &value)) return std::nullopt;
        value = value.c_str();  // the system's reader gives C strings
        if (value.empty()) return std::nullopt;
        return value;
    }
    void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) override {
        EditIniText(text_, section.c_str(), key.c_str(), value ? value->c_str() : nullptr);
    }
    void DeleteSection(const std::string& section) override { EditIniText(text_, section.c_str(), nullptr, nullptr); }
    bool HasSection(const std::string& section) const override {
        return text_.find("[" + section + "]") != std::string::npos;
    }

private:
    std::string text_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    LocalTime now;
    now.year = 2024;
    now.month = data[0] % 12 + 1;
    now.day = data[1] % 28 + 1;
    now.hour = data[2] % 24;
    now.minute = data[3] % 60;
    now.weekday = data[4] % 7 + 1;
    now.yearDay = (now.month - 1) * 30 + now.day;
    const uint8_t connection = data[5] & 1;
    const bool editorOpen = data[6] & 1;
    const long long seconds = 1700000000LL + data[7] * 3600LL;
    TextStore store(std::string(reinterpret_cast<const char*>(data + 8), size - 8));

    Schedule schedule;
    LocalTime start = now;
    const std::vector<int> list = ReadList(store);
    for (int number : list) {
        ReminderRecord record = ReadReminder(store, number, 0xC0C0C0);
        schedule.Build(record, now, start, connection);
        Size picture = {record.PicWidth, record.PicHeight};
        Size shown = PictureDisplaySize(picture, picture, Size{1024, 768});
        Expect(shown.cx >= 0 && shown.cy >= 0);
        Expect(!SplitLines(record.Text).empty());
        // Written back, a record reads the same from then on (the first
        // writing may lose what the reader trims: blanks, quotes).
        WriteReminder(store, record, SaveKind::Full);
        ReminderRecord again = ReadReminder(store, number, 0xC0C0C0);
        WriteReminder(store, again, SaveKind::Full);
        ReminderRecord third = ReadReminder(store, number, 0xC0C0C0);
        Expect(third.Type == again.Type && third.Houre == again.Houre && third.Minute == again.Minute);
        Expect(third.Name == again.Name && third.Text == again.Text && third.Face == again.Face);
    }
    for (int minute = 0; minute < 3; ++minute) {
        schedule.Check(now, connection, start, editorOpen);
        now.minute = (now.minute + 1) % 60;
    }
    const int fresh = NextFreeNumber(store, seconds);
    Expect(fresh > 0);
    AppendToList(store, fresh);
    if (!list.empty()) DeleteReminder(store, list.front());
    return 0;
}
