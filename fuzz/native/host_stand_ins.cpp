// What the fuzz builds put in place of the few Windows calls beside the
// parsers: the system's case mapping of paths (Latin and Windows-1251
// Cyrillic, as the system maps them in a Russian setting) and the pacing of
// the list loops (none: fuzzing counts only the parsing).
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

unsigned char Lower(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDF)) return static_cast<unsigned char>(byte + 32);
    if (byte == 0xA8) return 0xB8;
    return byte;
}

}  // namespace

std::string PathKey(const std::string& path) {
    std::string key = path;
    for (char& c : key) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return key;
}

uint32_t PathHash(const char* path, size_t length) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) hash = (hash ^ Lower(static_cast<unsigned char>(path[i]))) * 16777619u;
    return hash;
}

bool SamePath(const char* a, size_t aLength, const char* b, size_t bLength) {
    if (aLength != bLength) return false;
    for (size_t i = 0; i < aLength; ++i)
        if (Lower(static_cast<unsigned char>(a[i])) != Lower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool PathStartsWith(const std::string& path, const std::string& folderKey) {
    return path.size() >= folderKey.size() && PathKey(path.substr(0, folderKey.size())) == folderKey;
}

void PaceListWork() {}
