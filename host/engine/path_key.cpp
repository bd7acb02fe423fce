// How the system compares paths: case mapped by the ANSI code page.
#include <windows.h>

#include "engine/wall_model.h"

namespace {

// Lower case of every byte in the ANSI code page, as CharLowerBuffA gives
// it; where the code page has characters of two bytes a byte alone says
// nothing, and whole paths are lowered instead.
struct Folding {
    unsigned char lower[256];
    bool byBytes;
    Folding() {
        CPINFO info = {};
        byBytes = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
        for (int c = 0; c < 256; ++c) {
            char byte = static_cast<char>(c);
            if (c) CharLowerBuffA(&byte, 1);
            lower[c] = static_cast<unsigned char>(byte);
        }
    }
};

const Folding& Fold() {
    static const Folding folding;
    return folding;
}

uint32_t HashBytes(const unsigned char* bytes, size_t length) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < length; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

}  // namespace

std::string PathKey(const std::string& path) {
    std::string key = path;
    if (key.empty()) return key;
    const Folding& folding = Fold();
    if (folding.byBytes) {
        for (char& c : key) c = static_cast<char>(folding.lower[static_cast<unsigned char>(c)]);
    } else {
        CharLowerBuffA(&key[0], static_cast<DWORD>(key.size()));
    }
    return key;
}

uint32_t PathHash(const char* path, size_t length) {
    const Folding& folding = Fold();
    if (!folding.byBytes) {
        const std::string key = PathKey(std::string(path, length));
        return HashBytes(reinterpret_cast<const unsigned char*>(key.data()), key.size());
    }
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ folding.lower[static_cast<unsigned char>(path[i])]) * 16777619u;
    return hash;
}

bool SamePath(const char* a, size_t aLength, const char* b, size_t bLength) {
    if (aLength != bLength) {
        // Lowering never changes the length of a one-byte code page.
        if (Fold().byBytes) return false;
        return PathKey(std::string(a, aLength)) == PathKey(std::string(b, bLength));
    }
    const Folding& folding = Fold();
    if (!folding.byBytes) return PathKey(std::string(a, aLength)) == PathKey(std::string(b, bLength));
    const unsigned char* lower = folding.lower;
    for (size_t i = 0; i < aLength; ++i)
        if (a[i] != b[i] && lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

bool PathStartsWith(const std::string& path, const std::string& folderKey) {
    if (path.size() < folderKey.size()) return false;
    const Folding& folding = Fold();
    if (!folding.byBytes) return PathKey(path).compare(0, folderKey.size(), folderKey) == 0;
    const unsigned char* lower = folding.lower;
    for (size_t i = 0; i < folderKey.size(); ++i)
        if (lower[static_cast<unsigned char>(path[i])] != static_cast<unsigned char>(folderKey[i])) return false;
    return true;
}
