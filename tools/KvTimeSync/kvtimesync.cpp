// KvTimeSync: sets the computer clock from the first time server on the
// command line that answers (RFC 868 over TCP, port 37).
#include <winsock.h>
#include <windows.h>

#include <cctype>
#include <cstdio>

#include "timeprotocol.h"

namespace {

const unsigned short kTimePort = 37;
// A server that accepts and then says nothing must not hold the tool (and a
// script waiting for it) for ever; the protocol's answer is immediate.
const DWORD kServerWaitMs = 5000;

bool HasLatinLetter(const char* text) {
    for (; *text; ++text)
        if (*text >= 'a' && *text <= 'z') return true;
    return false;
}

// The address of a name or dotted address, or INADDR_NONE.
unsigned long ResolveAddress(char* argument) {
    for (char* c = argument; *c; ++c) *c = static_cast<char>(tolower(static_cast<unsigned char>(*c)));
    if (!HasLatinLetter(argument)) return inet_addr(argument);
    const hostent* host = gethostbyname(argument);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0]) return INADDR_NONE;
    unsigned long address;
    memcpy(&address, host->h_addr_list[0], sizeof address);
    return address;
}

// What is left of the wait for one server, as select wants it.
class ServerWait {
public:
    ServerWait() : started_(GetTickCount()) {}
    timeval Left() const {
        DWORD spent = GetTickCount() - started_;
        DWORD left = spent >= kServerWaitMs ? 0 : kServerWaitMs - spent;
        timeval wait = {static_cast<long>(left / 1000), static_cast<long>(left % 1000) * 1000};
        return wait;
    }

private:
    DWORD started_;
};

// True once the socket can be read (or was closed) within the wait.
bool ReadableInTime(SOCKET connection, const ServerWait& wait) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(connection, &readable);
    timeval left = wait.Left();
    return select(0, &readable, nullptr, nullptr, &left) == 1;
}

// Connects without blocking, so an address that never answers is bounded too.
bool ConnectInTime(SOCKET connection, const sockaddr_in& server, const ServerWait& wait) {
    u_long nonBlocking = 1;
    if (ioctlsocket(connection, FIONBIO, &nonBlocking) != 0) return false;
    if (connect(connection, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) return true;
    if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(connection, &writable);
    FD_SET(connection, &failed);
    timeval left = wait.Left();
    return select(0, nullptr, &writable, &failed, &left) == 1 && FD_ISSET(connection, &writable);
}

// A reply may arrive in pieces: read until all four bytes are here, the
// server closes or the wait runs out; fewer than four is no time at all.
bool ReceiveTime(SOCKET connection, const ServerWait& wait, uint32_t& serverSeconds) {
    unsigned char bytes[4] = {};
    int received = 0;
    while (received < 4) {
        if (!ReadableInTime(connection, wait)) return false;
        int got = recv(connection, reinterpret_cast<char*>(bytes) + received, 4 - received, 0);
        if (got <= 0) return false;
        received += got;
    }
    serverSeconds = TimeProtocolSeconds(bytes);
    return true;
}

// One server. True when the clock was set from it.
bool SyncFrom(char* argument) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
        printf("%s: error WSA\n", argument);
        return false;
    }
    bool synchronised = false;
    SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connection == INVALID_SOCKET) {
        printf("%s: error socket\n", argument);
    } else {
        sockaddr_in server = {};
        server.sin_family = AF_INET;
        server.sin_port = htons(kTimePort);
        server.sin_addr.s_addr = ResolveAddress(argument);
        uint32_t serverSeconds = 0;
        ServerWait wait;
        // An unresolved name is not tried at all: address 0 would reach this
        // very machine on some systems.
        if (server.sin_addr.s_addr == INADDR_NONE || server.sin_addr.s_addr == 0 ||
            !ConnectInTime(connection, server, wait)) {
            printf("%s: error connect\n", argument);
        } else if (!ReceiveTime(connection, wait, serverSeconds)) {
            printf("%s: error receive\n", argument);
        } else {
            FILETIME utc = TimeProtocolToFileTime(serverSeconds), local;
            SYSTEMTIME time = {};
            FileTimeToLocalFileTime(&utc, &local);
            FileTimeToSystemTime(&local, &time);
            // Without the right to change the clock (the usual case) the
            // time was not set: say so, and let the next server try.
            synchronised = SetLocalTime(&time) != 0;
            printf("%s: %s%02d.%02d.%02d %02d:%02d:%02d%s", argument, synchronised ? "" : "error set time ",
                   time.wDay, time.wMonth, time.wYear, time.wHour, time.wMinute, time.wSecond,
                   synchronised ? "" : "\n");
        }
        closesocket(connection);
    }
    WSACleanup();
    return synchronised;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("Time Synchronization version 1.00 by Malvoren\n");
        printf("KvTimeSync [hostname1/ipaddress1] [hostname2/ipaddress2] ...");
        return 0;
    }
    for (int i = 1; i < argc; ++i)
        if (SyncFrom(argv[i])) break;
    return 1;
}
