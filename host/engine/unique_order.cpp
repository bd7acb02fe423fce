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

// The pool positions still present, for finding the r-th one: a bit per
// position in 32-bit words, a count per word, and above groups of eight
// words a binary tree of counts, walked from the root once per draw
// (finding and counting down on the same way). For a million positions the
// tree is 32 KB and stays in the fastest cache.
class PresentPositions {
public:
    explicit PresentPositions(uint32_t size)
        : bytes_(Bytes()), bits_((size + 31) / 32, ~0u), wordCounts_(bits_.size(), 32) {
        if (size % 32) {
            bits_.back() = (1u << (size % 32)) - 1;
            wordCounts_.back() = static_cast<uint8_t>(size % 32);
        }
        const size_t groups = (bits_.size() + kGroupWords - 1) / kGroupWords;
        leaves_ = 1;
        while (leaves_ < groups) leaves_ *= 2;
        counts_.assign(2 * leaves_, 0);
        for (size_t word = 0; word < bits_.size(); ++word) counts_[leaves_ + word / kGroupWords] += wordCounts_[word];
        for (size_t node = leaves_ - 1; node > 0; --node) counts_[node] = counts_[2 * node] + counts_[2 * node + 1];
    }
    // Takes out the r-th (0-based) present position and returns it.
    uint32_t Take(uint32_t r) {
        size_t node = 1;
        while (node < leaves_) {
            --counts_[node];
            node *= 2;
            // Without a branch: which way a draw goes cannot be foreseen.
            const uint32_t left = counts_[node], right = r >= left;
            r -= left & (0u - right);
            node += right;
        }
        --counts_[node];
        size_t word = (node - leaves_) * kGroupWords;
        while (r >= wordCounts_[word]) r -= wordCounts_[word++];
        --wordCounts_[word];
        const uint32_t bits = bits_[word];
        uint32_t bit = 0;
        for (;; bit += 8) {
            const uint32_t byte = (bits >> bit) & 0xFF, here = bytes_.count[byte];
            if (r < here) {
                bit += bytes_.select[byte][r];
                break;
            }
            r -= here;
        }
        bits_[word] = bits & ~(1u << bit);
        return static_cast<uint32_t>(word * 32 + bit);
    }

private:
    // Set bits of each byte value, and where its r-th set bit lies.
    struct ByteTables {
        uint8_t count[256];
        uint8_t select[256][8];
        ByteTables() {
            for (int byte = 0; byte < 256; ++byte) {
                count[byte] = 0;
                for (int bit = 0; bit < 8; ++bit)
                    if (byte & (1 << bit)) select[byte][count[byte]++] = static_cast<uint8_t>(bit);
            }
        }
    };
    static const ByteTables& Bytes() {
        static const ByteTables tables;
        return tables;
    }
    static const size_t kGroupWords = 8;
    const ByteTables& bytes_;
    std::vector<uint32_t> bits_;
    std::vector<uint8_t> wordCounts_;
    size_t leaves_;
    std::vector<uint32_t> counts_;  // node n has children 2n and 2n + 1; the leaves are groups of words
};

}  // namespace

void DrawUniqueOrder(uint32_t n, int selected, const RandomDraw& draw, IndexList& history, IndexList& queue) {
    history.clear();
    queue.clear();
    // The pool from its head: the rows other than the selected one, highest
    // first. Position p holds n - 1 - p above the selected row and one less
    // below it.
    const bool inPool = selected >= 0 && static_cast<uint32_t>(selected) < n;
    if (inPool) history.push_back(static_cast<uint32_t>(selected));
    const uint32_t above = inPool ? n - 1 - static_cast<uint32_t>(selected) : n;
    const uint32_t m = inPool ? n - 1 : n;
    PresentPositions present(m);
    queue.reserve(m);
    for (uint32_t left = m; left > 0; --left) {
        uint32_t r = draw(left);
        if (r >= left) r = left - 1;
        const uint32_t position = present.Take(r);
        queue.push_back(position < above ? n - 1 - position : n - 2 - position);  // onto the queue's head
        PaceListWork();
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
