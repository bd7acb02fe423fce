#include "layout.h"

#include <algorithm>

Size PictureDisplaySize(Size picture, Size stored, Size screen) {
    if (stored.cx > 0 && stored.cy > 0) return stored;
    if (picture.cx <= 0 || picture.cy <= 0) return Size();
    // f = min(2 sh / 3 ph, 2 sw / 3 pw) as exact fractions, at most 1.
    long long heightNum = 2LL * screen.cy, heightDen = 3LL * picture.cy;
    long long widthNum = 2LL * screen.cx, widthDen = 3LL * picture.cx;
    long long num = heightNum, den = heightDen;
    if (widthNum * heightDen < heightNum * widthDen) {
        num = widthNum;
        den = widthDen;
    }
    if (num >= den || num <= 0) return picture;
    Size shown;
    shown.cx = static_cast<int>(picture.cx * num / den);
    shown.cy = static_cast<int>(picture.cy * num / den);
    if (shown.cx < 1) shown.cx = 1;
    if (shown.cy < 1) shown.cy = 1;
    return shown;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}

ReminderLayout LayOutReminder(Size button, Size picture, Size text) {
    ReminderLayout layout;
    const int left = std::max(button.cx, picture.cx);
    layout.client.cx = left + text.cx + 2;
    layout.client.cy = std::max(text.cy, picture.cy + button.cy) + 4;
    layout.picture = {2, 2, picture.cx, picture.cy};
    layout.button = {2, 2 + picture.cy, button.cx, button.cy};
    layout.text = {2 + left, (layout.client.cy - text.cy) / 2, text.cx, text.cy};
    return layout;
}

NoteLayout LayOutNote(bool yearlyDate, int nameWidth, bool folded, const std::vector<int>& lineWidths, int lineHeight,
                      int dpi) {
    // The strip's geometry is given for 96 DPI; its font grows with the DPI.
    auto px = [dpi](int pixels) { return (pixels * dpi + 48) / 96; };
    NoteLayout n;
    n.date = yearlyDate;
    const int strip = px(14), field = px(12);
    n.cx = px(yearlyDate ? 110 : 78) + std::max(0, nameWidth);
    n.cy = strip;
    if (!folded) {
        int widest = 0;
        for (int width : lineWidths) widest = std::max(widest, width);
        if (widest + 2 > n.cx) n.cx = widest + 2;
        int lines = std::max<int>(1, static_cast<int>(lineWidths.size()));
        n.cy += lineHeight * lines + 2;
    }
    n.fold = {0, 0, strip, strip};
    n.menu = {strip, 0, strip, strip};
    n.hour = {px(32), px(1), field, field};
    n.colon = {px(45), px(1), px(4), field};
    n.minute = {px(48), px(1), field, field};
    if (yearlyDate) {
        n.day = {px(64), px(1), field, field};
        n.dot = {px(77), px(1), px(4), field};
        n.month = {px(80), px(1), field, field};
    }
    const int nameLeft = px(yearlyDate ? 96 : 64);
    n.name = {nameLeft, px(1), std::max(0, n.cx - strip - nameLeft), field};
    n.close = {n.cx - strip, 0, strip, strip};
    if (!folded) n.text = {1, strip, n.cx - 2, n.cy - strip - 1};
    return n;
}

uint8_t NoteOpacity(int alphaNote) {
    int alpha = std::min(0, std::max(-98, alphaNote));
    return static_cast<uint8_t>((alpha * 255 + 25245) / 100);
}

unsigned HotKeyModifiers(uint16_t hotKey, int win) {
    unsigned flags = (hotKey >> 8) & 0xFF, modifiers = 0;
    if (flags & 1) modifiers |= 4;  // Shift
    if (flags & 2) modifiers |= 2;  // Ctrl
    if (flags & 4) modifiers |= 1;  // Alt
    if (win) modifiers |= 8;
    return modifiers;
}
