// A scripted HTTP server on 127.0.0.1 in a thread of the test program: it
// records each request and answers with the next scripted reply.
#pragma once

#include <winsock2.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ScriptedReply {
    std::vector<std::string> chunks;  // sent one after the other
    DWORD gapMs = 0;                  // pause before every chunk but the first
    DWORD holdMs = 0;                 // time the connection stays open afterwards
    size_t repeatLast = 0;            // the last chunk is sent this many times more, without pause
};

ScriptedReply Reply(const std::string& whole, DWORD holdMs = 0);

class TestServer {
public:
    // port 0: any free port.
    explicit TestServer(u_short port = 0);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool listening() const { return listener_ != INVALID_SOCKET; }
    int port() const { return port_; }
    std::string base() const;  // "127.0.0.1:port"

    // Replies for the next connections, in order; once they run out, the
    // standing reply answers (by default an empty one: closed at once).
    void Add(ScriptedReply reply);
    void SetStanding(ScriptedReply reply);

    std::vector<std::string> requests();
    int connections();

private:
    void Run();
    void Serve(SOCKET client);
    bool Pause(DWORD ms);  // false when the server is stopping

    WSADATA wsa_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::deque<ScriptedReply> replies_;
    ScriptedReply standing_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Stand-ins for the client's name lookup, both noting the names asked for:
// every name is the loopback address (so names reach the test server), or
// no name is known.
hostent* WINAPI LoopbackLookup(const char* name);
hostent* WINAPI NoSuchHost(const char* name);
std::vector<std::string>& LookedUpNames();
