#include "reminder_record.h"

#include <algorithm>
#include <climits>

const char kListSection[] = "LIST_REMAINDERS";

namespace {

// The system's ini names ignore the case of ASCII letters.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

const size_t kFaceLength = 31;  // a LOGFONT face holds 31 characters
const int kLargestPicture = 16384;
const int kLargestFont = 1000;

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

uint32_t Colour(const KeyStore& store, const std::string& section, const char* key, uint32_t fallback) {
    // A colour is red, green and blue; higher bits would ask GDI for a
    // palette entry instead.
    return static_cast<uint32_t>(IniInteger(store.Get(section, key), static_cast<int>(fallback))) & 0xFFFFFFu;
}

std::string String(const KeyStore& store, const std::string& section, const char* key) {
    return store.Get(section, key).value_or(std::string());
}

}  // namespace

std::optional<std::string> MemoryStore::Get(const std::string& section, const std::string& key) const {
    for (const Entry& entry : entries_) {
        if (SameName(entry.section, section) && SameName(entry.key, key)) {
            if (entry.value.empty()) return std::nullopt;
            return entry.value;
        }
    }
    return std::nullopt;
}

void MemoryStore::Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (SameName(it->section, section) && SameName(it->key, key)) {
            if (value) it->value = *value;
            else entries_.erase(it);
            return;
        }
    }
    if (value) entries_.push_back({section, key, *value});
}

void MemoryStore::DeleteSection(const std::string& section) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& entry) { return SameName(entry.section, section); }),
                   entries_.end());
}

bool MemoryStore::HasSection(const std::string& section) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& entry) { return SameName(entry.section, section); });
}

std::string SectionName(int number) { return std::to_string(number); }

int IniInteger(const std::optional<std::string>& value, int fallback) {
    if (!value || value->empty()) return fallback;
    const std::string& text = *value;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    uint32_t bits = negative ? 0u - magnitude : magnitude;
    return static_cast<int32_t>(bits);
}

std::string TextFromStored(const std::string& stored) {
    std::string text;
    text.reserve(stored.size());
    for (char c : stored) {
        if (c == '|') text += "\r\n";
        else text += c;
    }
    return text;
}

std::string TextToStored(const std::string& text) {
    std::string stored;
    stored.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            stored += '|';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            stored += '|';
        } else {
            stored += text[i];
        }
    }
    return stored;
}

std::string OneLine(const std::string& value) {
    std::string line = value;
    for (char& c : line) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return line;
}

ReminderRecord ReadReminder(const KeyStore& store, int number, uint32_t backColor) {
    const std::string section = SectionName(number);
    auto integer = [&](const char* key, int fallback) { return IniInteger(store.Get(section, key), fallback); };
    ReminderRecord r;
    r.number = number;
    r.Name = OneLine(String(store, section, "Name"));
    r.Picture = String(store, section, "Picture");
    r.PicWidth = Clamp(integer("PicWidth", 0), 0, kLargestPicture);
    r.PicHeight = Clamp(integer("PicHeight", 0), 0, kLargestPicture);
    r.Type = integer("Type", 0);
    r.ParamA = integer("ParamA", 0);
    r.ParamB = integer("ParamB", 0);
    r.Houre = static_cast<uint8_t>(integer("Houre", 0));
    r.Minute = static_cast<uint8_t>(integer("Minute", 0));
    r.Interval = std::max(0, integer("Interval", 0));
    r.Sound = String(store, section, "Sound");
    r.Loop = integer("Loop", 0);
    r.File = String(store, section, "File");
    r.Parameters = String(store, section, "Parameters");
    r.ShowCmd = integer("ShowCmd", 0);
    r.Color = Colour(store, section, "Color", 0);
    r.Weight = static_cast<uint8_t>(integer("Weight", 0));
    r.CharSet = static_cast<uint8_t>(integer("CharSet", 204));
    if (auto face = store.Get(section, "Face")) r.Face = face->substr(0, kFaceLength);
    r.Height = Clamp(integer("Height", 8), -kLargestFont, kLargestFont);
    r.BackColor = Colour(store, section, "BackColor", backColor);
    r.Activity = static_cast<uint8_t>(integer("Activity", 0));
    r.TopMost = static_cast<uint8_t>(integer("TopMost", 0));
    r.InetState = static_cast<uint8_t>(integer("InetState", 0));
    r.Text = TextFromStored(String(store, section, "Text"));
    r.Win = integer("Win", 0);
    r.HotKey = static_cast<uint16_t>(integer("HotKey", 0));
    r.CancelWork = integer("CancelWork", 0);
    r.ShowNote = integer("ShowNote", 0);
    r.TopMostNote = integer("TopMostNote", 0);
    r.ColorNote = Colour(store, section, "ColorNote", kDefaultColorNote);
    r.BackNote = Colour(store, section, "BackNote", kDefaultBackNote);
    r.XNote = integer("XNote", kDefaultNotePosition);
    r.YNote = integer("YNote", kDefaultNotePosition);
    // The trackbars' range; outside it the opacity byte would wrap.
    r.AlphaNote = Clamp(integer("AlphaNote", 0), kAlphaNoteLowest, 0);
    return r;
}

