// What the fuzz builds put in place of the few Windows calls beside the
// parsers: the system's case mapping of paths (Latin and Windows-1251
// Cyrillic, as the system maps them in a Russian setting) and the pause of
// the list loops (none: fuzzing counts only the parsing).
#include <cstddef>
#include <string>

std::string PathKey(const std::string& path) {
    std::string key = path;
    for (char& c : key) {
        unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDF)) byte = static_cast<unsigned char>(byte + 32);
        else if (byte == 0xA8) byte = 0xB8;
        c = static_cast<char>(byte);
    }
    return key;
}

unsigned listPauseMilliseconds = 0;
void PauseEvery1000(size_t) {}
