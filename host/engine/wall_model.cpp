// The list model holds no window or file-system calls (the path keys, which
// map case the system's way, live beside it in path_key.cpp), so the list
// file readers that use it also build natively for fuzzing.
#include "engine/wall_model.h"

#include <algorithm>

#include "engine/list_file.h"

std::string FileNamePart(const std::string& path) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PathIndex::Clear() {
    std::vector<Slot>().swap(slots_);
    mask_ = used_ = 0;
}

void PathIndex::Size(size_t rows) {
    // At most half full, so probes stay short.
    size_t size = 16;
    while (size < rows * 2) size *= 2;
    slots_.assign(size, Slot{kEmpty, 0});
    mask_ = size - 1;
    used_ = 0;
}

void PathIndex::Grow() {
    // Erased slots are dropped on the way.
    std::vector<Slot> old;
    old.swap(slots_);
    size_t live = 0;
    for (const Slot& slot : old) live += slot.row != kEmpty && slot.row != kErased;
    Size(std::max(live + 1, old.size()));
    for (const Slot& slot : old)
        if (slot.row != kEmpty && slot.row != kErased) Insert(slot.row - 1, slot.hash);
}

void PathIndex::Reserve(size_t rows) {
    if (rows * 2 <= slots_.size()) return;
    if (used_ == 0) Size(rows);
    else {
        std::vector<Slot> old;
        old.swap(slots_);
        Size(rows);
        for (const Slot& slot : old)
            if (slot.row != kEmpty && slot.row != kErased) Insert(slot.row - 1, slot.hash);
    }
}

void PathIndex::Rebuild(const std::vector<uint32_t>& hashes) {
    Size(hashes.size());
    for (size_t row = 0; row < hashes.size(); ++row) {
        Insert(static_cast<uint32_t>(row), hashes[row]);
        PaceListWork();
    }
}

void PathIndex::Insert(uint32_t row, uint32_t hash) {
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    size_t i = hash & mask_;
    while (slots_[i].row != kEmpty) i = (i + 1) & mask_;
    slots_[i] = {row + 1, hash};
    ++used_;
}

void PathIndex::Erase(uint32_t row, uint32_t hash) {
    if (slots_.empty()) return;
    for (size_t i = hash & mask_; slots_[i].row != kEmpty; i = (i + 1) & mask_)
        if (slots_[i].row == row + 1) {
            slots_[i].row = kErased;
            return;
        }
}

int WallList::FindHashed(const char* path, size_t length, uint32_t hash) const {
    return index_.Find(hash, [&](uint32_t row) {
        const std::string& other = rows_[row].path;
        return SamePath(other.data(), other.size(), path, length);
    });
}

bool WallList::Contains(const std::string& path) const { return Find(path) >= 0; }

int WallList::Find(const std::string& path) const {
    return FindHashed(path.data(), path.size(), PathHash(path.data(), path.size()));
}

void WallList::Clear() {
    std::vector<WallRow>().swap(rows_);
    std::vector<uint32_t>().swap(hashes_);
    index_.Clear();
}

void WallList::Assign(std::vector<WallRow> rows) {
    rows_ = std::move(rows);
    hashes_.resize(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        hashes_[i] = PathHash(rows_[i].path.data(), rows_[i].path.size());
        PaceListWork();
    }
    index_.Rebuild(hashes_);
}

void WallList::Adopt(std::vector<WallRow>&& rows, std::vector<uint32_t>&& hashes, PathIndex&& index) {
    if (hashes.size() != rows.size()) {
        Assign(std::move(rows));
        return;
    }
    rows_ = std::move(rows);
    hashes_ = std::move(hashes);
    index_ = std::move(index);
}

bool WallList::Append(const std::string& path, char placement) {
    const uint32_t hash = PathHash(path.data(), path.size());
    if (FindHashed(path.data(), path.size(), hash) >= 0) return false;
    rows_.push_back({path, placement});
    hashes_.push_back(hash);
    index_.Insert(static_cast<uint32_t>(rows_.size() - 1), hash);
    return true;
}

size_t WallList::AddAtTop(const std::vector<std::string>& newestFirst) {
    // Appended newest first (the index then also finds duplicates among
    // them), then turned and moved to the top: each addition went to the
    // top, so the oldest ends up first.
    const size_t before = rows_.size();
    for (const std::string& path : newestFirst) {
        Append(path, '0');
        PaceListWork();
    }
    const size_t added = rows_.size() - before;
    if (!added) return 0;
    std::reverse(rows_.begin() + static_cast<std::ptrdiff_t>(before), rows_.end());
    std::reverse(hashes_.begin() + static_cast<std::ptrdiff_t>(before), hashes_.end());
    std::rotate(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(before), rows_.end());
    std::rotate(hashes_.begin(), hashes_.begin() + static_cast<std::ptrdiff_t>(before), hashes_.end());
    index_.Rebuild(hashes_);
    return added;
}

size_t WallList::Remove(const std::vector<std::string>& paths) {
    if (rows_.empty() || paths.empty()) return 0;
    std::vector<bool> gone(rows_.size(), false);
    size_t marked = 0;
    for (const std::string& path : paths) {
        const uint32_t hash = PathHash(path.data(), path.size());
        // Every row with the path, duplicates of an assigned list included.
        index_.Find(hash, [&](uint32_t row) {
            const std::string& other = rows_[row].path;
            if (!gone[row] && SamePath(other.data(), other.size(), path.data(), path.size())) {
                gone[row] = true;
                ++marked;
            }
            return false;
        });
        PaceListWork();
    }
    if (!marked) return 0;
    size_t row = 0;
    return RemoveUnless([&](const WallRow&) { return !gone[row++]; });
}

size_t WallList::RemoveFolder(const std::string& folder) {
    if (folder.empty()) return 0;
    std::string key = PathKey(folder);
    // Only what lies inside the folder: C:\Pics must not take C:\Pictures.
    if (key.back() != '\\' && key.back() != '/') key += '\\';
    return RemoveUnless([&](const WallRow& row) {
        PaceListWork();
        return !PathStartsWith(row.path, key);
    });
}

void WallList::EraseAt(size_t index) {
    if (index >= rows_.size()) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
    hashes_.erase(hashes_.begin() + static_cast<std::ptrdiff_t>(index));
    index_.Rebuild(hashes_);
}

void WallList::SetPlacement(size_t index, char placement) {
    if (index < rows_.size()) rows_[index].placement = placement;
}
