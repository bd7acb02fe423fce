#include "time_server.h"

#include <cstdio>

namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockUser() { WSACleanup(); }
};

// The time now as the protocol counts it, taken just after a whole second.
std::string CurrentTimeReply() {
    const ULONGLONG kSecondsFrom1601To1900 = 9435484800ull;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    Sleep(static_cast<DWORD>(1000 - (ticks / 10000) % 1000) + 20);
    GetSystemTimeAsFileTime(&now);
    ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return TimeServer::Reply(static_cast<unsigned long>(ticks / 10000000 - kSecondsFrom1601To1900));
}

}  // namespace

const std::string TimeServer::kCurrentTime = "now";

TimeServer::TimeServer(const char* address, std::vector<std::string> pieces, DWORD holdMs)
    : pieces_(std::move(pieces)), holdMs_(holdMs) {
    static WinsockUser winsock;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) {
        error_ = "no socket";
        return;
    }
    // Tests follow one another quickly on the same port.
    BOOL reuse = TRUE;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(37);
    local.sin_addr.s_addr = inet_addr(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR ||
        listen(listener_, 4) == SOCKET_ERROR) {
        char text[128];
        snprintf(text, sizeof text, "cannot listen on %s:37 (error %d)", address, WSAGetLastError());
        error_ = text;
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

TimeServer::~TimeServer() {
    stopping_ = true;
    if (listener_ != INVALID_SOCKET) closesocket(listener_);  // ends a waiting accept
    if (thread_) {
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
    }
}

std::string TimeServer::Reply(unsigned long seconds) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((seconds >> (24 - 8 * i)) & 0xff);
    return bytes;
}

DWORD WINAPI TimeServer::ThreadMain(LPVOID self) {
    static_cast<TimeServer*>(self)->Serve();
    return 0;
}

void TimeServer::Serve() {
    while (!stopping_) {
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        ++connections_;
        for (size_t i = 0; i < pieces_.size(); ++i) {
            if (i) Sleep(200);  // long enough for the first piece to be received alone
            const std::string piece = pieces_[i] == kCurrentTime ? CurrentTimeReply() : pieces_[i];
            send(client, piece.data(), static_cast<int>(piece.size()), 0);
        }
        for (DWORD held = 0; held < holdMs_ && !stopping_; held += 50) Sleep(50);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
