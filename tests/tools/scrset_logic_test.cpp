// The chooser's decisions: its command line, the next saver, the period and
// the full-screen run with periodic change, driven by a scripted clock.
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "saverchoice.h"

namespace {

int Choose(const std::vector<bool>& checked, int current, bool fullScreen = true, bool randomOrder = false) {
    std::mt19937 generator(7);
    return ChooseStartRow(checked, current, fullScreen, randomOrder,
                          [&](int n) { return static_cast<int>(generator() % static_cast<unsigned>(n)); });
}

}  // namespace

TEST(ScrCommandLine, SecondCharacterDecidesTheMode) {
    ScrCommandLine line = ParseScrCommandLine("/s");
    EXPECT_EQ(line.mode, 'S');
    EXPECT_EQ(line.text, "/S");  // handed on to the saver upper-cased
    line = ParseScrCommandLine("/p 4242");
    EXPECT_EQ(line.mode, 'P');
    EXPECT_EQ(line.text, "/p 4242");
    line = ParseScrCommandLine("/c:1234");
    EXPECT_EQ(line.mode, 'C');
    EXPECT_EQ(line.parent, reinterpret_cast<HWND>(1234));
    EXPECT_EQ(ParseScrCommandLine("/C 987").parent, reinterpret_cast<HWND>(987));
    EXPECT_EQ(ParseScrCommandLine("/c").parent, nullptr);
    EXPECT_EQ(ParseScrCommandLine(nullptr).mode, 0);
}

TEST(ScrCommandLine, ParentHandleWidensItsLow32BitsWithTheSign) {
    // 0x80010000: a handle with the top bit of its 32 set, as a 32-bit
    // writer, a 64-bit one and a signed one put it.
    const HWND high = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-2147418112));
    EXPECT_EQ(ParseScrCommandLine("/c:2147549184").parent, high);
    EXPECT_EQ(ParseScrCommandLine("/C 18446744071562133504").parent, high);
    EXPECT_EQ(ParseScrCommandLine("/c:-2147418112").parent, high);
    // The top bit clear: the number as it is.
    EXPECT_EQ(ParseScrCommandLine("/c:2147483647").parent, reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7FFFFFFF)));
}

TEST(ChooseStartRow, InTurnTakesTheCheckedSaverAfterTheStoredOne) {
    // Three checked savers in list order, the third stored: the first.
    EXPECT_EQ(Choose({true, true, true}, 2), 0);
    // Unchecked rows are passed over.
    EXPECT_EQ(Choose({true, false, true, true}, 0), 2);
    EXPECT_EQ(Choose({false, true, false, true}, 3), 1);
    // A stored saver that is not checked (or none): the first checked one.
    EXPECT_EQ(Choose({false, true, false, true}, 2), 1);
    EXPECT_EQ(Choose({false, true, true}, -1), 1);
}

TEST(ChooseStartRow, FewerThanTwoCheckedOrNotFullScreenKeepsTheStoredSaver) {
    EXPECT_EQ(Choose({true, false, false}, 2), 2);
    EXPECT_EQ(Choose({false, false, false}, 1), 1);
    EXPECT_EQ(Choose({false, true, false}, -1), 0);  // row 0 when none is stored
    EXPECT_EQ(Choose({true, true, true}, 1, false), 1);
    EXPECT_EQ(Choose({}, -1), -1);
    EXPECT_EQ(Choose({true, true}, 5), 0);  // a row past the end is no row
}

TEST(ChooseStartRow, RandomNeverRepeatsTheStoredSaverAndReachesEveryOther) {
    std::mt19937 generator(1);
    auto random = [&](int n) { return static_cast<int>(generator() % static_cast<unsigned>(n)); };
    const std::vector<bool> checked = {true, false, true, true, true};
    std::set<int> seen;
    int current = 2;
    for (int run = 0; run < 200; ++run) {
        int next = ChooseStartRow(checked, current, true, true, random);
        ASSERT_NE(next, current);
        ASSERT_TRUE(checked[next]);
        seen.insert(next);
        current = next;
    }
    EXPECT_EQ(seen, (std::set<int>{0, 2, 3, 4}));
    // Two checked: always the other one. A source stuck on the stored row
    // cannot hang the choice.
    EXPECT_EQ(ChooseStartRow({true, true}, 0, true, true, random), 1);
    EXPECT_EQ(ChooseStartRow({true, true, true}, 0, true, true, [](int) { return 0; }), 1);
}

