// The reminder file's records and list as plain code over a memory store.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "reminder_record.h"

namespace {

ReminderRecord EveryKeySet() {
    ReminderRecord r;
    r.number = 1700000000;
    r.Name = "Dentist";
    r.Picture = "%Dravonel_path%pics\\tooth.bmp";
    r.PicWidth = 320;
    r.PicHeight = 200;
    r.Type = kTypeSeries;
    r.ParamA = 15;
    r.ParamB = 4;
    r.Houre = 17;
    r.Minute = 45;
    r.Interval = 90;
    r.Sound = "C:\\Sounds";
    r.Loop = 1;
    r.File = "notepad.exe";
    r.Parameters = "C:\\todo.txt";
    r.ShowCmd = 3;
    r.Color = 0x0000FF;
    r.Weight = kWeightBoldItalic;
    r.CharSet = 0;
    r.Face = "Arial";
    r.Height = 24;
    r.BackColor = 0x00FFFF;
    r.Activity = 1;
    r.TopMost = 1;
    r.InetState = 2;
    r.Text = "first line\r\nsecond line";
    r.Win = 1;
    r.HotKey = 0x0341;  // Ctrl+Shift+A
    r.CancelWork = 1;
    r.ShowNote = 1;
    r.TopMostNote = 1;
    r.ColorNote = 0x102030;
    r.BackNote = 0x405060;
    r.XNote = 0;
    r.YNote = -20;
    r.AlphaNote = -40;
    return r;
}

TEST(ReminderRecord, EveryKeySurvivesAFullSaveAndZeroesFallBackToTheDefaults) {
    MemoryStore store;
    ReminderRecord saved = EveryKeySet();
    WriteReminder(store, saved, SaveKind::Full);
    ReminderRecord read = ReadReminder(store, saved.number, 0xC0C0C0);
    EXPECT_EQ(read.Name, saved.Name);
    EXPECT_EQ(read.Picture, saved.Picture);
    EXPECT_EQ(read.PicWidth, 320);
    EXPECT_EQ(read.PicHeight, 200);
    EXPECT_EQ(read.Type, kTypeSeries);
    EXPECT_EQ(read.ParamA, 15);
    EXPECT_EQ(read.ParamB, 4);
    EXPECT_EQ(read.Houre, 17);
    EXPECT_EQ(read.Minute, 45);
    EXPECT_EQ(read.Interval, 90);
    EXPECT_EQ(read.Sound, saved.Sound);
    EXPECT_EQ(read.Loop, 1);
    EXPECT_EQ(read.File, saved.File);
    EXPECT_EQ(read.Parameters, saved.Parameters);
    EXPECT_EQ(read.ShowCmd, 3);
    EXPECT_EQ(read.Color, 0x0000FFu);
    EXPECT_EQ(read.Weight, kWeightBoldItalic);
    EXPECT_EQ(read.CharSet, 0) << "the ANSI character set is not the default 204";
    EXPECT_EQ(read.Face, "Arial");
    EXPECT_EQ(read.Height, 24);
    EXPECT_EQ(read.BackColor, 0x00FFFFu);
    EXPECT_EQ(read.Activity, 1);
    EXPECT_EQ(read.TopMost, 1);
    EXPECT_EQ(read.InetState, 2);
    EXPECT_EQ(read.Text, saved.Text);
    EXPECT_EQ(read.Win, 1);
    EXPECT_EQ(read.HotKey, 0x0341);
    EXPECT_EQ(read.CancelWork, 1);
    EXPECT_EQ(read.ShowNote, 1);
    EXPECT_EQ(read.TopMostNote, 1);
    EXPECT_EQ(read.ColorNote, 0x102030u);
    EXPECT_EQ(read.BackNote, 0x405060u);
    EXPECT_EQ(read.XNote, 0) << "a note at the screen's edge stays there";
    EXPECT_EQ(read.YNote, -20);
    EXPECT_EQ(read.AlphaNote, -40);

    // Zero values delete their keys and read back as the documented defaults.
    ReminderRecord plain;
    plain.number = 5;
    plain.Name = "plain";
    plain.BackColor = 0;
    plain.ColorNote = 0;
    plain.BackNote = 0;
    WriteReminder(store, plain, SaveKind::Full);
    EXPECT_FALSE(store.Get("5", "Type"));
    EXPECT_FALSE(store.Get("5", "HotKey"));
    ReminderRecord defaults = ReadReminder(store, 5, 0xC0C0C0);
    EXPECT_EQ(defaults.BackColor, 0xC0C0C0u) << "the button face";
    EXPECT_EQ(defaults.ColorNote, 0xC08000u);
    EXPECT_EQ(defaults.BackNote, 0xFFFFFFu);
    EXPECT_EQ(defaults.Face, "MS Sans Serif");
    EXPECT_EQ(defaults.Height, 8);
    EXPECT_EQ(defaults.CharSet, 204);
    EXPECT_EQ(defaults.XNote, 50);
}

TEST(ReminderRecord, NoteOnlySaveLeavesTheOtherKeysAlone) {
    MemoryStore store;
    ReminderRecord r = EveryKeySet();
    WriteReminder(store, r, SaveKind::Full);
    ReminderRecord note = r;
    note.Name = "Dentist moved";
    note.Minute = 50;
    note.Sound.clear();  // not a note key: must stay stored
    note.HotKey = 0;
    note.XNote = 300;
    WriteReminder(store, note, SaveKind::NoteOnly);
    ReminderRecord read = ReadReminder(store, r.number, 0);
    EXPECT_EQ(read.Name, "Dentist moved");
    EXPECT_EQ(read.Minute, 50);
    EXPECT_EQ(read.XNote, 300);
    EXPECT_EQ(read.Sound, r.Sound);
    EXPECT_EQ(read.HotKey, r.HotKey);
}

TEST(ReminderRecord, LineBreaksAreStoredAsBarsOnOneLine) {
    EXPECT_EQ(TextFromStored("a|b"), "a\r\nb");
    EXPECT_EQ(TextFromStored("||"), "\r\n\r\n");
    EXPECT_EQ(TextToStored("a\r\nb"), "a|b");
    EXPECT_EQ(TextToStored("a\nb\rc\r\n"), "a|b|c|") << "any line break, else the ini line would end";
    MemoryStore store;
    ReminderRecord r;
    r.number = 3;
    r.Name = "two\r\nlines";
    r.Text = "x\ny";
    WriteReminder(store, r, SaveKind::Full);
    EXPECT_EQ(*store.Get("3", "Text"), "x|y");
    EXPECT_EQ(*store.Get("3", "Name"), "two  lines");
    EXPECT_EQ(ReadReminder(store, 3, 0).Text, "x\r\ny");
}

TEST(ReminderRecord, ValuesOutsideTheirRangesAreKeptInThem) {
    MemoryStore store;
    store.Set("4", "Name", std::string("n"));
    store.Set("4", "AlphaNote", std::string("-500"));
    store.Set("4", "PicWidth", std::string("-7"));
    store.Set("4", "Face", std::string(80, 'F'));
    store.Set("4", "Color", std::string("4278190335"));  // 0xFF0000FF: a palette-index request
    store.Set("4", "Houre", std::string("  7 o'clock"));
    store.Set("4", "Interval", std::string("-3"));
    ReminderRecord r = ReadReminder(store, 4, 0);
    EXPECT_EQ(r.AlphaNote, -98);
    EXPECT_EQ(r.PicWidth, 0);
    EXPECT_EQ(r.Face.size(), 31u);
    EXPECT_EQ(r.Color, 0xFFu);
    EXPECT_EQ(r.Houre, 7);
    EXPECT_EQ(r.Interval, 0);
    store.Set("4", "AlphaNote", std::string("40"));
    EXPECT_EQ(ReadReminder(store, 4, 0).AlphaNote, 0);
}

TEST(ReminderRecord, IntegersReadAsTheSystemReadsThem) {
    EXPECT_EQ(IniInteger(std::nullopt, 9), 9);
    EXPECT_EQ(IniInteger(std::string(""), 9), 9);
    EXPECT_EQ(IniInteger(std::string("abc"), 9), 0);
    EXPECT_EQ(IniInteger(std::string("-98"), 0), -98);
    EXPECT_EQ(IniInteger(std::string("+12x"), 0), 12);
    EXPECT_EQ(IniInteger(std::string("4294967295"), 0), -1) << "wraps like a 32-bit integer";
    EXPECT_EQ(IniInteger(std::string("2147483648"), 0), -2147483647 - 1);
}

TEST(ReminderRecord, AnyBytesInTheFileReadWithoutHarm) {
    static const char* kKeys[] = {"Name", "Picture", "PicWidth", "Type", "Houre", "Text", "Face", "HotKey",
                                  "AlphaNote", "Color", "XNote", "Weight"};
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        MemoryStore store;
        for (const char* key : kKeys) {
            std::string value(random() % 200, '\0');
            for (char& c : value) c = static_cast<char>(random() % 256);
            store.Set("1", key, value);
        }
        store.Set(kListSection, "0", std::string("1"));
        ReminderRecord r = ReadReminder(store, 1, 0);
        EXPECT_LE(r.Face.size(), 31u);
        EXPECT_GE(r.AlphaNote, -98);
        EXPECT_LE(r.AlphaNote, 0);
        MemoryStore copy;
        WriteReminder(copy, r, SaveKind::Full);
        ASSERT_TRUE(copy.Get("1", "Name") || r.Name.empty());
        EXPECT_EQ(copy.Get("1", "Text").value_or("").find_first_of("\r\n"), std::string::npos);
    }
}

