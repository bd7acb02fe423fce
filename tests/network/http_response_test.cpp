#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network/http_response.h"

namespace {

struct Outcome {
    std::string body;
    HttpResponse::Status status;
    std::string location;
    bool operator==(const Outcome& o) const {
        return body == o.body && status == o.status && location == o.location;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return out << "body \"" << o.body << "\" status " << o.status << " location \"" << o.location << "\"";
}

// Feeds the response cut at the given offsets, then ends the stream.
Outcome Read(const std::string& response, const char* stop, const std::vector<size_t>& cuts = {}) {
    HttpResponse reader(stop);
    Outcome outcome;
    size_t from = 0;
    std::vector<size_t> ends = cuts;
    ends.push_back(response.size());
    for (size_t end : ends) {
        reader.Feed(response.data() + from, end - from, &outcome.body);
        from = end;
    }
    reader.Finish(&outcome.body);
    outcome.status = reader.status();
    outcome.location = reader.location();
    return outcome;
}

const std::string kLongHeader = "HTTP/1.0 200 OK\r\nX-Filler: " + std::string(1500, 'f') + "\r\n\r\n";

struct Case {
    std::string response;
    const char* stop;
    Outcome expected;
};

// However the network cuts a response, the same body comes out.
TEST(HttpResponse, EveryCutGivesTheSameResult) {
    const std::string binary("a\0\r\n\r\nb", 7);
    const std::vector<Case> cases = {
        {"HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhello\r\n\r\nworld", nullptr,
         {"hello\r\n\r\nworld", HttpResponse::MORE, ""}},
        {kLongHeader + "body after a long header", nullptr, {"body after a long header", HttpResponse::MORE, ""}},
        {"HTTP/1.0 200 OK\r\n\r\n" + binary, nullptr, {binary, HttpResponse::MORE, ""}},
        {"HTTP/1.0 200 OK\r\n\r\nkeep ENENDthrown END", "END", {"keep EN", HttpResponse::STOPPED, ""}},
        {"HTTP/1.0 200 OK\r\n\r\nno stop here, just EN", "END", {"no stop here, just EN", HttpResponse::MORE, ""}},
        {"HTTP/1.0 200 OK\r\n\r\nEND at once", "END", {"", HttpResponse::STOPPED, ""}},
        {"HTTP/1.0 200 OK\r\nX: END\r\n\r\nthe header is not searched", "END",
         {"the header is not searched", HttpResponse::MORE, ""}},
        {"HTTP/1.0 301 Moved\r\nServer: x\r\nLocation: http://b/c d\r\n\r\nmoved", nullptr,
         {"", HttpResponse::REDIRECT, "http://b/c d"}},
        {"HTTP/1.0 200 OK\r\n\r\n<a>Location: http://evil/</a>\r\n", nullptr,
         {"<a>Location: http://evil/</a>\r\n", HttpResponse::MORE, ""}},
        {"HTTP/1.0 200 OK\r\nContent-Length: 4", nullptr, {"", HttpResponse::MORE, ""}},
        // A server that keeps the connection says where the body ends only
        // by its length: what follows is not delivered, and a tail held back
        // for the stop string is delivered at once.
        {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloHTTP/1.1 200 OK", nullptr,
         {"hello", HttpResponse::COMPLETE, ""}},
        {"HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nabcdENDE", "END", {"abcdEN", HttpResponse::COMPLETE, ""}},
        {"HTTP/1.1 204 No Content\r\nContent-Length: 0\r\n\r\nnext", nullptr, {"", HttpResponse::COMPLETE, ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.response);
        ASSERT_EQ(Read(c.response, c.stop), c.expected);
        for (size_t cut = 0; cut <= c.response.size(); ++cut) ASSERT_EQ(Read(c.response, c.stop, {cut}), c.expected) << cut;
        std::vector<size_t> everyByte;
        for (size_t cut = 1; cut < c.response.size(); ++cut) everyByte.push_back(cut);
        ASSERT_EQ(Read(c.response, c.stop, everyByte), c.expected);
    }
}

TEST(HttpResponse, LocationIsAHeaderLineOfItsOwn) {
    EXPECT_EQ(Read("HTTP/1.0 302 Found\r\nlocation:\t /next \r\n\r\n", nullptr).location, "/next");
    EXPECT_EQ(Read("HTTP/1.0 200 OK\r\nX-Location: http://a/\r\nLocation:\r\n\r\nbody", nullptr),
              (Outcome{"body", HttpResponse::MORE, ""}));
    // A redirect or a stop ends the reading; later blocks deliver nothing.
    HttpResponse reader("!");
    std::string body;
    const std::string response = "HTTP/1.0 200 OK\r\n\r\nab!c";
    EXPECT_EQ(reader.Feed(response.data(), response.size(), &body), HttpResponse::STOPPED);
    EXPECT_EQ(reader.Feed("more", 4, &body), HttpResponse::STOPPED);
    reader.Finish(&body);
    EXPECT_EQ(body, "ab");
}

// What the update check needs to trust a download: the status and the
// announced length, read from whole lines whatever the cuts.
TEST(HttpResponse, StatusAndContentLengthComeFromTheirLines) {
    struct Header {
        std::string text;
        int status;
        long long length;
    };
    const std::vector<Header> headers = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 1234\r\n\r\nx", 200, 1234},
        {"HTTP/1.1 404 Not Found\r\ncontent-length:\t0 \r\n\r\n", 404, 0},
        {"HTTP/1.0 200\r\nX-Content-Length: 5\r\n\r\n", 200, -1},
        {"HTTP/1.0 2000 OK\r\nContent-Length: 12a\r\n\r\n", 0, -1},
        {"<html>\r\nHTTP/1.0 200 OK\r\n\r\n", 0, -1},
        {"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n", 200, -1},
    };
    for (const Header& header : headers) {
        for (size_t cut = 0; cut <= header.text.size(); ++cut) {
            HttpResponse reader(nullptr);
            std::string body;
            reader.Feed(header.text.data(), cut, &body);
            reader.Feed(header.text.data() + cut, header.text.size() - cut, &body);
            ASSERT_EQ(reader.statusCode(), header.status) << header.text << " cut at " << cut;
            ASSERT_EQ(reader.contentLength(), header.length) << header.text << " cut at " << cut;
        }
    }
}

}  // namespace
