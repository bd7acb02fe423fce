// A reminder as the ".rms" file keeps it: one section per reminder, named by
// its number, and the list "LIST_REMAINDERS" of numbers in display order.
// Plain C++ only: everything read here is outside input and must survive any
// bytes, so it is also built natively for fuzzing.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Key-value storage with the sections of an ini file. The plug-in uses the
// system's ini functions behind it; tests and fuzzing use MemoryStore.
class KeyStore {
public:
    virtual ~KeyStore() = default;
    // A missing or empty value is none.
    virtual std::optional<std::string> Get(const std::string& section, const std::string& key) const = 0;
    // None deletes the key.
    virtual void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) = 0;
    virtual void DeleteSection(const std::string& section) = 0;
    virtual bool HasSection(const std::string& section) const = 0;
};

class MemoryStore : public KeyStore {
public:
    std::optional<std::string> Get(const std::string& section, const std::string& key) const override;
    void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) override;
    void DeleteSection(const std::string& section) override;
    bool HasSection(const std::string& section) const override;

private:
    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> entries_;
};

extern const char kListSection[];  // "LIST_REMAINDERS"

// Font styles of "Weight".
enum { kWeightRegular = 0, kWeightItalic = 1, kWeightBold = 2, kWeightBoldItalic = 3 };
// Schedule types of "Type".
enum { kTypeDays = 0, kTypeDate = 1, kTypeSeries = 2, kTypeConnection = 3, kTypeAfterStart = 4 };

const uint32_t kDefaultColorNote = 0xC08000;
const uint32_t kDefaultBackNote = 0xFFFFFF;
const int kDefaultNotePosition = 50;
const int kAlphaNoteLowest = -98;

struct ReminderRecord {
    int number = 0;  // 0: not saved yet
    std::string Name;
    std::string Picture;
    int PicWidth = 0, PicHeight = 0;
    int Type = 0, ParamA = 0, ParamB = 0;
    uint8_t Houre = 0, Minute = 0;
    int Interval = 0;
    std::string Sound;
    int Loop = 0;
    std::string File;
    std::string Parameters;
    int ShowCmd = 0;
    uint32_t Color = 0;
    uint8_t Weight = 0;
    uint8_t CharSet = 204;
    std::string Face = "MS Sans Serif";
    int Height = 8;
    uint32_t BackColor = 0;
    uint8_t Activity = 0;
    uint8_t TopMost = 0;
    uint8_t InetState = 0;
    std::string Text;  // line breaks as CR LF
    int Win = 0;
    uint16_t HotKey = 0;
    int CancelWork = 0;
    int ShowNote = 0;
    int TopMostNote = 0;
    uint32_t ColorNote = kDefaultColorNote;
    uint32_t BackNote = kDefaultBackNote;
    int XNote = kDefaultNotePosition, YNote = kDefaultNotePosition;
    int AlphaNote = 0;  // -98 .. 0
};

std::string SectionName(int number);

// Integer value as the system's ini reader gives it: blanks, a sign, decimal
// digits; empty gives the default, other text 0; wraps like a 32-bit int.
int IniInteger(const std::optional<std::string>& value, int fallback);

// "|" becomes CR LF on reading; every kind of line break becomes "|" on
// writing, so a stored value stays on one line of the file.
std::string TextFromStored(const std::string& stored);
std::string TextToStored(const std::string& text);
// One-line values (names, paths): line breaks would start a new ini line.
std::string OneLine(const std::string& value);

// Reads a whole record; backColor is the default of "BackColor" (the
// system's button-face colour). Values are kept in their documented ranges.
ReminderRecord ReadReminder(const KeyStore& store, int number, uint32_t backColor);

enum class SaveKind { Full, NoteOnly };
void WriteReminder(KeyStore& store, const ReminderRecord& record, SaveKind kind);

// The list in display order: keys "0", "1", ... up to the first missing one.
std::vector<int> ReadList(const KeyStore& store);
// Removes the reminder's section and closes the gap its list entry leaves.
void DeleteReminder(KeyStore& store, int number);
// Appends the number under the first free list position; returns it.
int AppendToList(KeyStore& store, int number);
// A number for a new reminder: the current time in seconds, or the next one
// after it that no section and no list entry uses yet, so two reminders made
// within one second never share a section.
int NextFreeNumber(const KeyStore& store, long long nowSeconds);
