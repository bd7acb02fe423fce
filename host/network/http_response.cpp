#include "network/http_response.h"

#include <cstring>

namespace {

const char kHeaderEnd[] = "\r\n\r\n";
const char kLocation[] = "location:";
const char kContentLength[] = "content-length:";
// A longer header line cannot carry a location the request buffer could hold.
const size_t kLongestHeaderLine = 8192;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "HTTP/1.x NNN reason": the code, or 0 for anything else.
int StatusCodeOf(const std::string& line) {
    if (line.compare(0, 5, "HTTP/") != 0) return 0;
    size_t at = line.find(' ');
    if (at == std::string::npos || at + 4 > line.size()) return 0;
    if (!IsDigit(line[at + 1]) || !IsDigit(line[at + 2]) || !IsDigit(line[at + 3])) return 0;
    if (at + 4 < line.size() && !IsBlank(line[at + 4])) return 0;
    return (line[at + 1] - '0') * 100 + (line[at + 2] - '0') * 10 + (line[at + 3] - '0');
}

// Digits only, and few enough not to overflow; -1 otherwise.
long long LengthOf(const std::string& line, size_t begin) {
    while (begin < line.size() && IsBlank(line[begin])) ++begin;
    size_t end = line.size();
    while (end > begin && IsBlank(line[end - 1])) --end;
    if (begin == end || end - begin > 15) return -1;
    long long length = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!IsDigit(line[i])) return -1;
        length = length * 10 + (line[i] - '0');
    }
    return length;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t length = strlen(prefix);
    if (text.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

HttpResponse::HttpResponse(const char* stop) : stop_(stop ? stop : "") {}

HttpResponse::Status HttpResponse::Feed(const char* block, size_t size, std::string* body) {
    if (status_ != MORE || !block) return status_;
    size_t used = 0;
    if (!headerDone_) {
        used = ReadHeader(block, size);
        if (status_ != MORE || !headerDone_) return status_;
    }
    size_t rest = size - used;
    // A server that keeps the connection open says where the body ends only
    // by its length; what follows is not ours.
    if (contentLength_ >= 0 && static_cast<long long>(rest) > contentLength_ - bodyRead_)
        rest = static_cast<size_t>(contentLength_ - bodyRead_);
    bodyRead_ += static_cast<long long>(rest);
    ReadBody(block + used, rest, body);
    CompleteWhenAllArrived(body);
    return status_;
}

void HttpResponse::CompleteWhenAllArrived(std::string* body) {
    if (status_ != MORE || contentLength_ < 0 || bodyRead_ < contentLength_) return;
    // Nothing more can come to finish a stop string the tail began.
    body->append(held_);
    held_.clear();
    status_ = COMPLETE;
}

void HttpResponse::Finish(std::string* body) {
    if (status_ == MORE) body->append(held_);
    held_.clear();
}

// Reads header bytes up to and including the blank line; the end marker and
// the location line may each be split across blocks. Returns the bytes used.
size_t HttpResponse::ReadHeader(const char* block, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        char c = block[i];
        if (c == kHeaderEnd[endMatched_]) {
            ++endMatched_;
        } else {
            endMatched_ = c == '\r' ? 1 : 0;
        }
        if (c == '\n') {
            CheckHeaderLine();
            if (status_ != MORE) return i + 1;
        } else if (line_.size() < kLongestHeaderLine) {
            line_ += c;
        } else {
            lineTooLong_ = true;
        }
        if (endMatched_ == 4) {
            headerDone_ = true;
            return i + 1;
        }
    }
    return size;
}

void HttpResponse::CheckHeaderLine() {
    std::string line;
    line.swap(line_);
    bool tooLong = lineTooLong_;
    lineTooLong_ = false;
    bool first = firstLine_;
    firstLine_ = false;
    if (tooLong) return;
    if (first) statusCode_ = StatusCodeOf(line);
    if (StartsWithNoCase(line, kContentLength)) contentLength_ = LengthOf(line, strlen(kContentLength));
    if (!StartsWithNoCase(line, kLocation)) return;
    size_t begin = strlen(kLocation);
    size_t end = line.size();
    while (begin < end && IsBlank(line[begin])) ++begin;
    while (end > begin && IsBlank(line[end - 1])) --end;
    if (begin == end) return;
    location_.assign(line, begin, end - begin);
    status_ = REDIRECT;
}

void HttpResponse::ReadBody(const char* data, size_t size, std::string* body) {
    if (stop_.empty()) {
        body->append(data, size);
        return;
    }
    std::string work;
    work.swap(held_);
    work.append(data, size);
    size_t hit = work.find(stop_);
    if (hit != std::string::npos) {
        body->append(work, 0, hit);
        status_ = STOPPED;
        return;
    }
    // Hold back the longest tail that could still grow into the stop string,
    // so a stop string cut by the network is found all the same.
    size_t keep = stop_.size() - 1 < work.size() ? stop_.size() - 1 : work.size();
    while (keep > 0 && work.compare(work.size() - keep, keep, stop_, 0, keep) != 0) --keep;
    body->append(work, 0, work.size() - keep);
    held_.assign(work, work.size() - keep, keep);
}
