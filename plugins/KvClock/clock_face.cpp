#include "clock_face.h"

#include <cmath>
#include <cstdlib>
#include <cerrno>

int ClockDiameter(int stored) {
    return (stored < KV_CLOCK_MIN_DIAMETER || stored > KV_CLOCK_MAX_DIAMETER) ? KV_CLOCK_MIN_DIAMETER : stored;
}

std::vector<ClockStroke> HourMarks(int diameter) {
    const int r = diameter / 2;
    std::vector<ClockStroke> marks;
    const double outer = r - r / 8;
    const double inner = r - r / 4;
    // The angle steps by 0.5236 up to 6.2832, as the face has always been drawn.
    for (int k = 0; k <= 12; ++k) {
        const double angle = 0.5236 * k;
        marks.push_back({static_cast<int>(r + outer * std::cos(angle)), static_cast<int>(r + outer * std::sin(angle)),
                         static_cast<int>(r + inner * std::cos(angle)), static_cast<int>(r + inner * std::sin(angle)),
                         r / 40});
    }
    const int thick = r / 20;
    const int nearFrom = r / 10, nearTo = r / 3;
    const int farFrom = 2 * r - r / 10 - 2, farTo = 2 * r - r / 3 - 2;
    marks.push_back({r, nearFrom, r, nearTo, thick});  // 12
    marks.push_back({r, farFrom, r, farTo, thick});    // 6
    marks.push_back({nearFrom, r, nearTo, r, thick});  // 9
    marks.push_back({farFrom, r, farTo, r, thick});    // 3
    return marks;
}

int RimWidth(int diameter) { return (diameter / 2) / 10; }

namespace {

ClockStroke Hand(double r, double angle, double length, int width) {
    return {static_cast<int>(r + length * std::cos(angle)), static_cast<int>(r + length * std::sin(angle)),
            static_cast<int>(r), static_cast<int>(r), width};
}

}  // namespace

ClockHands HandStrokes(int diameter, int hour, int minute, int second) {
    const double r = diameter / 2.0;
    ClockHands hands;
    hands.second = Hand(r, 0.1047 * second - 1.571, 4.0 / 5.0 * r, static_cast<int>(r / 40));
    hands.minute = Hand(r, 0.1047 * (minute + second / 60.0) - 1.571, 4.0 / 5.0 * r, static_cast<int>(r / 20));
    hands.hour = Hand(r, 0.5236 * (hour + minute / 60.0) - 1.571, r / 2, static_cast<int>(r / 20));
    return hands;
}

void ParsePoint(const std::string& text, int& x, int& y) {
    const char* at = text.c_str();
    char* end = nullptr;
    errno = 0;
    long first = strtol(at, &end, 10);
    if (end == at || errno) return;
    at = end;
    long second = strtol(at, &end, 10);
    if (end == at || errno) return;
    if (first < -100000 || first > 100000 || second < -100000 || second > 100000) return;
    x = static_cast<int>(first);
    y = static_cast<int>(second);
}
