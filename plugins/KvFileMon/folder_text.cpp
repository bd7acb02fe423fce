// The folder monitor's text logic: picture names, folders as typed, listings
// compared, list files and settings values read. No window or file-system
// calls: it is also built natively and fuzzed.
#include <unordered_map>
#include <unordered_set>

#include "folder_scan.h"

namespace {

const char* const kImageExtensions[] = {"png", "wmf", "emf", "jpeg", "jpg", "ico", "bmp", "gif"};

std::string LineEntry(const std::string& line, char cut) {
    size_t at = line.rfind(cut);
    return at == std::string::npos ? line : line.substr(0, at);
}

// An entry that lies directly in the folder whose prefix is given.
bool DirectlyInside(const std::string& path, const std::string& prefixKey) {
    if (path.size() <= prefixKey.size()) return false;
    if (PathKey(path.substr(0, prefixKey.size())) != prefixKey) return false;
    std::string name = path.substr(prefixKey.size());
    return name.find_first_of("\\/") == std::string::npos && IsImageName(name);
}

}  // namespace

bool IsImageName(const std::string& name) {
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string extension = PathKey(name.substr(dot + 1));
    for (const char* known : kImageExtensions)
        if (extension == known) return true;
    return false;
}

std::string NormalFolder(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\"");
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(" \t\"");
    std::string folder = text.substr(first, last - first + 1);
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

std::string FolderPrefix(const std::string& folder) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder;
    return folder + "\\";
}

bool SamePath(const std::string& a, const std::string& b) { return a.size() == b.size() && PathKey(a) == PathKey(b); }

SnapshotChange CompareSnapshot(const std::vector<std::string>& old, std::vector<std::string>& current) {
    SnapshotChange change;
    std::unordered_set<std::string> before;
    before.reserve(old.size());
    for (const std::string& path : old) before.insert(PathKey(path));

    std::unordered_set<std::string> seen;
    seen.reserve(current.size());
    std::vector<std::string> unique;
    unique.reserve(current.size());
    for (std::string& path : current) {
        std::string key = PathKey(path);
        if (!seen.insert(key).second) continue;
        if (!before.count(key)) change.added.push_back(path);
        unique.push_back(std::move(path));
    }
    current.swap(unique);

    std::unordered_set<std::string> reported;
    for (const std::string& path : old) {
        std::string key = PathKey(path);
        if (!seen.count(key) && reported.insert(key).second) change.removed.push_back(path);
    }
    return change;
}

std::vector<std::string> SnapshotFromList(const std::string& listText, const std::string& folder) {
    std::vector<std::string> entries;  // an empty text marks an entry deleted again
    std::unordered_map<std::string, size_t> where;
    const std::string prefixKey = PathKey(FolderPrefix(folder));
    size_t start = 0;
    while (start < listText.size()) {
        size_t end = listText.find('\n', start);
        if (end == std::string::npos) end = listText.size();
        std::string line = listText.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.find('>') != std::string::npos) {
            // A deletion record: the entry is no longer in the list.
            auto found = where.find(PathKey(LineEntry(line, '>')));
            if (found != where.end()) {
                entries[found->second].clear();
                where.erase(found);
            }
            continue;
        }
        std::string path = LineEntry(line, '#');
        if (!DirectlyInside(path, prefixKey)) continue;
        if (where.emplace(PathKey(path), entries.size()).second) entries.push_back(path);
    }
    std::vector<std::string> snapshot;
    snapshot.reserve(where.size());
    for (std::string& entry : entries)
        if (!entry.empty()) snapshot.push_back(std::move(entry));
    return snapshot;
}

std::string WatchValue(const std::string& folder, const std::string& list) { return folder + ":" + list; }

bool SplitWatchValue(const std::string& value, std::string& folder, std::string& list) {
    size_t colon = value.rfind(':');
    if (colon == std::string::npos) return false;
    folder = value.substr(0, colon);
    list = value.substr(colon + 1);
    return !folder.empty() && !list.empty();
}
