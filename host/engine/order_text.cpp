// The order file's text (Lists\<name>.rnd): written by the host, but read
// back from whatever is on disk. No window or file-system calls, so it is
// also built natively and fuzzed.
#include <algorithm>
#include <cstdlib>

#include "engine/unique_order.h"

namespace {

void AppendIndex(std::string& text, uint32_t index) {
    char digits[16];
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + index % 10);
        index /= 10;
    } while (index);
    while (length) text += digits[--length];
    text += "\r\n";
}

}  // namespace

std::string UniqueOrderText(const IndexList& history, const IndexList& queue) {
    std::string text;
    text.reserve((history.size() + queue.size()) * 9);
    // History from its tail (oldest) to its head, then the queue from its head.
    for (uint32_t index : history) AppendIndex(text, index);
    for (auto it = queue.rbegin(); it != queue.rend(); ++it) AppendIndex(text, *it);
    return text;
}

void ParseUniqueOrder(const std::string& text, uint32_t current, uint32_t rowCount, IndexList& history,
                      IndexList& queue) {
    history.clear();
    queue.clear();
    bool seenCurrent = false;
    IndexList after;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, std::min<size_t>(end - begin, 29));
        begin = end + 1;
        // A blank line (an editor's last line end) is no row 0.
        if (line.empty() || line == "\r") continue;
        long value = atol(line.c_str());
        if (value < 0 || static_cast<unsigned long>(value) >= rowCount) continue;
        uint32_t index = static_cast<uint32_t>(value);
        if (!seenCurrent) {
            history.push_back(index);
            seenCurrent = index == current;
        } else {
            after.push_back(index);
        }
    }
    queue.assign(after.rbegin(), after.rend());
}