TEST(SaverDisplayName, QuotingIsTakenOffAndTheFileNameStandsIn) {
    EXPECT_EQ(SaverDisplayName("Screen saver \"Stand-in\"", "ta.scr"), "Stand-in");
    EXPECT_EQ(SaverDisplayName("Заставка 'Звёзды'", "x.scr"), "Звёзды");
    EXPECT_EQ(SaverDisplayName("\"Bob's Aquarium\"", "x.scr"), "Bob's Aquarium");
    // A lone apostrophe is no quoting.
    EXPECT_EQ(SaverDisplayName("Marquee's Display", "x.scr"), "Marquee's Display");
    EXPECT_EQ(SaverDisplayName("", "ssbezier.scr"), "ssbezier");
    EXPECT_EQ(SaverDisplayName(nullptr, "C:\\WINDOWS\\Mystify.Old.SCR"), "Mystify.Old");
    EXPECT_EQ(SaverDisplayName("\"\"", "empty.scr"), "empty");
}

namespace {

// A scripted run: each saver "runs" for the given minutes (or until
// stopped); the clock advances with every wait.
class ScriptedRunner : public SaverRunner {
public:
    explicit ScriptedRunner(std::vector<int> minutesUntilWake, int rows = 3)
        : wake_(std::move(minutesUntilWake)), rows_(rows) {}
    bool Start(int row) override {
        if (row < 0 || row >= rows_ || failStart_ == static_cast<int>(started.size())) return false;
        started.push_back(row);
        running_ = true;
        return true;
    }
    bool WaitForEnd(DWORD milliseconds) override {
        waits.push_back(milliseconds);
        const ULONGLONG wakeAt = static_cast<ULONGLONG>(wake_.empty() ? 1000000 : wake_.front()) * 60000;
        if (milliseconds == INFINITE || clock_ + milliseconds >= wakeAt) {
            clock_ = wakeAt;
            running_ = false;
            return true;
        }
        clock_ += milliseconds;
        return false;
    }
    void Stop() override {
        ++stops;
        running_ = false;
    }
    int NextRow() override { return (started.back() + 1) % rows_; }
    void FailStartNumber(int index) { failStart_ = index; }

    std::vector<int> started;
    std::vector<DWORD> waits;
    int stops = 0;

private:
    std::vector<int> wake_;
    int rows_;
    ULONGLONG clock_ = 0;
    bool running_ = false;
    int failStart_ = -1;
};

}  // namespace

TEST(RunFullScreen, WithoutChangeWaitsForTheSaverToEnd) {
    ScriptedRunner runner({25});
    RunFullScreen(runner, 1, false, 10);
    EXPECT_EQ(runner.started, std::vector<int>{1});
    EXPECT_EQ(runner.waits, std::vector<DWORD>{INFINITE});
    EXPECT_EQ(runner.stops, 0);
}

TEST(RunFullScreen, ChangeReplacesTheSaverEveryPeriodUntilTheUserIsBack) {
    // The user comes back after 25 minutes; the period is 10.
    ScriptedRunner runner({25});
    RunFullScreen(runner, 1, true, 10);
    EXPECT_EQ(runner.started, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(runner.waits, (std::vector<DWORD>{600000, 600000, 600000}));
    EXPECT_EQ(runner.stops, 2);

    // A stored period of 0 counts as one minute.
    ScriptedRunner quick({3});
    RunFullScreen(quick, 0, true, 0);
    EXPECT_EQ(quick.waits, (std::vector<DWORD>{60000, 60000, 60000}));

    // A huge period does not wrap round to a short one.
    ScriptedRunner patient({1000000});
    RunFullScreen(patient, 0, true, 100000);
    EXPECT_EQ(patient.waits.front(), INFINITE - 1);
}

TEST(RunFullScreen, SaverThatCannotStartEndsTheRun) {
    ScriptedRunner none({25});
    none.FailStartNumber(0);
    RunFullScreen(none, 0, true, 10);
    EXPECT_TRUE(none.waits.empty());

    ScriptedRunner second({25});
    second.FailStartNumber(1);
    RunFullScreen(second, 0, true, 10);
    EXPECT_EQ(second.started, std::vector<int>{0});
    EXPECT_EQ(second.stops, 1);

    ScriptedRunner empty({25});
    RunFullScreen(empty, -1, false, 10);
    EXPECT_TRUE(empty.started.empty());
}
