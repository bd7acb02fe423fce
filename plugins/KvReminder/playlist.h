// What a reminder plays: one sound file, or every wav, mp3 and mid file of a
// folder and its subfolders in random order, played round and round.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Whether a file name ends in ".wav", ".mp3" or ".mid" (any case).
bool IsPlayableName(const std::string& name);

// One folder entry as the walk sees it.
struct FolderEntry {
    std::string name;
    bool folder = false;
};
using ListFolder = std::function<std::vector<FolderEntry>(const std::string& folder)>;

class Playlist {
public:
    // A single file, whatever its extension: the user chose it.
    static Playlist OneFile(const std::string& path);
    // Walks folder and its subfolders (not deeper than 32 levels, at most
    // 100000 files) and shuffles what it found with the seed.
    static Playlist FromFolder(const std::string& folder, const ListFolder& list, uint32_t seed);

    bool empty() const { return paths_.empty(); }
    size_t size() const { return paths_.size(); }
    const std::vector<std::string>& paths() const { return paths_; }
    // The entry playing now; empty when there is none.
    const std::string& Current() const;
    // Moves on; after the last comes the first.
    const std::string& Next();

private:
    std::vector<std::string> paths_;
    size_t current_ = 0;
};
