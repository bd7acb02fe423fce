#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <list>
#include <random>
#include <vector>

#include "engine/unique_order.h"

namespace {

// Lists are kept head-last; these read them head first, as they are meant.
std::vector<uint32_t> FromHead(const IndexList& list) { return std::vector<uint32_t>(list.rbegin(), list.rend()); }

// The draw exactly as described, walking a linked pool: the reference.
void LiteralDraw(uint32_t n, int selected, const std::vector<uint32_t>& draws, IndexList& history, IndexList& queue) {
    std::list<uint32_t> pool, wpList, rwpList;
    for (uint32_t i = 0; i < n; ++i) {
        if (static_cast<int>(i) == selected) wpList.push_front(i);
        else pool.push_front(i);
    }
    size_t next = 0;
    for (uint32_t m = static_cast<uint32_t>(pool.size()); m > 0; --m) {
        uint32_t r = draws[next++] % m;
        auto it = pool.begin();
        std::advance(it, r);
        rwpList.push_front(*it);
        pool.erase(it);
    }
    history.assign(wpList.rbegin(), wpList.rend());
    queue.assign(rwpList.rbegin(), rwpList.rend());
}

RandomDraw Scripted(const std::vector<uint32_t>& draws) {
    auto next = std::make_shared<size_t>(0);
    return [draws, next](uint32_t m) { return draws[(*next)++] % m; };
}

TEST(UniqueOrder, TwoRowsFromRowZero) {
    IndexList history, queue;
    DrawUniqueOrder(2, 0, Scripted({0}), history, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{0}));
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{1}));
    DrawUniqueOrder(2, 1, Scripted({0}), history, queue);
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{0})) << "the next round starts from the row then shown";
}

TEST(UniqueOrder, SameOrderAsTheLiteralWalkForTheSameNumbers) {
    std::mt19937 numbers(20261207);
    for (uint32_t n : {2u, 3u, 5u, 17u, 100u, 257u, 1000u}) {
        for (int round = 0; round < 5; ++round) {
            std::vector<uint32_t> draws(n);
            for (uint32_t& draw : draws) draw = numbers();
            int selected = static_cast<int>(numbers() % n);
            IndexList fastHistory, fastQueue, slowHistory, slowQueue;
            DrawUniqueOrder(n, selected, Scripted(draws), fastHistory, fastQueue);
            LiteralDraw(n, selected, draws, slowHistory, slowQueue);
            ASSERT_EQ(fastHistory, slowHistory) << n;
            ASSERT_EQ(fastQueue, slowQueue) << n << " rows, round " << round;
        }
    }
}

// Beyond one block of positions, and with no row selected at all (a list
// whose selection was cleared).
TEST(UniqueOrder, SameOrderAsTheLiteralWalkForLongListsAndNoSelection) {
    std::mt19937 numbers(77);
    for (int selected : {-1, 0, 4999, 2500}) {
        const uint32_t n = 5000;
        std::vector<uint32_t> draws(n);
        for (uint32_t& draw : draws) draw = numbers();
        IndexList fastHistory, fastQueue, slowHistory, slowQueue;
        DrawUniqueOrder(n, selected, Scripted(draws), fastHistory, fastQueue);
        LiteralDraw(n, selected, draws, slowHistory, slowQueue);
        ASSERT_EQ(fastHistory, slowHistory) << selected;
        ASSERT_EQ(fastQueue, slowQueue) << selected;
        EXPECT_EQ(fastHistory.size() + fastQueue.size(), n);
    }
}

TEST(UniqueOrder, ARoundShowsEveryOtherRowOnce) {
    IndexList history, queue;
    DrawUniqueOrder(50, 7, TimeSeededDraw(), history, queue);
    std::vector<int> seen(50, 0);
    seen[FromHead(history)[0]]++;
    while (!queue.empty()) {  // forward steps move the queue's head to the history
        history.push_back(queue.back());
        queue.pop_back();
        seen[history.back()]++;
    }
    for (int count : seen) EXPECT_EQ(count, 1);
    EXPECT_EQ(FromHead(history).back(), 7u) << "the round's first row stays oldest";
}

TEST(UniqueOrder, TheFileRecoversThePositionFromTheCurrentRow) {
    IndexList history, queue;
    DrawUniqueOrder(4, 2, Scripted({1, 0, 0}), history, queue);
    std::vector<uint32_t> q = FromHead(queue);
    ASSERT_EQ(q.size(), 3u);
    const std::string text = UniqueOrderText(history, queue);
    // Two steps do not rewrite the file; it keeps the order as drawn.
    EXPECT_EQ(text, "2\r\n" + std::to_string(q[0]) + "\r\n" + std::to_string(q[1]) + "\r\n" + std::to_string(q[2]) +
                        "\r\n");
    ParseUniqueOrder(text, q[1], 4, history, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{q[1], q[0], 2}));
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{q[2]}));

    ParseUniqueOrder("3\n1\n0\n", 9, 4, history, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{0, 1, 3})) << "an unknown current row: all is history";
    EXPECT_TRUE(queue.empty());

    ParseUniqueOrder("1\n77\n-3\nabc\n2\n0\n", 1, 4, history, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{1}));
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{0, 2, 0})) << "out-of-range values are dropped";

    ParseUniqueOrder("3\n1\n\r\n2\r\n0\r\n\r\n", 1, 4, history, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{1, 3})) << "LF and CR LF alike";
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{2, 0})) << "a blank line is no row 0";
}

TEST(UniqueOrder, DeletingARowRenumbersBothLists) {
    IndexList history = {3};
    IndexList queue = {2, 0, 4, 1};  // head last: {1, 4, 0, 2}
    CorrectWP(1, history);
    CorrectWP(1, queue);
    EXPECT_EQ(FromHead(history), (std::vector<uint32_t>{2}));
    EXPECT_EQ(FromHead(queue), (std::vector<uint32_t>{3, 0, 1}));
    IndexList empty;
    CorrectWP(0, empty);
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(GetReversList({1, 2, 3}), (IndexList{3, 2, 1}));
}

// Where each row lands in the queue must not depend on the row: a 10 x 10
// table of row decile against queue decile, chi-square with 81 degrees of
// freedom. (rand() mod m, at most 32767, would put the low rows last.)
TEST(UniqueOrder, ShuffleOfAHundredThousandRowsIsUniform) {
    const uint32_t n = 100000;
    std::mt19937 engine(424242);
    IndexList history, queue;
    DrawUniqueOrder(n, 0, [&](uint32_t m) { return std::uniform_int_distribution<uint32_t>(0, m - 1)(engine); },
                    history, queue);
    std::vector<uint32_t> order = FromHead(queue);
    ASSERT_EQ(order.size(), n - 1);
    double table[10][10] = {};
    for (uint32_t position = 0; position < order.size(); ++position)
        table[order[position] * 10 / n][position * 10 / (n - 1)] += 1;
    double expected = (n - 1) / 100.0, chiSquare = 0;
    for (auto& row : table)
        for (double observed : row) chiSquare += (observed - expected) * (observed - expected) / expected;
    EXPECT_LT(chiSquare, 124.8) << "beyond the 0.1 % point of chi-square(81)";

    double lowRowsMean = 0;
    uint32_t lowRows = 0;
    for (uint32_t position = 0; position < order.size(); ++position)
        if (order[position] < 10000) {
            lowRowsMean += position;
            ++lowRows;
        }
    lowRowsMean /= lowRows;
    EXPECT_NEAR(lowRowsMean, (n - 2) / 2.0, n * 0.01);
}

}  // namespace
