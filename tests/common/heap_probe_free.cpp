// Releases a block that another module allocated.
#include <cstdlib>

extern "C" __declspec(dllexport) size_t HeapProbeRelease(void* block) {
    size_t size = _msize(block);
    free(block);
    return size;
}
