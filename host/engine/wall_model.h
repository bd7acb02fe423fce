// The open wallpaper list in memory: its rows in wallpaper order, with an
// index of the paths so that duplicates are found without a scan. Paths
// compare without case, as the list view's own search does.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

struct WallRow {
    std::string path;  // as stored (may hold %VAR% references or be a URL)
    char placement;    // '0' = the page's placement, '1'..'9' this row's own
};

// The key under which a path is indexed (lower case in the ANSI code page).
std::string PathKey(const std::string& path);
// The file name part: after the last "\", else after the last "/".
std::string FileNamePart(const std::string& path);

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
                if (kept != i) rows_[kept] = std::move(rows_[i]);
                ++kept;
            }
        }
        size_t removed = rows_.size() - kept;
        rows_.resize(kept);
        if (removed) Reindex();
        return removed;
    }

private:
    void Reindex();
    void Count(const std::string& key, int delta);

    std::vector<WallRow> rows_;
    std::unordered_map<std::string, int> index_;  // key -> number of rows
};
