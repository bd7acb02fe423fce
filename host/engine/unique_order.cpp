#include "engine/unique_order.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>

#include "base/save_failures.h"
#include "engine/list_file.h"
#include "engine/open_list.h"
#include "engine/wallpaper_options.h"

IndexList wp;
IndexList rwp;

RandomDraw TimeSeededDraw() {
    auto engine = std::make_shared<std::mt19937>(static_cast<uint32_t>(time(nullptr)));
    return [engine](uint32_t m) { return std::uniform_int_distribution<uint32_t>(0, m - 1)(*engine); };
}

namespace {

// Counts of the pool positions still present, for finding the r-th one.
class FenwickTree {
public:
    explicit FenwickTree(uint32_t size) : tree_(size + 1, 0) {
        for (uint32_t i = 1; i <= size; ++i) {
            tree_[i] += 1;
            uint32_t parent = i + (i & (~i + 1));
            if (parent <= size) tree_[parent] += tree_[i];
        }
        step_ = 1;
        while (step_ * 2 <= size) step_ *= 2;
    }
    void Remove(uint32_t position) {
        for (uint32_t i = position + 1; i < tree_.size(); i += i & (~i + 1)) --tree_[i];
    }
    // Position of the r-th (0-based) present element.
    uint32_t Select(uint32_t r) const {
        uint32_t position = 0;
        for (uint32_t step = step_; step; step >>= 1) {
            uint32_t next = position + step;
            if (next < tree_.size() && tree_[next] <= r) {
                position = next;
                r -= tree_[next];
            }
        }
        return position;
    }

private:
    std::vector<uint32_t> tree_;
    uint32_t step_;
};

}  // namespace

void DrawUniqueOrder(uint32_t n, int selected, const RandomDraw& draw, IndexList& history, IndexList& queue) {
    history.clear();
    queue.clear();
    // The pool from its head: the rows other than the selected one, highest first.
    IndexList pool;
    pool.reserve(n);
    for (uint32_t i = n; i-- > 0;) {
        if (static_cast<int>(i) == selected) history.push_back(i);
        else pool.push_back(i);
    }
    const uint32_t m = static_cast<uint32_t>(pool.size());
    FenwickTree present(m);
    queue.reserve(m);
    for (uint32_t left = m; left > 0; --left) {
        uint32_t r = draw(left);
        if (r >= left) r = left - 1;
        uint32_t position = present.Select(r);
        present.Remove(position);
        queue.push_back(pool[position]);  // onto the queue's head
    }
}

void CorrectWP(uint32_t row, IndexList& list) {
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == row) continue;
        list[kept++] = list[i] > row ? list[i] - 1 : list[i];
    }
    list.resize(kept);
}

IndexList GetReversList(const IndexList& list) { return IndexList(list.rbegin(), list.rend()); }

void ClearUnikList() {
    wp.clear();
    rwp.clear();
    wp.shrink_to_fit();
    rwp.shrink_to_fit();
}

void GenerateUnikList() {
    ClearUnikList();
    const uint32_t n = static_cast<uint32_t>(wallList.size());
    if (RandomOrderChosen() && n >= 2) DrawUniqueOrder(n, GetCurrentRow(), TimeSeededDraw(), wp, rwp);
    SaveUnikList();
}

void SaveUnikList() {
    std::string file = OrderFilePath();
    if (file.empty()) return;
    // Told like the list it belongs to; only the list's own save clears it.
    if (!ReplaceFileText(file, UniqueOrderText(wp, rwp))) ReportSaveFailure(SAVE_FAILED_LIST, file.c_str());
}

void LoadUnikList(int current) {
    std::string file = OrderFilePath();
    std::string text;
    if (file.empty() || !ReadWholeFile(file, text)) return;
    ParseUniqueOrder(text, static_cast<uint32_t>(current), static_cast<uint32_t>(wallList.size()), wp, rwp);
}

void EditUnikList(uint32_t row) {
    CorrectWP(row, wp);
    CorrectWP(row, rwp);
    SaveUnikList();
}
