#include "dialup.h"

#include <windows.h>

#include <vector>

#include "procaddress.h"
#include "schedule.h"

namespace {

// The remote-access records as Windows 2000 and XP define them; only the
// size fields, the handle and the state are used. The handle is
// pointer-sized, so the connection record takes its natural size on x64.
struct RasConnection {
    DWORD dwSize;
    HANDLE hrasconn;
    char names[663];  // entry, device type, device name, phone book
    DWORD dwSubEntry;
    GUID guidEntry;
};
static_assert(sizeof(RasConnection) == (sizeof(void*) == 8 ? 704 : 692), "RASCONNA of Windows 2000 and later");

struct RasConnectionStatus {
    DWORD dwSize;
    DWORD rasconnstate;
    DWORD dwError;
    char rest[276];
};
static_assert(sizeof(RasConnectionStatus) == 288, "RASCONNSTATUSA of Windows XP");

const DWORD kConnectedState = 0x2000;
const DWORD kMostConnections = 100;

typedef DWORD(WINAPI* RasEnumConnectionsFunction)(RasConnection*, DWORD*, DWORD*);
typedef DWORD(WINAPI* RasGetConnectStatusFunction)(HANDLE, RasConnectionStatus*);

HMODULE rasLibrary = nullptr;
RasEnumConnectionsFunction rasEnumConnections = nullptr;
RasGetConnectStatusFunction rasGetConnectStatus = nullptr;

}  // namespace

void LoadDialUp() {
    if (rasLibrary) return;
    rasLibrary = LoadLibraryA("Rasapi32.dll");
    rasEnumConnections = GetProcAddressAs<RasEnumConnectionsFunction>(rasLibrary, "RasEnumConnectionsA");
    rasGetConnectStatus = GetProcAddressAs<RasGetConnectStatusFunction>(rasLibrary, "RasGetConnectStatusA");
}

void FreeDialUp() {
    if (rasLibrary) FreeLibrary(rasLibrary);
    rasLibrary = nullptr;
    rasEnumConnections = nullptr;
    rasGetConnectStatus = nullptr;
}

uint8_t ProbeConnection() {
    if (!rasEnumConnections || !rasGetConnectStatus) return kNotConnected;
    std::vector<RasConnection> connections(kMostConnections);
    connections[0].dwSize = sizeof(RasConnection);
    DWORD bytes = static_cast<DWORD>(connections.size() * sizeof(RasConnection));
    DWORD count = 0;
    if (rasEnumConnections(connections.data(), &bytes, &count) != 0) return kNotConnected;
    if (count > kMostConnections) count = kMostConnections;
    for (DWORD i = 0; i < count; ++i) {
        RasConnectionStatus status = {};
        status.dwSize = sizeof status;
        if (rasGetConnectStatus(connections[i].hrasconn, &status) == 0 && status.rasconnstate == kConnectedState) {
            return kConnected;
        }
    }
    return kNotConnected;
}
