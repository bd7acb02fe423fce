// libFuzzer target for the random-order file (Lists\<name>.rnd): any text,
// any current row and row count. Every index read is a row of the list, and
// what the host writes reads back as the same order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "engine/unique_order.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    uint32_t current = 0, rows = 0;
    memcpy(&current, data, 4);
    memcpy(&rows, data + 4, 4);
    if (data[4] & 0x80) rows %= 200000;  // mostly lists of a sensible size
    const std::string text(reinterpret_cast<const char*>(data + 8), size - 8);

    IndexList history, queue;
    ParseUniqueOrder(text, current, rows, history, queue);
    for (uint32_t index : history) Expect(index < rows);
    for (uint32_t index : queue) Expect(index < rows);
    // The current row closes the history when it was found.
    if (!queue.empty()) Expect(!history.empty() && history.back() == current);

    IndexList history2, queue2;
    ParseUniqueOrder(UniqueOrderText(history, queue), current, rows, history2, queue2);
    // Written and read again: the history ends at the first current row.
    IndexList all(history.begin(), history.end()), all2(history2.begin(), history2.end());
    all.insert(all.end(), queue.rbegin(), queue.rend());
    all2.insert(all2.end(), queue2.rbegin(), queue2.rend());
    Expect(all == all2);
    return 0;
}
