// Playlists and the window layouts as plain code.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "layout.h"
#include "playlist.h"

namespace {

TEST(Playlist, AFolderPlaysItsSoundsAndThoseOfItsSubfoldersInRandomOrderRoundAndRound) {
    std::map<std::string, std::vector<FolderEntry>> tree = {
        {"C:\\Music", {{".", true}, {"..", true}, {"a.WAV", false}, {"b.mp3", false}, {"notes.txt", false},
                       {"deep", true}, {"c.Mid", false}, {"midi", false}, {".wav", false}}},
        {"C:\\Music\\deep", {{"d.wav", false}, {"e.mp3x", false}}},
    };
    auto list = [&](const std::string& folder) { return tree[folder]; };
    Playlist playlist = Playlist::FromFolder("C:\\Music", list, 7);
    std::vector<std::string> paths = playlist.paths();
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Music\\.wav", "C:\\Music\\a.WAV", "C:\\Music\\b.mp3",
                                               "C:\\Music\\c.Mid", "C:\\Music\\deep\\d.wav"}));
    // Round and round: after the last comes the first.
    std::string first = playlist.Current();
    for (size_t i = 1; i < playlist.size(); ++i) EXPECT_NE(playlist.Next(), first);
    EXPECT_EQ(playlist.Next(), first);

    // Different seeds give different orders (one of 120).
    bool differs = false;
    for (uint32_t seed = 1; seed < 10 && !differs; ++seed) {
        differs = Playlist::FromFolder("C:\\Music", list, seed).paths() != playlist.paths();
    }
    EXPECT_TRUE(differs);

    EXPECT_TRUE(Playlist::FromFolder("C:\\Empty", list, 1).empty());
    EXPECT_EQ(Playlist::OneFile("ring.ogg").Current(), "ring.ogg") << "a chosen file plays whatever it is";
    Playlist none;
    EXPECT_EQ(none.Next(), "");
}

TEST(Playlist, AFolderThatContainsItselfEnds) {
    int listed = 0;
    auto loop = [&](const std::string&) {
        ++listed;
        return std::vector<FolderEntry>{{"again", true}, {"x.wav", false}};
    };
    Playlist playlist = Playlist::FromFolder("C:\\loop", loop, 1);
    EXPECT_EQ(playlist.size(), 33u) << "32 levels below the folder and the folder itself";
    EXPECT_EQ(listed, 33);
}

TEST(ReminderLayout, PicturesAreFittedToTwoThirdsOfTheScreenAndNeverEnlarged) {
    Size screen = {1024, 768};
    Size shown = PictureDisplaySize({1000, 1000}, {0, 0}, screen);
    EXPECT_EQ(shown.cx, 512);
    EXPECT_EQ(shown.cy, 512);
    shown = PictureDisplaySize({3000, 600}, {0, 0}, screen);  // the width limits
    EXPECT_EQ(shown.cx, 682);
    EXPECT_EQ(shown.cy, 136);
    shown = PictureDisplaySize({200, 100}, {0, 0}, screen);
    EXPECT_EQ(shown.cx, 200);
    EXPECT_EQ(shown.cy, 100);
    shown = PictureDisplaySize({1000, 1000}, {300, 40}, screen);
    EXPECT_EQ(shown.cx, 300) << "a stored size wins";
    EXPECT_EQ(shown.cy, 40);
    shown = PictureDisplaySize({1000, 1000}, {300, 0}, screen);
    EXPECT_EQ(shown.cx, 512) << "both sides must be set";
    shown = PictureDisplaySize({0, 50}, {0, 0}, screen);
    EXPECT_EQ(shown.cx, 0);
}

