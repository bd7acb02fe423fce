// Sizes and places of the reminder window and the note window, as plain
// arithmetic on measured text sizes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Size {
    int cx = 0, cy = 0;
};
struct Box {
    int x = 0, y = 0, cx = 0, cy = 0;
};

// A picture's display size: the stored size when both sides are set, else
// the picture scaled to at most two thirds of the screen, never enlarged.
Size PictureDisplaySize(Size picture, Size stored, Size screen);

// Lines of a text whose line breaks are CR LF; an empty text is one line.
std::vector<std::string> SplitLines(const std::string& text);

// The reminder window: picture at the top left, the time button under it,
// the text at the right, vertically centred.
struct ReminderLayout {
    Size client;
    Box picture, button, text;
};
ReminderLayout LayOutReminder(Size button, Size picture, Size text);

// The note strip and, unfolded, the text below it.
struct NoteLayout {
    int cx = 0, cy = 0;
    Box fold, menu, hour, colon, minute, day, dot, month, name, close, text;
    bool date = false;  // day and month are shown
};
// nameWidth: the name's width in the name edit's font; lineWidths: the
// text's lines in that font (only used unfolded); dpi: the screen's.
NoteLayout LayOutNote(bool yearlyDate, int nameWidth, bool folded, const std::vector<int>& lineWidths, int lineHeight,
                      int dpi = 96);

// Opacity byte of a note from "AlphaNote" (-98 .. 0): 2 .. 252.
uint8_t NoteOpacity(int alphaNote);

// Modifiers for RegisterHotKey from "HotKey"'s high byte (1 Shift, 2 Ctrl,
// 4 Alt) and "Win": 1 Alt, 2 Ctrl, 4 Shift, 8 Windows key.
unsigned HotKeyModifiers(uint16_t hotKey, int win);
