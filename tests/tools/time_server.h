// A Time Protocol server on a loopback address, port 37, answering on a
// thread of the test the way the test tells it to.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

class TimeServer {
public:
    // Listens on address:37. Each connection gets the reply's pieces, with
    // a short pause between them, and is closed holdMs later (no pieces and
    // a long hold: a server that accepts and says nothing). A piece equal to
    // kCurrentTime is the time of the moment it is sent, sent just after a
    // whole second so the clock it sets stays within a fraction of one.
    TimeServer(const char* address, std::vector<std::string> pieces, DWORD holdMs = 0);
    static const std::string kCurrentTime;
    ~TimeServer();
    TimeServer(const TimeServer&) = delete;
    TimeServer& operator=(const TimeServer&) = delete;

    bool listening() const { return listener_ != INVALID_SOCKET; }
    // Why it is not listening.
    const std::string& error() const { return error_; }
    int connections() const { return connections_; }

    // The four bytes of a count, big endian.
    static std::string Reply(unsigned long seconds);

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Serve();

    std::vector<std::string> pieces_;
    DWORD holdMs_;
    SOCKET listener_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
    std::atomic<int> connections_{0};
    std::atomic<bool> stopping_{false};
    std::string error_;
};
