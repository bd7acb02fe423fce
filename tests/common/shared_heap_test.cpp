#include <gtest/gtest.h>
#include <malloc.h>
#include <windows.h>

#include <string>

#include "procaddress.h"

namespace {

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

}  // namespace

TEST(SharedHeap, BlockAllocatedInOneModuleIsFreedInAnother) {
    HMODULE allocator = LoadLibraryA(BesideThisProgram("heap_probe_alloc.dll").c_str());
    HMODULE releaser = LoadLibraryA(BesideThisProgram("heap_probe_free.dll").c_str());
    ASSERT_NE(allocator, nullptr) << "a module needing a runtime DLL of its own would fail to load here";
    ASSERT_NE(releaser, nullptr);
    auto allocate = GetProcAddressAs<char* (*)(const char*)>(allocator, "HeapProbeAllocate");
    auto release = GetProcAddressAs<size_t (*)(void*)>(releaser, "HeapProbeRelease");
    ASSERT_TRUE(allocate && release);

    for (int round = 0; round < 1000; ++round) {
        char* block = allocate("a text from the first module");
        ASSERT_NE(block, nullptr);
        // The test program's own runtime sees the block as one of its heap.
        EXPECT_EQ(_msize(block), sizeof "a text from the first module");
        EXPECT_EQ(release(block), sizeof "a text from the first module");
    }
    EXPECT_EQ(_heapchk(), _HEAPOK);
    FreeLibrary(releaser);
    FreeLibrary(allocator);
}
