// A web server on 127.0.0.1 for the informer's tests: pages served by path,
// every requested path kept. Nothing ever reaches the internet.
#pragma once

#include <winsock2.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LocalWeb {
public:
    LocalWeb();
    ~LocalWeb();
    LocalWeb(const LocalWeb&) = delete;
    LocalWeb& operator=(const LocalWeb&) = delete;

    // "http://127.0.0.1:port"
    std::string base() const;
    // Answers 200 with the body; paths not served answer 404 with a small page.
    void Serve(const std::string& path, const std::string& body);
    void Remove(const std::string& path);
    // Connections are closed without a word.
    void SetSilent(bool silent);
    // The paths asked for (with their query), in order.
    std::vector<std::string> requested();
    void ClearRequested();

private:
    void Run();
    void Answer(SOCKET client);

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    bool stopping_ = false;
    bool silent_ = false;
    std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::vector<std::string> requested_;
    std::thread thread_;
};
