#include "folder_rotation.h"

#include <algorithm>

#include "plain_text.h"

bool IsPictureName(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    static const char* const extensions[] = {"gif", "jpg", "jpeg", "bmp", "ico", "emf", "wmf", "png"};
    std::string extension = FoldCase(path.substr(dot + 1));
    for (const char* known : extensions)
        if (extension == known) return true;
    return false;
}

void SortPicturePaths(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        std::string fa = FoldCase(a), fb = FoldCase(b);
        return fa != fb ? fa < fb : a < b;
    });
}

void BuildPictureList(Informer& informer, std::vector<std::string> sortedPictures, const Shuffler& shuffle) {
    informer.pending.clear();
    if (informer.random) {
        if (shuffle) shuffle(sortedPictures);
        informer.pending = std::move(sortedPictures);
        return;
    }
    if (informer.index < 0 || sortedPictures.size() <= static_cast<size_t>(informer.index)) informer.index = 0;
    informer.pending.assign(sortedPictures.begin() + informer.index, sortedPictures.end());
}

std::string CurrentPicture(Informer& informer, const PictureLister& list, const Shuffler& shuffle) {
    if (informer.pending.empty()) BuildPictureList(informer, list(), shuffle);
    return informer.pending.empty() ? std::string() : informer.pending.front();
}

void AdvancePicture(Informer& informer, const PictureLister& list, const Shuffler& shuffle) {
    if (!informer.pending.empty()) {
        informer.pending.erase(informer.pending.begin());
        if (!informer.random) ++informer.index;
    }
    if (informer.pending.empty()) BuildPictureList(informer, list(), shuffle);
}
