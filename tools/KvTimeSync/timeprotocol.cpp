#include "timeprotocol.h"

uint32_t TimeProtocolSeconds(const unsigned char bytes[4]) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | bytes[3];
}

FILETIME TimeProtocolToFileTime(uint32_t serverSeconds) {
    // Unsigned on purpose: modulo 2^32 this maps 2036..2106 to the counts
    // after 2^31 instead of to the years before 1970.
    const uint32_t since1970 = serverSeconds - kSecondsFrom1900To1970;
    const ULONGLONG ticks = static_cast<ULONGLONG>(since1970) * 10000000ull + 116444736000000000ull;
    FILETIME result;
    result.dwLowDateTime = static_cast<DWORD>(ticks);
    result.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return result;
}
