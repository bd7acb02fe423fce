#include "schedule.h"

#include <algorithm>

#include "reminder_record.h"

bool DayRuleMatches(int paramA, int paramB, const LocalTime& today) {
    const int d = today.weekday;
    bool day;
    switch (paramA) {
        case 0: day = true; break;
        case 1: case 2: case 3: case 4: case 5: case 6: case 7: day = d == paramA; break;
        case 8: day = today.day % 2 == 0; break;
        case 9: day = today.day % 2 == 1; break;
        case 10: day = d % 2 == 0; break;
        case 11: day = d % 2 == 1; break;
        case 12: day = d < 6; break;
        case 13: day = d > 5; break;
        default: day = false; break;
    }
    if (!day) return false;
    // Weeks counted from the first Monday-started week, as the stored rules mean them.
    const int weekOfMonth = (today.day - d) / 7;
    const int weekOfYear = (today.yearDay - d) / 7;
    switch (paramB) {
        case 0: return true;
        case 1: return today.month % 2 == 0;
        case 2: return today.month % 2 == 1;
        case 3: return weekOfMonth % 2 != 0;
        case 4: return weekOfMonth % 2 == 0;
        case 5: return weekOfYear % 2 == 0;
        case 6: return weekOfYear % 2 != 0;
        default: return false;
    }
}

void Schedule::Build(const ReminderRecord& r, const LocalTime& now, const LocalTime& start, uint8_t connection) {
    int active = 0;
    if (!r.Activity) {
        switch (r.Type) {
            case kTypeDays: active = DayRuleMatches(r.ParamA, r.ParamB, now); break;
            case kTypeDate: active = now.day == r.ParamA && now.month == r.ParamB; break;
            case kTypeSeries:
            case kTypeConnection: active = 1; break;
            case kTypeAfterStart:
                // Wide sums: the delay comes from the file and may be anything.
                active = now.day == start.day && now.month == start.month &&
                         now.MinuteOfDay() <= static_cast<long long>(start.MinuteOfDay()) + r.ParamB;
                break;
            default: active = 0; break;
        }
    }
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const ScheduleEntry& e) { return e.number == r.number; });
    if (found == entries_.end()) found = entries_.insert(entries_.begin(), ScheduleEntry());
    ScheduleEntry& e = *found;
    e.number = r.number;
    e.active = active;
    e.time = r.Houre * 60 + r.Minute;
    e.type = static_cast<uint8_t>(r.Type);
    e.A = 0;
    e.B = 0;
    e.state = r.InetState;
    switch (r.Type) {
        case kTypeSeries: e.A = r.ParamA; e.B = r.ParamB; break;
        case kTypeConnection: e.A = r.ParamA; e.B = r.ParamB; e.state = connection; break;
        case kTypeAfterStart: e.B = r.ParamB; break;
        default: break;
    }
}

void Schedule::Remove(int number) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const ScheduleEntry& e) { return e.number == number; }),
                   entries_.end());
}

const ScheduleEntry* Schedule::Find(int number) const {
    for (const ScheduleEntry& e : entries_) {
        if (e.number == number) return &e;
    }
    return nullptr;
}

std::vector<int> Schedule::Check(const LocalTime& clock, uint8_t S, const LocalTime& start, bool editorOpen) {
    const int now = clock.MinuteOfDay();
    if (changeMinute_ < 0) changeMinute_ = now;
    if (S != connection_) {
        connection_ = S;
        changeMinute_ = now;
    }
    std::vector<int> due;
    if (editorOpen) return due;
    for (ScheduleEntry& e : entries_) {
        if (!e.active) continue;
        const bool condition = e.state == 0 || e.state - 1 == S;
        switch (e.type) {
            case kTypeDays:
            case kTypeDate:
                if (condition && now == e.time) due.push_back(e.number);
                break;
            case kTypeSeries:
                if (condition && e.A >= 1 && e.B >= 1) {
                    int k = now - e.time;
                    if (k >= 0 && k % e.A == 0 && k / e.A < e.B) due.push_back(e.number);
                }
                break;
            case kTypeConnection: {
                const long long since = static_cast<long long>(now) - changeMinute_;
                if (e.time < now && e.A == S && e.state != S && since == e.B) due.push_back(e.number);
                // Seen once the delay has passed, or at once when the state
                // left the one that triggers: the next firing needs a new change.
                if (since >= e.B || S != e.A) e.state = S;
                break;
            }
            case kTypeAfterStart: {
                const long long dueMinute = static_cast<long long>(start.MinuteOfDay()) + e.B;
                if (now <= e.time || now > dueMinute) {
                    e.active = 0;
                } else if (condition && now == dueMinute) {
                    due.push_back(e.number);
                    e.active = 0;
                }
                break;
            }
            default: break;
        }
    }
    return due;
}
