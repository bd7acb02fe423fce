// The schedule minute by minute with a clock and a connection state of the
// test's choosing.
#include <gtest/gtest.h>

#include <vector>

#include "reminder_record.h"
#include "schedule.h"

namespace {

// 2024-01-01 was a Monday.
LocalTime Day(int month, int day, int hour = 0, int minute = 0) {
    static const int kDaysBefore[] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};  // leap year
    LocalTime t;
    t.year = 2024;
    t.month = month;
    t.day = day;
    t.yearDay = kDaysBefore[month - 1] + day;
    t.weekday = (t.yearDay - 1) % 7 + 1;
    t.hour = hour;
    t.minute = minute;
    return t;
}

LocalTime At(LocalTime day, int minuteOfDay) {
    day.hour = minuteOfDay / 60;
    day.minute = minuteOfDay % 60;
    return day;
}

ReminderRecord Reminder(int number, int type, int hour, int minute, int a = 0, int b = 0) {
    ReminderRecord r;
    r.number = number;
    r.Name = "r";
    r.Type = type;
    r.Houre = static_cast<uint8_t>(hour);
    r.Minute = static_cast<uint8_t>(minute);
    r.ParamA = a;
    r.ParamB = b;
    return r;
}

// Minutes of the day at which the reminder fires, running the check from
// first to last minute of the day.
std::vector<int> FiringMinutes(Schedule& schedule, const LocalTime& day, const LocalTime& start, int first = 0,
                               int last = 1439, uint8_t connection = kNotConnected) {
    std::vector<int> minutes;
    for (int m = first; m <= last; ++m) {
        if (!schedule.Check(At(day, m), connection, start, false).empty()) minutes.push_back(m);
    }
    return minutes;
}

std::vector<int> FiringMinutes(const ReminderRecord& r, const LocalTime& day) {
    Schedule schedule;
    schedule.Build(r, day, day, kNotConnected);
    return FiringMinutes(schedule, day, day);
}

TEST(Schedule, SeriesFiresAtTheTimeAndEveryIntervalTheGivenNumberOfTimes) {
    EXPECT_EQ(FiringMinutes(Reminder(1, kTypeSeries, 12, 0, 30, 3), Day(3, 5)), (std::vector<int>{720, 750, 780}));
    EXPECT_TRUE(FiringMinutes(Reminder(1, kTypeSeries, 12, 0, 0, 3), Day(3, 5)).empty()) << "no interval";
    EXPECT_TRUE(FiringMinutes(Reminder(1, kTypeSeries, 12, 0, 30, 0), Day(3, 5)).empty()) << "no firings";
}

TEST(Schedule, DayRulesPickTheirDaysOfTheWeekAndMonth) {
    // Rule 12: Monday to Friday, every week, over two weeks from Monday 1 January.
    std::vector<int> days;
    for (int day = 1; day <= 14; ++day) {
        if (!FiringMinutes(Reminder(1, kTypeDays, 9, 15, 12, 0), Day(1, day)).empty()) days.push_back(day);
    }
    EXPECT_EQ(days, (std::vector<int>{1, 2, 3, 4, 5, 8, 9, 10, 11, 12}));
    EXPECT_EQ(FiringMinutes(Reminder(1, kTypeDays, 9, 15, 12, 0), Day(1, 2)), std::vector<int>{555}) << "at its minute";

    struct Case {
        int a, b, month, day;
        bool fires;
    } cases[] = {
        {0, 0, 1, 7, true},    {3, 0, 1, 3, true},    {3, 0, 1, 4, false},  // Wednesday
        {7, 0, 1, 7, true},    {8, 0, 1, 4, true},    {8, 0, 1, 5, false},  // even day of the month
        {9, 0, 1, 5, true},    {10, 0, 1, 2, true},   {10, 0, 1, 3, false}, // Tuesday, Thursday, Saturday
        {11, 0, 1, 7, true},   {13, 0, 1, 6, true},   {13, 0, 1, 5, false},
        {14, 0, 1, 1, false},  {-1, 0, 1, 1, false},  // no such rule
        {0, 1, 2, 1, true},    {0, 1, 1, 1, false},   {0, 2, 1, 1, true},   // even and odd months
        // Week of the month (day - weekday) / 7: 1..7 January is week 0, 8..14 week 1, and
        // Sunday 14 January: (14 - 7) / 7 = 1; Monday 15: (15 - 1) / 7 = 2.
        {0, 3, 1, 3, false},   {0, 3, 1, 10, true},   {0, 3, 1, 14, true},  {0, 3, 1, 15, false},
        {0, 4, 1, 3, true},    {0, 4, 1, 10, false},  {0, 4, 1, 15, true},
        // Week of the year: 1 March 2024 is a Friday, day 61: (61 - 5) / 7 = 8, even.
        {0, 5, 3, 1, true},    {0, 6, 3, 1, false},   {0, 6, 3, 4, true},   // Monday 4 March: (64 - 1) / 7 = 9
        {0, 7, 1, 1, false},   // no such week rule
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DayRuleMatches(c.a, c.b, Day(c.month, c.day)), c.fires)
            << "rule " << c.a << "/" << c.b << " on " << c.day << "." << c.month;
    }
}