TEST(ReminderList, LoadingStopsAtTheFirstGap) {
    MemoryStore store;
    store.Set(kListSection, "0", std::string("11"));
    store.Set(kListSection, "1", std::string("22"));
    store.Set(kListSection, "3", std::string("44"));
    EXPECT_EQ(ReadList(store), (std::vector<int>{11, 22}));
    EXPECT_EQ(AppendToList(store, 33), 2) << "the gap is filled, nothing is overwritten";
    EXPECT_EQ(ReadList(store), (std::vector<int>{11, 22, 33, 44}));
}

TEST(ReminderList, DeletingAReminderClosesTheGap) {
    MemoryStore store;
    for (int k = 0; k < 4; ++k) {
        store.Set(kListSection, std::to_string(k), std::to_string(100 + k));
        store.Set(std::to_string(100 + k), "Name", std::string("r") + std::to_string(k));
    }
    DeleteReminder(store, 101);
    EXPECT_EQ(ReadList(store), (std::vector<int>{100, 102, 103}));
    EXPECT_FALSE(store.Get(kListSection, "3"));
    EXPECT_FALSE(store.HasSection("101"));
    DeleteReminder(store, 103);
    EXPECT_EQ(ReadList(store), (std::vector<int>{100, 102}));
    DeleteReminder(store, 999);  // not listed: nothing else changes
    EXPECT_EQ(ReadList(store), (std::vector<int>{100, 102}));
    DeleteReminder(store, 100);
    DeleteReminder(store, 102);
    EXPECT_TRUE(ReadList(store).empty());
}

TEST(ReminderList, NewNumbersWithinOneSecondDoNotCollide) {
    MemoryStore store;
    const long long now = 1700000000;
    ReminderRecord first;
    first.number = NextFreeNumber(store, now);
    first.Name = "first";
    WriteReminder(store, first, SaveKind::NoteOnly);
    AppendToList(store, first.number);
    ReminderRecord second;
    second.number = NextFreeNumber(store, now);
    second.Name = "second";
    WriteReminder(store, second, SaveKind::NoteOnly);
    AppendToList(store, second.number);
    EXPECT_EQ(first.number, now);
    EXPECT_EQ(second.number, now + 1);
    EXPECT_EQ(ReadReminder(store, first.number, 0).Name, "first");
    EXPECT_EQ(ReadReminder(store, second.number, 0).Name, "second");
    // A listed number whose section is gone is not reused either.
    store.Set(kListSection, "2", std::to_string(now + 2));
    EXPECT_EQ(NextFreeNumber(store, now), now + 3);
    EXPECT_EQ(NextFreeNumber(store, 0), 1) << "never 0: 0 means not saved";
    EXPECT_GT(NextFreeNumber(store, 5000000000LL), 0) << "past 2038 still a positive number";
}

}  // namespace
