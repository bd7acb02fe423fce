#include <gtest/gtest.h>

#include <vector>

#include "engine/change_cycle.h"

namespace {

std::vector<uint32_t> FromHead(const IndexList& list) { return std::vector<uint32_t>(list.rbegin(), list.rend()); }

TEST(CycleSteps, SequentialStepsWrapAround) {
    IndexList history, queue;
    auto never = [] { FAIL() << "no order is drawn in list order"; };
    EXPECT_EQ(NextRow(3, 2, false, history, queue, never), 0);
    EXPECT_EQ(NextRow(3, 0, false, history, queue, never), 1);
    EXPECT_EQ(PreviousRow(3, 0, false, history, queue), 2);
    EXPECT_EQ(PreviousRow(3, 2, false, history, queue), 1);
    EXPECT_EQ(NextRow(1, 0, false, history, queue, never), 0) << "a one-row list shows row 0 again";
    EXPECT_EQ(PreviousRow(1, 0, true, history, queue), 0);
    EXPECT_EQ(NextRow(0, -1, true, history, queue, never), 0);
}

TEST(CycleSteps, RandomStepsWalkTheQueueAndBackThroughTheHistory) {
    IndexList history = {1};        // current row 1
    IndexList queue = {0, 2, 3};    // head last: next 3, then 2, then 0
    int draws = 0;
    auto draw = [&] {
        ++draws;
        queue = {2, 0};
    };
    EXPECT_EQ(NextRow(4, 1, true, history, queue, draw), 3);
    EXPECT_EQ(NextRow(4, 3, true, history, queue, draw), 2);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{2, 3, 1}));
    EXPECT_EQ(PreviousRow(4, 2, true, history, queue), 3) << "back to the row shown before";
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{2, 0}));
    EXPECT_EQ(PreviousRow(4, 3, true, history, queue), 1);
    EXPECT_EQ(PreviousRow(4, 1, true, history, queue), 0) << "history used up: the plain previous row";
    EXPECT_EQ(draws, 0);

    IndexList round = {1};
    IndexList used;
    auto drawRound = [&] {
        ++draws;
        used = {2, 0, 3};
    };
    EXPECT_EQ(NextRow(4, 1, true, round, used, drawRound), 3) << "an empty queue draws a new order first";
    EXPECT_EQ(draws, 1);
}

}  // namespace
