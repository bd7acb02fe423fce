// libFuzzer target for what the folder monitor reads: list files (its
// snapshot of a folder before the first scan) and its settings values
// ("FileMon": folder and list), and the comparison of two listings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "folder_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t newline = text.find('\n');
    const std::string first = text.substr(0, newline);

    std::string folder, list;
    if (SplitWatchValue(first, folder, list)) {
        Expect(!folder.empty() && !list.empty());
        std::string again, againList;
        Expect(SplitWatchValue(WatchValue(folder, list), again, againList) && againList == list);
    }
    const std::string normal = NormalFolder(first);
    const std::string prefix = FolderPrefix(normal);
    std::vector<std::string> snapshot = SnapshotFromList(text, normal);
    for (const std::string& path : snapshot) {
        Expect(path.size() > prefix.size());
        Expect(IsImageName(path));
    }
    std::vector<std::string> current = SnapshotFromList(text.substr(size / 2), normal);
    const SnapshotChange change = CompareSnapshot(snapshot, current);
    Expect(change.added.size() <= current.size());
    return 0;
}
