// The Time Protocol (RFC 868): the server sends the time as 32 bits, big
// endian, counting seconds from 1900-01-01 00:00 UTC.
#pragma once

#include <windows.h>

#include <cstdint>

// Seconds between 1900-01-01 and 1970-01-01.
const uint32_t kSecondsFrom1900To1970 = 2208988800u;

// The four bytes of a reply as a count.
uint32_t TimeProtocolSeconds(const unsigned char bytes[4]);

// The server's count as a FILETIME (100-ns units from 1601, UTC). The count
// wraps on 2036-02-07; values that wrapped are read as the time after it, so
// the result runs from 1970 to 2106 rather than turning negative in 2038.
FILETIME TimeProtocolToFileTime(uint32_t serverSeconds);
