#include "module_kind.h"

#include <windows.h>

#include <cstring>

#include "scopedwin.h"

namespace {

const size_t kHeaderBytes = 1024;

unsigned ReadLittle(const unsigned char* bytes, size_t count) {
    unsigned value = 0;
    for (size_t i = count; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

ModuleKind ModuleKindOfBytes(const unsigned char* bytes, size_t size) {
    if (!bytes || size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return ModuleKind::NotAProgram;
    const size_t header = ReadLittle(bytes + 0x3C, 4);
    // The signature and the machine field that follows it.
    if (header > size || size - header < 6) return ModuleKind::NotAProgram;
    if (memcmp(bytes + header, "PE\0\0", 4) != 0) return ModuleKind::NotAProgram;
    switch (ReadLittle(bytes + header + 4, 2)) {
        case IMAGE_FILE_MACHINE_I386:
            return ModuleKind::X86;
        case IMAGE_FILE_MACHINE_AMD64:
            return ModuleKind::X64;
        default:
            return ModuleKind::Other;
    }
}

ModuleKind ModuleKindOfFile(const char* path) {
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return ModuleKind::NotAProgram;
    unsigned char bytes[kHeaderBytes];
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes, sizeof bytes, &read, nullptr)) return ModuleKind::NotAProgram;
    return ModuleKindOfBytes(bytes, read);
}

ModuleKind OwnModuleKind() { return sizeof(void*) == 8 ? ModuleKind::X64 : ModuleKind::X86; }
