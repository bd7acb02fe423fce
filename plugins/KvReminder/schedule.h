// When reminders fire: one entry per reminder, rebuilt every day, and the
// check that runs once a minute. The clock and the dial-up connection state
// come in as plain values, so every rule can be driven minute by minute.
#pragma once

#include <cstdint>
#include <vector>

struct ReminderRecord;

// A local date and time as the check sees it.
struct LocalTime {
    int year = 2000, month = 1, day = 1;  // month 1..12, day 1..31
    int weekday = 1;                      // Monday 1 .. Sunday 7
    int yearDay = 1;                      // 1-based
    int hour = 0, minute = 0;
    int MinuteOfDay() const { return hour * 60 + minute; }
};

// Connection state: 0 at least one dial-up connection is up, 1 none.
enum : uint8_t { kConnected = 0, kNotConnected = 1 };

struct ScheduleEntry {
    int number = 0;
    int active = 0;     // may fire today
    uint8_t state = 0;  // the connection condition; type 3: the state last seen
    int time = 0;       // minute of the day
    int A = 0, B = 0;
    uint8_t type = 0;
};

// Whether a reminder of type 0 (day rule) is due on the day at all.
bool DayRuleMatches(int paramA, int paramB, const LocalTime& today);

class Schedule {
public:
    // Adds the reminder's entry, or updates it in place when it has one.
    void Build(const ReminderRecord& record, const LocalTime& now, const LocalTime& start, uint8_t connection);
    void Remove(int number);
    void Clear() { entries_.clear(); }
    const std::vector<ScheduleEntry>& entries() const { return entries_; }
    const ScheduleEntry* Find(int number) const;

    // The connection state seen when the reminders were loaded.
    void SetConnection(uint8_t connection) { connection_ = connection; }

    // The minute check: the numbers of the reminders due now, in list order.
    // While the editor is open nothing fires and nothing is kept for later.
    std::vector<int> Check(const LocalTime& now, uint8_t connection, const LocalTime& start, bool editorOpen);

private:
    std::vector<ScheduleEntry> entries_;  // the newest first
    uint8_t connection_ = kNotConnected;
    int changeMinute_ = -1;  // when the connection state last changed
};
