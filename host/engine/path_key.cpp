#include <windows.h>

#include "engine/wall_model.h"

std::string PathKey(const std::string& path) {
    std::string key = path;
    if (!key.empty()) CharLowerBuffA(&key[0], static_cast<DWORD>(key.size()));
    return key;
}
