#pragma once

// Which kind of Windows program a file holds, read from its PE header. The
// suite comes in two kinds (32-bit and x64) and a process can load modules
// of its own kind only; a module of the other kind is skipped and named.

#include <cstddef>

enum class ModuleKind {
    NotAProgram,  // unreadable, too short, or no PE header
    X86,          // 32-bit x86
    X64,          // x64 (AMD64)
    Other,        // a PE file for another processor (ARM64, Itanium...)
};

// The kind from the first bytes of a file (the whole header must be there:
// 1024 bytes are plenty for a linker's output). Any bytes are safe.
ModuleKind ModuleKindOfBytes(const unsigned char* bytes, size_t size);
// The kind of the file at path.
ModuleKind ModuleKindOfFile(const char* path);
// The kind this code was built as.
ModuleKind OwnModuleKind();
