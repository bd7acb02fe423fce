#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "network/http_request.h"

namespace {

std::string Field(const char* text) { return text ? text : "<none>"; }

struct Parsed {
    std::string address, file, user, pass;
    int port;
};

Parsed Parse(const char* url) {
    paramlink pl = {};
    GetParamAddress(url, &pl);
    Parsed parsed{Field(pl.address), Field(pl.file), Field(pl.user), Field(pl.pass), pl.port};
    ClearParamLink(&pl);
    return parsed;
}

void ExpectParsed(const char* url, const char* address, const char* file, const char* user, const char* pass,
                  int port) {
    Parsed p = Parse(url);
    EXPECT_EQ(p.address, address) << url;
    EXPECT_EQ(p.file, file) << url;
    EXPECT_EQ(p.user, user) << url;
    EXPECT_EQ(p.pass, pass) << url;
    EXPECT_EQ(p.port, port) << url;
}

TEST(GetParamAddress, SplitsTheUrl) {
    ExpectParsed("http://www.example.com/dir/page.html?a=1", "www.example.com", "dir/page.html?a=1", "<none>",
                 "<none>", 0);
    ExpectParsed("ftp://host:8080/", "host", "", "<none>", "<none>", 8080);
    ExpectParsed("host", "host", "<none>", "<none>", "<none>", 0);
    ExpectParsed("user:pw@proxy:3129", "proxy", "<none>", "user", "pw", 3129);
    // The last "@" ends the credentials, the first ":" splits them.
    ExpectParsed("http://me:p@s:s@host/x@y:z", "host", "x@y:z", "me", "p@s:s", 0);
    ExpectParsed(":pw@host", "host", "<none>", "<none>", "pw", 0);
    ExpectParsed("a://b://c/d", "b", "/c/d", "<none>", "<none>", 0);
    ExpectParsed("h:99999999999999999999/", "h", "", "<none>", "<none>", 1000000);
    ExpectParsed("", "", "<none>", "<none>", "<none>", 0);
}

TEST(GetParamAddress, WritesOnlyWhatTheTextGives) {
    paramlink pl = {};
    pl.link = _strdup("kept");
    pl.file = _strdup("old");
    GetParamAddress("server", &pl);
    EXPECT_STREQ(pl.link, "kept");
    EXPECT_STREQ(pl.file, "old");
    EXPECT_STREQ(pl.address, "server");
    ClearParamLink(&pl);
    EXPECT_EQ(pl.link, nullptr);
    ClearParamLink(nullptr);
}

paramlink Link(const char* url) {
    paramlink pl = {};
    pl.link = _strdup(url);
    GetParamAddress(url, &pl);
    return pl;
}

// The buffers are 4096 and 256 bytes with their terminators: one byte more
// is refused, never cut.
TEST(BuildInetRequest, RefusesTextsThatDoNotFit) {
    std::string request;
    paramlink shortOne = Link("http://h/x");
    ASSERT_EQ(BuildInetRequest(shortOne, nullptr, &request), INET_REQUEST_OK);
    size_t room = INET_REQUEST_SIZE - 1 - request.size();
    ClearParamLink(&shortOne);

    std::string path = "http://h/x" + std::string(room, 'a');
    paramlink fits = Link(path.c_str());
    EXPECT_EQ(BuildInetRequest(fits, nullptr, &request), INET_REQUEST_OK);
    EXPECT_EQ(request.size(), static_cast<size_t>(INET_REQUEST_SIZE - 1));
    ClearParamLink(&fits);
    // A space becomes three characters.
    path = "http://h/x" + std::string(room - 2, 'a') + " ";
    paramlink tooLong = Link(path.c_str());
    EXPECT_EQ(BuildInetRequest(tooLong, nullptr, &request), INET_REQUEST_TOO_LONG);
    EXPECT_TRUE(request.empty());
    ClearParamLink(&tooLong);

    paramlink target = Link("http://h/x");
    std::string credentials = std::string(200, 'u') + ":" + std::string(54, 'p') + "@proxy";
    paramlink proxy = Link(credentials.c_str());
    EXPECT_EQ(BuildInetRequest(target, &proxy, &request), INET_REQUEST_OK);
    ClearParamLink(&proxy);
    credentials = std::string(200, 'u') + ":" + std::string(55, 'p') + "@proxy";
    proxy = Link(credentials.c_str());
    EXPECT_EQ(BuildInetRequest(target, &proxy, &request), INET_CREDENTIALS_TOO_LONG);
    ClearParamLink(&proxy);
    ClearParamLink(&target);
}

}  // namespace
