// Hands out a block from its own copy of the C++ runtime.
#include <cstdlib>
#include <cstring>

extern "C" __declspec(dllexport) char* HeapProbeAllocate(const char* text) {
    char* block = static_cast<char*>(malloc(strlen(text) + 1));
    if (block) strcpy(block, text);
    return block;
}
