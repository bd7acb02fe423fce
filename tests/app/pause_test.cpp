#include <gtest/gtest.h>
#include <windows.h>

#include "app/pause.h"
#include "app/timers.h"
#include "engine/change_cycle.h"
#include "pages/page_wall_cycle.h"
#include "system/processor_usage.h"
#include "host_windows.h"

namespace {

::testing::Environment* const windows = ::testing::AddGlobalTestEnvironment(new HostWindows);

// KillTimer tells whether the timer was running; start it again after.
bool Running(UINT_PTR timer) {
    if (!KillTimer(hMain, timer)) return false;
    SetTimer(hMain, timer, 60000, nullptr);
    return true;
}

TEST(Pause, StopsExactlyTheTimersItsOptionsNameAndRestoresThem) {
    struct Case {
        bool changes, icons, saver;
    } cases[] = {{true, true, false}, {true, false, true}, {false, true, false}, {false, false, true}};
    currentTimer = 60000;
    for (const Case& c : cases) {
        CheckDlgButton(hBoth, 10312, c.changes ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(hBoth, 10313, c.icons ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(hBoth, 10314, c.saver ? BST_CHECKED : BST_UNCHECKED);
        SetTimer(hMain, Timer03, currentTimer, nullptr);
        SetTimer(hMain, Timer04, 2000, nullptr);
        SetTimer(hMain, Timer06, 2000, nullptr);
        SetTimer(hMain, Timer08, 1000, nullptr);

        RunCheckOff();
        EXPECT_EQ(checkOff, 1);
        EXPECT_EQ(Running(Timer03), !c.changes);
        EXPECT_EQ(Running(Timer04), !c.icons);
        EXPECT_EQ(Running(Timer06), !c.saver) << "screen-saver enforcement";
        EXPECT_TRUE(Running(Timer08)) << "housekeeping never pauses";

        KillTimer(hMain, Timer03);
        KillTimer(hMain, Timer04);
        KillTimer(hMain, Timer06);
        RunCheckOff();
        EXPECT_EQ(checkOff, 0);
        EXPECT_EQ(Running(Timer03), c.changes) << "restarted only where the pause had stopped it";
        EXPECT_EQ(Running(Timer04), c.icons);
        EXPECT_EQ(Running(Timer06), c.saver);
    }
    // Leaving the pause without a period starts no change timer.
    CheckDlgButton(hBoth, 10312, BST_CHECKED);
    currentTimer = 0;
    RunCheckOff();
    RunCheckOff();
    EXPECT_FALSE(Running(Timer03));
    KillTimer(hMain, Timer04);
    KillTimer(hMain, Timer06);
    KillTimer(hMain, Timer08);
}

TEST(Period, OtherPeriodsInSecondsAndTheLongestTimer) {
    EXPECT_EQ(OtherPeriodMilliseconds(90), 90000u);
    EXPECT_EQ(OtherPeriodMilliseconds(0), 0u);
    EXPECT_EQ(OtherPeriodMilliseconds(-5), 0u);
    EXPECT_EQ(OtherPeriodMilliseconds(100000000), 2147483000u) << "cut to what SetTimer accepts";
    EXPECT_EQ(PeriodMilliseconds(0), 0u);
    EXPECT_EQ(PeriodMilliseconds(1), 5000u);
    EXPECT_EQ(PeriodMilliseconds(13), 86400000u);
    EXPECT_EQ(PeriodMilliseconds(14), 0u);
}

TEST(ProcessorUsage, FirstAnswerIsZeroAndABusyIntervalIsNearlyFull) {
    PrepeaCpu();
    EXPECT_EQ(GetCpuUsage(), 0) << "the first sample has nothing to compare with";
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    struct Spin {
        static DWORD WINAPI Run(LPVOID stop) {
            volatile unsigned long work = 0;
            while (!*static_cast<volatile LONG*>(stop)) ++work;
            return 0;
        }
    };
    volatile LONG stop = 0;
    std::vector<HANDLE> threads;
    for (DWORD i = 0; i < system.dwNumberOfProcessors; ++i)
        threads.push_back(CreateThread(nullptr, 0, Spin::Run, const_cast<LONG*>(&stop), 0, nullptr));
    Sleep(1000);
    const int busy = GetCpuUsage();
    InterlockedExchange(&stop, 1);
    for (HANDLE thread : threads) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
    EXPECT_GE(busy, 85);
    EXPECT_LE(busy, 101);
    CloseCpu();
}

TEST(ProcessorUsage, OneIntervalFromIdleAndSystemTime) {
    EXPECT_EQ(UsageFromTimes(0, 1000, 1), 100) << "no idle time: 100.5 truncated";
    EXPECT_EQ(UsageFromTimes(1000, 1000, 1), 0);
    EXPECT_EQ(UsageFromTimes(1000, 1000, 2), 50);
    EXPECT_EQ(UsageFromTimes(250, 1000, 1), 75);
}

}  // namespace
