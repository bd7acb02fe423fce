// libFuzzer target for wallpaper list files as people edit and copy them:
// the entries, the count trailer the list of lists reads from the end of
// every file (through a real file, as the host reads it), appending to a
// list that is not open, and the list's name from its file name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include "fuzz_check.h"
#include "engine/list_file.h"

namespace {

bool SameRows(const std::vector<WallRow>& a, const std::vector<WallRow>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].path != b[i].path || a[i].placement != b[i].placement) return false;
    return true;
}

// The count as the list of lists reads it from a file holding text.
int CountOfFile(const std::string& text, std::string* after) {
    FILE* file = tmpfile();
    if (!file) return -1;
    fwrite(text.data(), 1, text.size(), file);
    fflush(file);
    long start = -1;
    int count = GetCountFilesList(file, &start);
    Expect(start >= 0);
    fseek(file, 0, SEEK_END);
    long size = ftell(file);
    Expect(start <= size);
    after->assign(static_cast<size_t>(size), '\0');
    fseek(file, 0, SEEK_SET);
    if (size) Expect(fread(&(*after)[0], 1, after->size(), file) == after->size());
    // A trailer once there is read back the same and nothing more is added.
    long again = -1;
    Expect(GetCountFilesList(file, &again) == count);
    fseek(file, 0, SEEK_END);
    Expect(ftell(file) == size && again == start);
    fclose(file);
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Loading: rows have paths, no path twice; what a save writes loads as
    // the same rows and needs no second save.
    ParsedList parsed = ParseListText(text);
    std::unordered_set<std::string> keys;
    for (const WallRow& row : parsed.rows) {
        Expect(!row.path.empty());
        Expect(keys.insert(PathKey(row.path)).second);
    }
    ParsedList saved = ParseListText(ListFileText(parsed.rows));
    Expect(SameRows(saved.rows, parsed.rows));
    Expect(!saved.changed);

    // The count trailer, through a file.
    std::string after;
    int count = CountOfFile(text, &after);
    Expect(count >= 0);
    Expect(after.compare(0, text.size(), text) == 0);  // only ever appended to

    // Appending to a closed list: the trailer stays last, with the count.
    std::vector<std::string> paths;
    for (size_t at = 0, n = 0; at < text.size() && n < 3; ++n) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        paths.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    for (bool add : {true, false}) {
        int appended = -1;
        std::string grown = AppendedListText(text, paths, add ? "#0" : ">", add, &appended);
        Expect(appended >= 0);
        std::string trailer;
        Expect(CountOfFile(grown, &trailer) == appended);
        Expect(trailer == grown);
    }

    ListNameOfFile(text);
    return 0;
}
