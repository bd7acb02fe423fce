// The open wallpaper list in memory: its rows in wallpaper order, with an
// index of the paths so that duplicates are found without a scan. Paths
// compare without case, as the list view's own search does.
//
// A photographer's archive is a list of a million rows: the index holds row
// numbers only (a hash of each path kept beside its row), no second copy of
// the paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WallRow {
    std::string path;  // as stored (may hold %VAR% references or be a URL)
    char placement;    // '0' = the page's placement, '1'..'9' this row's own
};

// The key under which a path is indexed (lower case in the ANSI code page).
std::string PathKey(const std::string& path);
// The same key's hash, and whether two paths have the same key, without
// making the keys.
uint32_t PathHash(const char* path, size_t length);
bool SamePath(const char* a, size_t aLength, const char* b, size_t bLength);
// Whether path lies inside folder (a folder key ending in a separator).
bool PathStartsWith(const std::string& path, const std::string& folderKey);
// The file name part: after the last "\", else after the last "/".
std::string FileNamePart(const std::string& path);

// Row numbers by path hash, open addressing. It keeps no paths: the caller
// tells with match(row) whether a row found by hash has the path sought.
class PathIndex {
public:
    void Clear();
    // Room for that many rows without growing.
    void Reserve(size_t rows);
    void Rebuild(const std::vector<uint32_t>& hashes);
    void Insert(uint32_t row, uint32_t hash);
    // Forgets one row (found again by the hash it was inserted with).
    void Erase(uint32_t row, uint32_t hash);
    // The lowest row with that hash for which match(row) holds, or -1.
    template <typename Match>
    int Find(uint32_t hash, Match match) const {
        if (slots_.empty()) return -1;
        int found = -1;
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.row == kEmpty) break;
            if (slot.row != kErased && slot.hash == hash &&
                (found < 0 || slot.row - 1 < static_cast<uint32_t>(found)) && match(slot.row - 1))
                found = static_cast<int>(slot.row - 1);
        }
        return found;
    }
    // A row with that hash for which match(row) holds; when there is none,
    // row is inserted (in the same probe) and -1 returned.
    template <typename Match>
    int FindOrInsert(uint32_t row, uint32_t hash, Match match) {
        if ((used_ + 1) * 2 > slots_.size()) Grow();
        size_t i = hash & mask_;
        for (;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.row == kEmpty) break;
            if (slot.row != kErased && slot.hash == hash && match(slot.row - 1)) return static_cast<int>(slot.row - 1);
        }
        slots_[i] = {row + 1, hash};
        ++used_;
        return -1;
    }

private:
    static constexpr uint32_t kEmpty = 0, kErased = 0xFFFFFFFFu;
    // Side by side, so a probe reads one cache line.
    struct Slot {
        uint32_t row;  // row + 1, kEmpty or kErased
        uint32_t hash;
    };
    void Size(size_t rows);
    void Grow();
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t used_ = 0;  // slots not empty (erased ones included)
};

class WallList {
public:
    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const WallRow& row(size_t index) const { return rows_[index]; }
    const std::vector<WallRow>& rows() const { return rows_; }

    bool Contains(const std::string& path) const;
    // First row with that path, or -1.
    int Find(const std::string& path) const;

    void Clear();
    void Assign(std::vector<WallRow> rows);
    // Takes rows with their path hashes and an index made of them.
    void Adopt(std::vector<WallRow>&& rows, std::vector<uint32_t>&& hashes, PathIndex&& index);
    // Appends unless the path is there; false for a duplicate.
    bool Append(const std::string& path, char placement);
    // Adds the pending paths (newest first) that are not in the list yet at
    // the top, in the order they were found. Returns how many were added.
    size_t AddAtTop(const std::vector<std::string>& newestFirst);
    // Removes every row whose path is one of these. Returns how many.
    size_t Remove(const std::vector<std::string>& paths);
    // Removes the rows of files inside the folder (at any depth). Returns
    // how many.
    size_t RemoveFolder(const std::string& folder);
    void EraseAt(size_t index);
    void SetPlacement(size_t index, char placement);

    // Removes the rows for which keep() is false, in one pass; returns how
    // many were removed.
    template <typename Keep>
    size_t RemoveUnless(Keep keep) {
        size_t kept = 0;
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (keep(rows_[i])) {
                if (kept != i) {
                    rows_[kept] = std::move(rows_[i]);
                    hashes_[kept] = hashes_[i];
                }
                ++kept;
            }
        }
        size_t removed = rows_.size() - kept;
        rows_.resize(kept);
        hashes_.resize(kept);
        if (removed) index_.Rebuild(hashes_);
        return removed;
    }

private:
    int FindHashed(const char* path, size_t length, uint32_t hash) const;

    std::vector<WallRow> rows_;
    std::vector<uint32_t> hashes_;  // PathHash of each row's path
    PathIndex index_;
};
