// A stand-in for the system's remote-access library: one dial-up connection
// is up while the file "connected.flag" lies beside the running program.
// Records of the wrong size are refused, as the system refuses them.
#include <windows.h>

#include <cstring>

namespace {

// RASCONNA as Windows 2000 defines it: 692 bytes for 32-bit callers, 704 for
// x64 ones (the handle is pointer-sized).
struct Connection {
    DWORD dwSize;
    HANDLE hrasconn;
    char names[663];
    DWORD dwSubEntry;
    GUID guidEntry;
};
const DWORD kConnectionSize = sizeof(Connection), kStatusSize = 288, kConnected = 0x2000;
const DWORD kInvalidSize = 632, kBufferTooSmall = 603;

bool Connected() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    strcpy(strrchr(path, '\\') + 1, "connected.flag");
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

extern "C" DWORD WINAPI RasEnumConnectionsA(void* connections, DWORD* bytes, DWORD* count) {
    if (!connections || !bytes || !count) return ERROR_INVALID_PARAMETER;
    if (*static_cast<DWORD*>(connections) != kConnectionSize) return kInvalidSize;
    *count = 0;
    if (!Connected()) return 0;
    if (*bytes < kConnectionSize) {
        *bytes = kConnectionSize;
        return kBufferTooSmall;
    }
    static_cast<Connection*>(connections)->hrasconn = reinterpret_cast<HANDLE>(0x1234);
    *count = 1;
    return 0;
}

extern "C" DWORD WINAPI RasGetConnectStatusA(HANDLE connection, void* status) {
    if (!status || *static_cast<DWORD*>(status) != kStatusSize) return kInvalidSize;
    DWORD* fields = static_cast<DWORD*>(status);
    fields[1] = connection == reinterpret_cast<HANDLE>(0x1234) && Connected() ? kConnected : 0;
    fields[2] = 0;
    return 0;
}
