#include "playlist.h"

#include <algorithm>
#include <random>

namespace {

const int kDeepest = 32;
const size_t kMostFiles = 100000;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void Walk(const std::string& folder, const ListFolder& list, int depth, std::vector<std::string>& found) {
    if (depth > kDeepest) return;
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix += '\\';
    for (const FolderEntry& entry : list(folder)) {
        if (found.size() >= kMostFiles) return;
        if (entry.name.empty() || entry.name == "." || entry.name == "..") continue;
        if (entry.folder) Walk(prefix + entry.name, list, depth + 1, found);
        else if (IsPlayableName(entry.name)) found.push_back(prefix + entry.name);
    }
}

}  // namespace

bool IsPlayableName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = Lower(c);
    return tail == ".wav" || tail == ".mp3" || tail == ".mid";
}

Playlist Playlist::OneFile(const std::string& path) {
    Playlist playlist;
    if (!path.empty()) playlist.paths_.push_back(path);
    return playlist;
}

Playlist Playlist::FromFolder(const std::string& folder, const ListFolder& list, uint32_t seed) {
    Playlist playlist;
    Walk(folder, list, 0, playlist.paths_);
    std::minstd_rand random(seed ? seed : 1u);
    // Fisher-Yates with our own generator: the C runtime's rand belongs to the host.
    for (size_t i = playlist.paths_.size(); i > 1; --i) {
        size_t j = static_cast<size_t>(random() % i);
        std::swap(playlist.paths_[i - 1], playlist.paths_[j]);
    }
    return playlist;
}

const std::string& Playlist::Current() const {
    static const std::string none;
    return paths_.empty() ? none : paths_[current_];
}

const std::string& Playlist::Next() {
    if (!paths_.empty()) current_ = (current_ + 1) % paths_.size();
    return Current();
}
