#include <gtest/gtest.h>
#include <windows.h>

#include "app/timers.h"
#include "desktop/full_screen.h"
#include "desktop/shell_care.h"
#include "desktop/tray_icon.h"
#include "pages/page_general.h"

namespace {

// A plain visible window in the given rectangle.
class Cover {
public:
    explicit Cover(const RECT& rect, bool visible = true) {
        window_ = CreateWindowExA(0, "STATIC", "cover", WS_POPUP | (visible ? WS_VISIBLE : 0), rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    }
    ~Cover() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

RECT WorkArea() {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TEST(CheckFullWind, NinePixelsUncoveredIsStillFullScreenTenIsNot) {
    const RECT work = WorkArea();
    EXPECT_EQ(CheckFullWind(), 0);
    for (int side = 0; side < 4; ++side) {
        for (int gap : {9, 10}) {
            RECT rect = work;
            switch (side) {
                case 0: rect.left += gap; break;
                case 1: rect.top += gap; break;
                case 2: rect.right -= gap; break;
                default: rect.bottom -= gap; break;
            }
            Cover cover(rect);
            SetForegroundWindow(cover.get());
            EXPECT_EQ(CheckFullWind(), gap == 9 ? 1 : 0) << "side " << side << " gap " << gap;
        }
    }
}

TEST(CheckFullWind, CountsCoveringWindowsBehindTheForegroundButNotHiddenOnes) {
    const RECT work = WorkArea();
    {
        Cover hidden(work, false);
        EXPECT_EQ(CheckFullWind(), 0);
    }
    Cover full(work);
    RECT small = {10, 10, 100, 100};
    Cover front(small);
    SetForegroundWindow(front.get());
    EXPECT_EQ(CheckFullWind(), 1);
}

TEST(CheckFullWind, TheDesktopWindowsDoNotCount) {
    WNDCLASSA desktopClass = {};
    desktopClass.lpfnWndProc = DefWindowProcA;
    desktopClass.lpszClassName = "Progman";
    RegisterClassA(&desktopClass);
    const RECT work = WorkArea();
    HWND progman = CreateWindowExA(0, "Progman", "Program Manager", WS_POPUP | WS_VISIBLE, work.left, work.top,
                                   work.right - work.left, work.bottom - work.top, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(progman);
    EXPECT_EQ(CheckFullWind(), 0);
    DestroyWindow(progman);
}

TEST(CheckInterval, BoundedIsHalfOpenUnboundedHasNoTop) {
    EXPECT_TRUE(CheckInterval(2000, 2000, 3000, true));
    EXPECT_FALSE(CheckInterval(3000, 2000, 3000, true));
    EXPECT_FALSE(CheckInterval(1999, 2000, 3000, true));
    EXPECT_TRUE(CheckInterval(99999, 2000, 3000, false));
    EXPECT_FALSE(CheckInterval(1999, 2000, 3000, false));
}

TEST(Timers, TrayUpBelowOneSecondCountsAsOne) {
    EXPECT_EQ(TrayUpPeriod(0), 1000u);
    EXPECT_EQ(TrayUpPeriod(-5), 1000u);
    EXPECT_EQ(TrayUpPeriod(3), 3000u);
}

TEST(Timers, DayChangeIsCountedAndStoredOnlyWhenKnown) {
    DayChange first = NextDay(0, 17);
    EXPECT_TRUE(first.changed);
    EXPECT_FALSE(first.store) << "the first day seen is not written";
    EXPECT_EQ(first.day, 17);
    DayChange same = NextDay(17, 17);
    EXPECT_FALSE(same.changed);
    DayChange next = NextDay(17, 18);
    EXPECT_TRUE(next.changed);
    EXPECT_TRUE(next.store);
    EXPECT_EQ(next.day, 18);
    EXPECT_TRUE(NextDay(31, 1).changed) << "month turn";
}

TEST(Taskbar, OpacityFromPercent) {
    EXPECT_EQ(TaskbarOpacity(50, false, false), 127);
    EXPECT_EQ(TaskbarOpacity(99, false, false), 252);
    EXPECT_EQ(TaskbarOpacity(1, false, false), 2);
    EXPECT_EQ(TaskbarOpacity(50, true, false), 127);
    EXPECT_EQ(TaskbarOpacity(50, false, true), 127);
    EXPECT_EQ(TaskbarOpacity(50, true, true), 255) << "opaque while the pointer is over it";
}

TEST(Priority, EntriesMapToClassesAndBadIndicesToNormal) {
    EXPECT_EQ(PriorityClassForIndex(0), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassForIndex(3), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassForIndex(5), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassForIndex(6), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(PriorityClassForIndex(-1), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

}  // namespace
