#include "clock_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

int Clamp(int value, int low, int high) { return value < low ? low : (value > high ? high : value); }

}  // namespace

const ClockColourInfo kClockColours[KV_CLOCK_COLOURS] = {
    {'t', "KvDt", Rgb(0, 255, 0)},      {'w', "KvDw", Rgb(255, 179, 179)}, {'d', "KvDd", Rgb(255, 255, 0)},
    {'u', "KvDu", Rgb(192, 192, 192)},  {'p', "KvDp", Rgb(128, 128, 255)}, {'a', "KvDa", Rgb(255, 128, 255)},
    {'f', "KvDf", Rgb(128, 255, 128)},  {'c', "KvDc", Rgb(255, 150, 100)}, {'b', "KvDb", Rgb(255, 128, 0)},
    {'n', "KvDn", Rgb(128, 255, 255)},  {'o', "KvDo", Rgb(197, 255, 138)}, {'s', "KvDs", Rgb(193, 237, 255)},
    {0, "KvDOther", Rgb(255, 255, 255)}, {0, "KvDBottom", Rgb(0, 0, 0)},
};

unsigned ClockSourcesUsed(const std::string& format) {
    auto has = [&format](char code) {
        const char pattern[3] = {'%', code, 0};
        return format.find(pattern) != std::string::npos;
    };
    unsigned used = 0;
    if (has('t')) used |= CLOCK_NEEDS_TIME;
    if (has('w')) used |= CLOCK_NEEDS_WEEKDAY;
    if (has('d')) used |= CLOCK_NEEDS_DATE;
    if (has('u') || has('p') || has('a') || has('f')) used |= CLOCK_NEEDS_MEMORY;
    if (has('c') || has('b')) used |= CLOCK_NEEDS_PROCESSOR;
    if (has('n')) used |= CLOCK_NEEDS_UPTIME;
    if (has('o')) used |= CLOCK_NEEDS_WALLPAPER;
    if (has('s')) used |= CLOCK_NEEDS_SAVER;
    return used;
}

std::string ClockCodeText(char code, const ClockFigures& figures) {
    char text[64] = "";
    switch (code) {
    case 't': return figures.time;
    case 'w': return figures.weekday;
    case 'd': return figures.date;
    case 'o': return figures.wallpaper;
    case 's': return figures.saver;
    case 'u': snprintf(text, sizeof text, "%u", figures.freeMemoryMb); break;
    case 'p': snprintf(text, sizeof text, "%02d", Clamp(figures.memoryLoad, 0, 99)); break;
    case 'f': snprintf(text, sizeof text, "%u", figures.pageFileMb); break;
    case 'c': snprintf(text, sizeof text, "%02d", Clamp(figures.processor, 0, 99)); break;
    case 'n': {
        const unsigned long long s = figures.uptimeSeconds;
        snprintf(text, sizeof text, "%02llu:%02llu:%02llu", s / 3600, (s / 60) % 60, s % 60);
        break;
    }
    default: break;
    }
    return text;
}

namespace {

int ColourSlotOf(char code) {
    for (int slot = 0; slot < CLOCK_OTHER; ++slot)
        if (kClockColours[slot].code == code) return slot;
    return -1;
}

class Layout {
public:
    Layout(ClockCanvas& canvas, const uint32_t (&colours)[KV_CLOCK_COLOURS], int width, int x0, int y0)
        : canvas_(canvas), colours_(colours), width_(width), x0_(x0), y0_(y0), lineHeight_(canvas.LineHeight()),
          smallestX_(width) {}

    void Text(const char* text, size_t length, uint32_t colour) {
        const int w = canvas_.TextWidth(text, length);
        Place(w, [&](int x, int y) { canvas_.Text(x, y, text, length, colour); });
    }

    void Bar(int percent, uint32_t colour) {
        const int h = lineHeight_;
        const int v = Clamp(percent, 0, 100);
        Place(2 * h, [&](int x, int y) {
            canvas_.Fill(x, y + 2, x + 2 * h, y + h - 2, colours_[CLOCK_OTHER]);
            canvas_.Fill(x + 1, y + 3, x + 1 + (2 * h - 1) * v / 100, y + h - 3, colour);
        });
    }

    void NewLine(bool rightToLeft) {
        rightToLeft_ = rightToLeft;
        x_ = rightToLeft ? width_ : 0;
        if (laidOut_) y_ += lineHeight_;
    }

    ClockSize Size() const {
        const long long width = std::max<long long>(width_ - smallestX_, largestX_);
        const long long height = lineHeight_ + largestY_;
        return {static_cast<int>(std::min<long long>(width, 0x7FFFFFFF)),
                static_cast<int>(std::min<long long>(height, 0x7FFFFFFF))};
    }

private:
    template <typename Draw>
    void Place(int w, Draw draw) {
        if (rightToLeft_) x_ -= w;
        // Items that do not fit are measured only: the box grows for the next tick.
        if (x_ >= 0 && x_ + w <= width_) draw(static_cast<int>(x0_ + x_), static_cast<int>(y0_ + y_));
        if (rightToLeft_) {
            smallestX_ = std::min(smallestX_, x_);
        } else {
            x_ += w;
            largestX_ = std::max(largestX_, x_);
        }
        largestY_ = std::max(largestY_, y_);
        laidOut_ = true;
    }

    ClockCanvas& canvas_;
    const uint32_t (&colours_)[KV_CLOCK_COLOURS];
    long long width_;
    long long x0_;
    long long y0_;
    int lineHeight_;
    long long x_ = 0;
    long long y_ = 0;
    bool rightToLeft_ = false;
    bool laidOut_ = false;
    long long smallestX_;
    long long largestX_ = 0;
    long long largestY_ = 0;
};

}  // namespace

ClockSize RenderClockFormat(const std::string& format, const ClockFigures& figures,
                            const uint32_t (&colours)[KV_CLOCK_COLOURS], ClockCanvas& canvas, int currentWidth,
                            int x0, int y0) {
    Layout layout(canvas, colours, currentWidth, x0, y0);
    const uint32_t literal = colours[CLOCK_OTHER];
    const char* text = format.data();
    const size_t size = format.size();
    size_t at = 0;
    while (at < size) {
        const void* found = memchr(text + at, '%', size - at);
        const size_t percent = found ? static_cast<size_t>(static_cast<const char*>(found) - text) : size;
        if (percent > at) layout.Text(text + at, percent - at, literal);
        if (percent == size) break;

        const char code = percent + 1 < size ? text[percent + 1] : '\0';
        const int slot = ColourSlotOf(code);
        if (code == 'a') {
            layout.Bar(figures.memoryLoad, colours[slot]);
            at = percent + 2;
        } else if (code == 'b') {
            layout.Bar(figures.processor, colours[slot]);
            at = percent + 2;
        } else if (slot >= 0) {
            const std::string item = ClockCodeText(code, figures);
            layout.Text(item.data(), item.size(), colours[slot]);
            at = percent + 2;
        } else if (code == '\\' || code == '/') {
            layout.NewLine(code == '/');
            at = percent + 2;
        } else {
            // An unknown code shows as a space and its character is read again.
            layout.Text(" ", 1, literal);
            at = percent + 1;
        }
    }
    return layout.Size();
}