TEST(Schedule, YearlyDateFiresOnlyOnItsDayAndSwitchedOffNever) {
    ReminderRecord birthday = Reminder(1, kTypeDate, 8, 0, 29, 2);
    EXPECT_EQ(FiringMinutes(birthday, Day(2, 29)), std::vector<int>{480});
    EXPECT_TRUE(FiringMinutes(birthday, Day(3, 29)).empty());
    EXPECT_TRUE(FiringMinutes(birthday, Day(2, 28)).empty());
    birthday.Activity = 1;
    EXPECT_TRUE(FiringMinutes(birthday, Day(2, 29)).empty());
}

TEST(Schedule, ConnectionConditionFollowsTheDialUpState) {
    ReminderRecord whileOnline = Reminder(1, kTypeDays, 10, 0);
    whileOnline.InetState = 1;
    ReminderRecord whileOffline = Reminder(2, kTypeDays, 10, 0);
    whileOffline.InetState = 2;
    Schedule schedule;
    LocalTime day = Day(1, 1);
    schedule.Build(whileOnline, day, day, kNotConnected);
    schedule.Build(whileOffline, day, day, kNotConnected);
    EXPECT_EQ(schedule.Check(At(day, 600), kNotConnected, day, false), std::vector<int>{2});
    EXPECT_EQ(schedule.Check(At(day, 600), kConnected, day, false), std::vector<int>{1});
}

TEST(Schedule, ConnectionEventFiresOnceAfterTheDelayAndAgainOnlyAfterANewConnect) {
    Schedule schedule;
    LocalTime day = Day(1, 1);
    schedule.Build(Reminder(7, kTypeConnection, 0, 0, 0, 5), day, day, kNotConnected);
    schedule.SetConnection(kNotConnected);
    std::vector<int> fired;
    auto run = [&](int from, int to, uint8_t state) {
        for (int m = from; m <= to; ++m) {
            if (!schedule.Check(At(day, m), state, day, false).empty()) fired.push_back(m);
        }
    };
    run(540, 599, kNotConnected);
    run(600, 659, kConnected);  // up at 10:00
    EXPECT_EQ(fired, std::vector<int>{605});
    run(660, 719, kNotConnected);  // down at 11:00: "connection goes down" is not this rule
    run(720, 800, kConnected);     // up again at 12:00
    EXPECT_EQ(fired, (std::vector<int>{605, 725}));

    // Rule 1 waits for the connection to go down; not before the time of day.
    Schedule down;
    down.Build(Reminder(8, kTypeConnection, 11, 30, 1, 0), day, day, kConnected);
    down.SetConnection(kConnected);
    std::vector<int> downFired;
    for (int m = 600; m <= 720; ++m) {
        uint8_t state = (m >= 620 && m < 700) || m >= 710 ? kNotConnected : kConnected;
        if (!down.Check(At(day, m), state, day, false).empty()) downFired.push_back(m);
    }
    EXPECT_EQ(downFired, std::vector<int>{710}) << "the drop at 10:20 came before 11:30";
}

TEST(Schedule, AfterStartFiresOnceOnTheStartDayOnly) {
    LocalTime start = Day(4, 10, 9, 0);
    Schedule schedule;
    ReminderRecord r = Reminder(3, kTypeAfterStart, 0, 0, 0, 10);
    schedule.Build(r, start, start, kNotConnected);
    EXPECT_EQ(FiringMinutes(schedule, start, start, 540), std::vector<int>{550});

    // The next day the rebuilt entry is never active.
    LocalTime nextDay = Day(4, 11, 0, 0);
    schedule.Build(r, nextDay, start, kNotConnected);
    EXPECT_TRUE(FiringMinutes(schedule, nextDay, start).empty());

    // Started before its time of day: not today.
    Schedule early;
    ReminderRecord late = Reminder(4, kTypeAfterStart, 9, 5, 0, 10);
    early.Build(late, start, start, kNotConnected);
    EXPECT_TRUE(FiringMinutes(early, start, start, 540).empty());
}

TEST(Schedule, NothingFiresWhileTheEditorIsOpenNorLater) {
    Schedule schedule;
    LocalTime day = Day(5, 6);
    schedule.Build(Reminder(1, kTypeDays, 12, 0), day, day, kNotConnected);
    schedule.Build(Reminder(2, kTypeSeries, 12, 0, 1, 2), day, day, kNotConnected);
    EXPECT_TRUE(schedule.Check(At(day, 720), kNotConnected, day, true).empty());
    EXPECT_EQ(schedule.Check(At(day, 721), kNotConnected, day, false), std::vector<int>{2})
        << "only the series' second firing; the missed ones are not made up";
}

TEST(Schedule, SavingAReminderUpdatesItsEntryInPlace) {
    Schedule schedule;
    LocalTime day = Day(5, 6);
    ReminderRecord r = Reminder(9, kTypeDays, 12, 0);
    schedule.Build(r, day, day, kNotConnected);
    schedule.Build(Reminder(10, kTypeDays, 13, 0), day, day, kNotConnected);
    r.Minute = 5;
    schedule.Build(r, day, day, kNotConnected);
    ASSERT_EQ(schedule.entries().size(), 2u);
    EXPECT_EQ(schedule.Find(9)->time, 725);
    EXPECT_EQ(schedule.entries().front().number, 10) << "new entries go in front";
    schedule.Remove(9);
    EXPECT_EQ(schedule.Find(9), nullptr);
}

}  // namespace
