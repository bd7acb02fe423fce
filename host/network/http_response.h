// The HTTP client's reading of a response, fed the received blocks one by
// one. Plain code: no sockets and no windows.h, so every way a response can
// be cut into blocks is tested and fuzzed.
#pragma once

#include <cstddef>
#include <string>

class HttpResponse {
public:
    enum Status {
        MORE,      // keep reading
        STOPPED,   // the stop string was met: nothing more is delivered
        REDIRECT,  // the header named a new location
        COMPLETE,  // every byte the Content-Length announced has arrived
    };

    // stop: the body ends where this text first occurs (none or empty: no
    // stop string). The text is copied.
    explicit HttpResponse(const char* stop);

    // Takes the next received block and appends to body the bytes that may be
    // delivered now. Once the status is no longer MORE, blocks are ignored;
    // bytes past the announced length are never delivered.
    Status Feed(const char* block, size_t size, std::string* body);

    // The stream ended (closed, timed out or failed): appends the bytes that
    // were held back in case they began the stop string.
    void Finish(std::string* body);

    Status status() const { return status_; }
    // The redirect target when the status is REDIRECT.
    const std::string& location() const { return location_; }
    bool headerDone() const { return headerDone_; }
    // The status line's code (200, 404, ...); 0 until a status line was read.
    int statusCode() const { return statusCode_; }
    // The "Content-Length" the header gave; -1 when it gave none.
    long long contentLength() const { return contentLength_; }

private:
    size_t ReadHeader(const char* block, size_t size);
    void CheckHeaderLine();
    void ReadBody(const char* data, size_t size, std::string* body);
    void CompleteWhenAllArrived(std::string* body);

    std::string stop_;
    Status status_ = MORE;
    bool headerDone_ = false;
    int endMatched_ = 0;        // characters of "\r\n\r\n" matched so far
    std::string line_;          // the header line being read
    bool lineTooLong_ = false;
    std::string held_;          // body tail that may be the start of stop_
    std::string location_;
    bool firstLine_ = true;
    int statusCode_ = 0;
    long long contentLength_ = -1;
    long long bodyRead_ = 0;    // body bytes taken, held ones included
};
