#include "local_web.h"

LocalWeb::LocalWeb() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in at = {};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof at;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&at), &length) != 0)
        return;
    port_ = ntohs(at.sin_port);
    thread_ = std::thread(&LocalWeb::Run, this);
}

LocalWeb::~LocalWeb() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    WSACleanup();
}

std::string LocalWeb::base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LocalWeb::Serve(const std::string& path, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    pages_[path] = body;
}

void LocalWeb::Remove(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    pages_.erase(path);
}

void LocalWeb::SetSilent(bool silent) {
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}

std::vector<std::string> LocalWeb::requested() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requested_;
}

void LocalWeb::ClearRequested() {
    std::lock_guard<std::mutex> lock(mutex_);
    requested_.clear();
}

void LocalWeb::Run() {
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
        }
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait = {0, 20000};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        Answer(client);
        closesocket(client);
    }
}

void LocalWeb::Answer(SOCKET client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(client, &ready);
        timeval wait = {2, 0};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) break;
        int received = recv(client, buffer, sizeof buffer, 0);
        if (received <= 0) break;
        request.append(buffer, static_cast<size_t>(received));
    }
    std::string path;
    size_t start = request.find(' '), end = request.find(" HTTP/");
    if (start != std::string::npos && end != std::string::npos && end > start) path = request.substr(start + 1, end - start - 1);
    std::string reply;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requested_.push_back(path);
        if (silent_) return;
        auto page = pages_.find(path);
        if (page == pages_.end())
            reply = "HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<html><body>Not found</body></html>";
        else
            reply = "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(page->second.size()) + "\r\n\r\n" + page->second;
    }
    for (size_t sent = 0; sent < reply.size();) {
        int n = send(client, reply.data() + sent, static_cast<int>(reply.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
    shutdown(client, SD_SEND);
}
