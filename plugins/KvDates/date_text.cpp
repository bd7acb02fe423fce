#include "date_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "date_ini.h"

std::vector<std::string> SplitDateLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        lines.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return lines;
}

std::string DateTextToEdit(const std::string& text) {
    std::string edit;
    edit.reserve(text.size());
    for (char c : text) {
        if (c == '|') edit += "\r\n";
        else edit += c;
    }
    return edit;
}

std::string DateTextFromEdit(const std::string& text) {
    std::string stored;
    stored.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            stored += '|';
        } else if (c == '\n') {
            stored += '|';
        } else {
            stored += c;
        }
    }
    return stored;
}

std::string ReplaceDateVariables(const std::string& text, const std::string& wallpaper) {
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t found = text.find(">o", start);
        if (found == std::string::npos) break;
        result.append(text, start, found - start);
        result += wallpaper;
        start = found + 2;
    }
    result.append(text, start, std::string::npos);
    return result;
}

uint32_t CorrectDateColour(uint32_t colour) {
    colour &= 0xFFFFFF;
    if (colour == 0) return 0x000001;
    if (colour == 0xFFFFFF) return 0xFFFFFE;
    return colour;
}

std::string TwoDigits(int value) {
    char text[16];
    snprintf(text, sizeof text, "%02d", value);
    return text;
}

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

int WeekdayMonday0(int year, int month, int day) {
    // Sakamoto's rule gives Sunday 0; shifted so that Monday is 0.
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 0;
    int y = year - (month < 3 ? 1 : 0);
    int sunday0 = (y + y / 4 - y / 100 + y / 400 + offsets[month - 1] + day) % 7;
    if (sunday0 < 0) sunday0 += 7;
    return (sunday0 + 6) % 7;
}

std::vector<DateCell> MonthCells(int year, int month) {
    std::vector<DateCell> cells;
    const int days = DaysInMonth(year, month);
    int column = WeekdayMonday0(year, month, 1), row = 0;
    for (int day = 1; day <= days; ++day) {
        cells.push_back({day, column, row});
        if (++column == 7) {
            column = 0;
            ++row;
        }
    }
    return cells;
}

void ParseDatePoint(const std::string& text, int& x, int& y) {
    const char* at = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long first = strtol(at, &end, 10);
    if (end == at || errno) return;
    at = end;
    const long second = strtol(at, &end, 10);
    if (end == at || errno) return;
    if (first < -100000 || first > 100000 || second < -100000 || second > 100000) return;
    x = static_cast<int>(first);
    y = static_cast<int>(second);
}

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

int InRangeOr(int value, int low, int high, int fallback) { return value < low || value > high ? fallback : value; }

}  // namespace

DatePrintSettings ReadDatePrintSettings(const IniDocument& dst, const std::string& name) {
    DatePrintSettings s;
    s.print = dst.GetFlag(name, "KvPrintP");
    s.type = InRangeOr(dst.GetInt(name, "KvTypDate", 0), 0, 1, 0);
    const std::string point = dst.Has(name, "KvPosP") ? dst.Get(name, "KvPosP") : "1 1";
    ParseDatePoint(point, s.anchorX, s.anchorY);
    s.corner = InRangeOr(dst.GetInt(name, "KvTypPos", 0), 0, 3, 0);
    s.shift = InRangeOr(dst.GetInt(name, "KvTypShift", 0), 0, 4, 0);
    s.gap = Clamp(dst.GetInt(name, "KvPix", 12), -10000, 10000);
    s.autoWrap = dst.GetFlag(name, "KvAutoCar");
    const std::string face = dst.Get(name, "KvFontBoxP");
    if (!face.empty()) s.face = face.substr(0, 31);
    s.style = InRangeOr(dst.GetInt(name, "KvStyleP", 0), 0, 3, 0);
    s.charset = Clamp(dst.GetInt(name, "KvCharsetP", 204), 0, 255);
    s.height = Clamp(dst.GetInt(name, "KvHeight", 16), 8, 1000);
    s.colour = static_cast<uint32_t>(dst.GetInt(name, "KvColPBoth", 0x00FFFF)) & 0xFFFFFF;
    s.outline = dst.GetFlag(name, "KvKaimaP");
    s.outlineColour = static_cast<uint32_t>(dst.GetInt(name, "KvColPKaimBoth", 0)) & 0xFFFFFF;
    s.colourMode = InRangeOr(dst.GetInt(name, "KvRevPCol", 0), 0, 2, 0);
    s.alpha = Clamp(dst.GetInt(name, "KvAlphaPText", 0), 0, 9);
    s.dayColour = static_cast<uint32_t>(dst.GetInt(name, "KvColPW", 0x59ACFF)) & 0xFFFFFF;
    s.dayColourOn = dst.GetFlag(name, "KvColPWCh");
    s.frameColour = static_cast<uint32_t>(dst.GetInt(name, "KvColKaimPW", 0)) & 0xFFFFFF;
    s.frameColourOn = dst.GetFlag(name, "KvColKaimPWCh");
    return s;
}

