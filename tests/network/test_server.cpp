#include "test_server.h"

#include <chrono>

ScriptedReply Reply(const std::string& whole, DWORD holdMs) {
    ScriptedReply reply;
    reply.chunks.push_back(whole);
    reply.holdMs = holdMs;
    return reply;
}

TestServer::TestServer(u_short port) {
    WSAStartup(MAKEWORD(2, 2), &wsa_);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at = {};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    at.sin_port = htons(port);
    int length = sizeof at;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        if (listener_ != INVALID_SOCKET) closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return;
    }
    port_ = ntohs(at.sin_port);
    thread_ = std::thread(&TestServer::Run, this);
}

TestServer::~TestServer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

std::string TestServer::base() const { return "127.0.0.1:" + std::to_string(port_); }

void TestServer::Add(ScriptedReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_.push_back(std::move(reply));
}

void TestServer::SetStanding(ScriptedReply reply) {
    std::lock_guard<std::mutex> lock(mutex_);
    standing_ = std::move(reply);
}

std::vector<std::string> TestServer::requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int TestServer::connections() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(requests_.size());
}

bool TestServer::Pause(DWORD ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void TestServer::Run() {
    while (Pause(0)) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait = {0, 20000};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Serve(client);
        closesocket(client);
    }
}

void TestServer::Serve(SOCKET client) {
    // Every request of the client ends in an empty line and one more CR LF;
    // two quiet seconds end a request that does not.
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n\r\n") == std::string::npos) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(client, &ready);
        timeval wait = {2, 0};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) break;
        int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) break;
        request.append(buffer, received);
    }
    ScriptedReply reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        if (!replies_.empty()) {
            reply = replies_.front();
            replies_.pop_front();
        } else {
            reply = standing_;
        }
    }
    auto sendWhole = [client](const std::string& chunk) {
        for (size_t sent = 0; sent < chunk.size();) {
            int n = send(client, chunk.data() + sent, static_cast<int>(chunk.size() - sent), 0);
            if (n <= 0) return false;
            sent += n;
        }
        return true;
    };
    for (size_t i = 0; i < reply.chunks.size(); ++i) {
        if (i > 0 && !Pause(reply.gapMs)) return;
        if (!sendWhole(reply.chunks[i])) return;
    }
    // A flood: ends when the client stops taking it.
    for (size_t i = 0; i < reply.repeatLast && !reply.chunks.empty(); ++i)
        if (!Pause(0) || !sendWhole(reply.chunks.back())) return;
    Pause(reply.holdMs);
}

std::vector<std::string>& LookedUpNames() {
    static std::vector<std::string> names;
    return names;
}

hostent* WINAPI LoopbackLookup(const char* name) {
    LookedUpNames().push_back(name);
    static in_addr loopback;
    static char* addresses[] = {reinterpret_cast<char*>(&loopback), nullptr};
    static hostent answer;
    loopback.s_addr = htonl(INADDR_LOOPBACK);
    answer.h_addrtype = AF_INET;
    answer.h_length = sizeof loopback;
    answer.h_addr_list = addresses;
    return &answer;
}

hostent* WINAPI NoSuchHost(const char* name) {
    LookedUpNames().push_back(name);
    WSASetLastError(WSAHOST_NOT_FOUND);
    return nullptr;
}