TEST(ReminderLayout, ButtonUnderThePictureTextAtTheRightVerticallyCentred) {
    ReminderLayout l = LayOutReminder({75, 23}, {512, 512}, {200, 39});
    EXPECT_EQ(l.client.cx, 512 + 200 + 2);
    EXPECT_EQ(l.client.cy, 512 + 23 + 4);
    EXPECT_EQ(l.picture.x, 2);
    EXPECT_EQ(l.button.y, 2 + 512);
    EXPECT_EQ(l.text.x, 2 + 512);
    EXPECT_EQ(l.text.y, (539 - 39) / 2);
    // Text only: the button is the left column; a tall text sets the height.
    l = LayOutReminder({75, 23}, {0, 0}, {120, 100});
    EXPECT_EQ(l.client.cx, 75 + 120 + 2);
    EXPECT_EQ(l.client.cy, 104);
    EXPECT_EQ(l.button.y, 2);
}

TEST(NoteLayout, StripForTimeAndNameWithTheDateForYearlyNotes) {
    NoteLayout folded = LayOutNote(false, 40, true, {}, 13);
    EXPECT_EQ(folded.cx, 78 + 40);
    EXPECT_EQ(folded.cy, 14);
    EXPECT_FALSE(folded.date);
    EXPECT_EQ(folded.name.x, 64);
    EXPECT_EQ(folded.name.cx, 40);
    EXPECT_EQ(folded.close.x, 118 - 14);
    EXPECT_EQ(folded.text.cx, 0);

    NoteLayout yearly = LayOutNote(true, 40, true, {}, 13);
    EXPECT_EQ(yearly.cx, 110 + 40);
    EXPECT_TRUE(yearly.date);
    EXPECT_EQ(yearly.day.x, 64);
    EXPECT_EQ(yearly.month.x, 80);
    EXPECT_EQ(yearly.name.x, 96);

    // Unfolded: as wide as the widest line, one line's height per line.
    NoteLayout open = LayOutNote(false, 40, false, {30, 300, 10}, 13);
    EXPECT_EQ(open.cx, 302);
    EXPECT_EQ(open.cy, 14 + 3 * 13 + 2);
    EXPECT_EQ(open.text.x, 1);
    EXPECT_EQ(open.text.y, 14);
    EXPECT_EQ(open.text.cx, 300);
    EXPECT_EQ(open.text.cy, open.cy - 15);
    EXPECT_EQ(open.close.x, 302 - 14);
    NoteLayout empty = LayOutNote(false, 40, false, {0}, 13);
    EXPECT_EQ(empty.cy, 14 + 13 + 2) << "an empty text still has a line to type in";
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(NoteLayout, TheStripGrowsWithTheScreensDpiAndStillHoldsTheName) {
    // At 144 DPI the font is half as large again; so is the strip.
    NoteLayout note = LayOutNote(true, 60, false, {90}, 20, 144);
    EXPECT_EQ(note.cy, 21 + 20 + 2);
    EXPECT_EQ(note.hour.cy, 18);
    EXPECT_EQ(note.name.x, 144);
    EXPECT_EQ(note.cx, 165 + 60);
    EXPECT_EQ(note.name.cx, 60) << "the measured name keeps its whole width";
    EXPECT_EQ(note.close.x + note.close.cx, note.cx);
    EXPECT_EQ(note.text.y, 21);
}

TEST(NoteLayout, OpacityAndHotKeyModifiers) {
    EXPECT_EQ(NoteOpacity(0), 252);
    EXPECT_EQ(NoteOpacity(-98), 2);
    EXPECT_EQ(NoteOpacity(-50), 124);
    EXPECT_EQ(NoteOpacity(-500), 2) << "kept in the trackbar's range";
    EXPECT_EQ(NoteOpacity(30), 252);
    EXPECT_EQ(HotKeyModifiers(0x0141, 0), 4u) << "Shift";
    EXPECT_EQ(HotKeyModifiers(0x0241, 0), 2u) << "Ctrl";
    EXPECT_EQ(HotKeyModifiers(0x0441, 1), 1u | 8u) << "Alt and the Windows key";
    EXPECT_EQ(HotKeyModifiers(0x0F41, 0), 7u) << "the extended-key flag is dropped";
}

}  // namespace