std::vector<std::string> WrapDateLine(const std::string& line, int width, DateTextMeasure& measure) {
    std::vector<std::string> lines;
    if (width < 1) width = 1;
    std::string rest = line;
    for (;;) {
        const int full = measure.Width(rest);
        if (rest.size() <= 1 || full <= width) break;
        // Start from the proportional guess, then one character at a time.
        size_t count = static_cast<size_t>(static_cast<long long>(rest.size()) * width / (full > 0 ? full : 1));
        count = std::min(std::max<size_t>(count, 1), rest.size());
        while (count > 1 && measure.Width(rest.substr(0, count)) > width) --count;
        while (count < rest.size() && measure.Width(rest.substr(0, count + 1)) <= width) ++count;

        size_t cut = count;
        const size_t space = rest.rfind(' ', count);
        if (space != std::string::npos && space > 0 && space <= count) cut = space;
        std::string head = rest.substr(0, cut);
        while (!head.empty() && head.back() == ' ') head.pop_back();
        if (head.empty()) {
            head = rest.substr(0, count);
            cut = count;
        }
        lines.push_back(head);
        size_t next = cut;
        while (next < rest.size() && rest[next] == ' ') ++next;
        rest = rest.substr(next);
        if (rest.empty()) return lines;
    }
    lines.push_back(rest);
    return lines;
}

namespace {

void MeasureBlock(DateBlock& block, DateTextMeasure& measure) {
    int widest = 0;
    for (const std::string& line : block.lines) widest = std::max(widest, measure.Width(line));
    block.width = widest + 2 * block.frame + 2 * block.margin;
    const long long height = static_cast<long long>(block.lines.size()) * block.lineHeight + 2 * block.frame;
    block.height = static_cast<int>(std::min<long long>(height, 1 << 24));
}

}  // namespace

DateBlock LayoutDateBlock(const std::vector<std::string>& lines, const DatePrintSettings& settings,
                          const DateRect* previous, const DateRect& screen, DateTextMeasure& measure) {
    DateBlock block;
    block.lines = lines;
    block.lineHeight = measure.LineHeight();
    const int wWidth = measure.Width("W");
    const bool italic = settings.style == 1 || settings.style == 3;
    block.margin = italic ? wWidth / 2 : 0;
    block.frame = settings.outline ? 1 : 0;
    MeasureBlock(block, measure);

    const bool rightCorner = settings.corner & 1, bottomCorner = settings.corner & 2;
    int ax = settings.anchorX, ay = settings.anchorY;
    const bool shifting = previous && settings.shift != 0;
    for (int pass = 0; pass < 16; ++pass) {
        bool moved = false;
        if (shifting) {
            int left = ax - (rightCorner ? block.width : 0);
            int top = ay - (bottomCorner ? block.height : 0);
            switch (settings.shift) {
            case 1: top = previous->top - settings.gap - block.height; break;
            case 2: top = previous->bottom + settings.gap; break;
            case 3: left = previous->left - settings.gap - block.width; break;
            case 4: left = previous->right + settings.gap; break;
            default: break;
            }
            const int newX = left + (rightCorner ? block.width : 0);
            const int newY = top + (bottomCorner ? block.height : 0);
            moved = newX != ax || newY != ay;
            ax = newX;
            ay = newY;
        }
        if (!settings.autoWrap) break;
        const int room = rightCorner ? ax - screen.left : screen.right - ax;
        if (room <= 2 * wWidth || room >= block.width) break;
        std::vector<std::string> wrapped;
        for (const std::string& line : block.lines)
            for (std::string& part : WrapDateLine(line, room - 2 * block.frame - 2 * block.margin, measure))
                wrapped.push_back(std::move(part));
        block.lines = std::move(wrapped);
        block.wrapped = true;
        MeasureBlock(block, measure);
        if (!moved) break;
    }
    block.anchorX = ax;
    block.anchorY = ay;
    block.rect.left = ax - (rightCorner ? block.width : 0);
    block.rect.top = ay - (bottomCorner ? block.height : 0);
    block.rect.right = block.rect.left + block.width;
    block.rect.bottom = block.rect.top + block.height;
    return block;
}
