// The kind of a program file read from its header: the suite's own programs
// of each kind, and headers cut short or pointing anywhere.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "module_kind.h"

namespace {

std::vector<unsigned char> Header(unsigned peOffset, unsigned machine, size_t size) {
    std::vector<unsigned char> bytes(std::max<size_t>(size, 0x40), 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<unsigned char>(peOffset >> (8 * i));
    if (static_cast<unsigned long long>(peOffset) + 6 <= size) {
        memcpy(&bytes[peOffset], "PE\0\0", 4);
        bytes[peOffset + 4] = static_cast<unsigned char>(machine);
        bytes[peOffset + 5] = static_cast<unsigned char>(machine >> 8);
    }
    bytes.resize(size);
    return bytes;
}

ModuleKind Kind(const std::vector<unsigned char>& bytes) { return ModuleKindOfBytes(bytes.data(), bytes.size()); }

TEST(ModuleKind, TheMachineOfTheHeaderAndNothingForAnythingElse) {
    EXPECT_EQ(Kind(Header(0x80, 0x14C, 0x100)), ModuleKind::X86);
    EXPECT_EQ(Kind(Header(0x80, 0x8664, 0x100)), ModuleKind::X64);
    EXPECT_EQ(Kind(Header(0x80, 0xAA64, 0x100)), ModuleKind::Other) << "ARM64";
    EXPECT_EQ(Kind(Header(0xFA, 0x8664, 0x100)), ModuleKind::X64) << "the machine in the last two bytes";
    EXPECT_EQ(Kind(Header(0xFB, 0x8664, 0x100)), ModuleKind::NotAProgram) << "a machine cut short";
    EXPECT_EQ(Kind(Header(0xFFFFFFFF, 0, 0x100)), ModuleKind::NotAProgram) << "a header far beyond the file";
    EXPECT_EQ(Kind(Header(0x80, 0x14C, 0x3F)), ModuleKind::NotAProgram) << "shorter than the DOS header";
    std::vector<unsigned char> text(0x100, 'x');
    EXPECT_EQ(Kind(text), ModuleKind::NotAProgram);
    EXPECT_EQ(ModuleKindOfBytes(nullptr, 0), ModuleKind::NotAProgram);
}

TEST(ModuleKind, ThisTestProgramIsOfTheKindItWasBuiltAs) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(ModuleKindOfFile(path), sizeof(void*) == 8 ? ModuleKind::X64 : ModuleKind::X86);
    EXPECT_EQ(ModuleKindOfFile(path), OwnModuleKind());
    EXPECT_EQ(ModuleKindOfFile((std::string(path) + ".missing").c_str()), ModuleKind::NotAProgram);
}

}  // namespace
