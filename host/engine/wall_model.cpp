// The list model holds no window or file-system calls (PathKey, which maps
// case the system's way, lives beside it in path_key.cpp), so the list file
// readers that use it also build natively for fuzzing.
#include "engine/wall_model.h"

#include <algorithm>
#include <unordered_set>

std::string FileNamePart(const std::string& path) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WallList::Contains(const std::string& path) const { return index_.count(PathKey(path)) != 0; }

int WallList::Find(const std::string& path) const {
    const std::string key = PathKey(path);
    if (!index_.count(key)) return -1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (PathKey(rows_[i].path) == key) return static_cast<int>(i);
    return -1;
}

void WallList::Clear() {
    rows_.clear();
    index_.clear();
}

void WallList::Assign(std::vector<WallRow> rows) {
    rows_ = std::move(rows);
    Reindex();
}

void WallList::Count(const std::string& key, int delta) {
    int& count = index_[key];
    count += delta;
    if (count <= 0) index_.erase(key);
}

void WallList::Reindex() {
    index_.clear();
    index_.reserve(rows_.size());
    for (const WallRow& row : rows_) ++index_[PathKey(row.path)];
}

bool WallList::Append(const std::string& path, char placement) {
    std::string key = PathKey(path);
    if (index_.count(key)) return false;
    rows_.push_back({path, placement});
    Count(key, 1);
    return true;
}

size_t WallList::AddAtTop(const std::vector<std::string>& newestFirst) {
    std::vector<WallRow> added;
    for (const std::string& path : newestFirst) {
        std::string key = PathKey(path);
        if (index_.count(key)) continue;
        Count(key, 1);
        added.push_back({path, '0'});
    }
    // Each addition went to the top, so the oldest ends up first.
    std::reverse(added.begin(), added.end());
    rows_.insert(rows_.begin(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    return added.size();
}

size_t WallList::Remove(const std::vector<std::string>& paths) {
    if (rows_.empty() || paths.empty()) return 0;
    std::unordered_set<std::string> keys;
    for (const std::string& path : paths) keys.insert(PathKey(path));
    return RemoveUnless([&](const WallRow& row) { return !keys.count(PathKey(row.path)); });
}

size_t WallList::RemoveFolder(const std::string& folder) {
    if (folder.empty()) return 0;
    std::string key = PathKey(folder);
    // Only what lies inside the folder: C:\Pics must not take C:\Pictures.
    if (key.back() != '\\' && key.back() != '/') key += '\\';
    return RemoveUnless([&](const WallRow& row) { return PathKey(row.path).compare(0, key.size(), key) != 0; });
}

void WallList::EraseAt(size_t index) {
    if (index >= rows_.size()) return;
    Count(PathKey(rows_[index].path), -1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

void WallList::SetPlacement(size_t index, char placement) {
    if (index < rows_.size()) rows_[index].placement = placement;
}