void WriteReminder(KeyStore& store, const ReminderRecord& r, SaveKind kind) {
    const std::string section = SectionName(r.number);
    auto text = [&](const char* key, const std::string& value) {
        if (value.empty()) store.Set(section, key, std::nullopt);
        else store.Set(section, key, value);
    };
    // Zero deletes the key, as the readers take an absent key for 0.
    auto integer0 = [&](const char* key, long long value) {
        if (value == 0) store.Set(section, key, std::nullopt);
        else store.Set(section, key, std::to_string(value));
    };
    // Keys whose absence reads as something else than 0 keep a 0 written:
    // a note dragged to the screen's edge stays there.
    auto integer = [&](const char* key, long long value) { store.Set(section, key, std::to_string(value)); };

    text("Name", OneLine(r.Name));
    integer0("Type", r.Type);
    integer0("ParamA", r.ParamA);
    integer0("ParamB", r.ParamB);
    integer0("Houre", r.Houre);
    integer0("Minute", r.Minute);
    text("Text", TextToStored(r.Text));
    integer0("ShowNote", r.ShowNote);
    integer0("TopMostNote", r.TopMostNote);
    integer0("ColorNote", r.ColorNote);
    integer0("BackNote", r.BackNote);
    integer("XNote", r.XNote);
    integer("YNote", r.YNote);
    integer0("AlphaNote", r.AlphaNote);
    if (kind == SaveKind::NoteOnly) return;

    text("Picture", OneLine(r.Picture));
    integer0("PicWidth", r.PicWidth);
    integer0("PicHeight", r.PicHeight);
    integer0("Interval", r.Interval);
    text("Sound", OneLine(r.Sound));
    integer0("Loop", r.Loop);
    text("File", OneLine(r.File));
    text("Parameters", OneLine(r.Parameters));
    integer0("ShowCmd", r.ShowCmd);
    integer0("Color", r.Color);
    integer0("Weight", r.Weight);
    integer("CharSet", r.CharSet);
    text("Face", OneLine(r.Face.substr(0, kFaceLength)));
    integer("Height", r.Height);
    integer0("BackColor", r.BackColor);
    integer0("Activity", r.Activity);
    integer0("TopMost", r.TopMost);
    integer0("InetState", r.InetState);
    integer0("Win", r.Win);
    integer0("HotKey", r.HotKey);
    integer0("CancelWork", r.CancelWork);
}

std::vector<int> ReadList(const KeyStore& store) {
    std::vector<int> numbers;
    for (int k = 0; k < INT_MAX; ++k) {
        std::optional<std::string> value = store.Get(kListSection, std::to_string(k));
        if (!value) break;
        numbers.push_back(IniInteger(value, 0));
    }
    return numbers;
}

void DeleteReminder(KeyStore& store, int number) {
    store.DeleteSection(SectionName(number));
    std::vector<int> numbers = ReadList(store);
    auto found = std::find(numbers.begin(), numbers.end(), number);
    if (found == numbers.end()) return;
    // Move every later entry one place up, so the list stays consecutive.
    for (size_t j = static_cast<size_t>(found - numbers.begin());; ++j) {
        std::optional<std::string> next = store.Get(kListSection, std::to_string(j + 1));
        store.Set(kListSection, std::to_string(j), next);
        if (!next) break;
    }
}

int AppendToList(KeyStore& store, int number) {
    int position = static_cast<int>(ReadList(store).size());
    store.Set(kListSection, std::to_string(position), std::to_string(number));
    return position;
}

int NextFreeNumber(const KeyStore& store, long long nowSeconds) {
    std::vector<int> listed = ReadList(store);
    long long start = nowSeconds < 1 ? 1 : nowSeconds > INT_MAX ? INT_MAX : nowSeconds;
    int candidate = static_cast<int>(start);
    for (size_t tries = 0; tries <= listed.size() + 100000; ++tries) {
        bool taken = store.HasSection(SectionName(candidate)) ||
                     std::find(listed.begin(), listed.end(), candidate) != listed.end();
        if (!taken) return candidate;
        candidate = candidate == INT_MAX ? 1 : candidate + 1;
    }
    return candidate;
}
