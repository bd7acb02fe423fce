#include "network/http_request.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "searchandpast.h"

namespace {

char* CopyText(const char* text, size_t length) {
    char* copy = static_cast<char*>(malloc(length + 1));
    if (!copy) return nullptr;
    memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

void SetField(char*& field, const char* text, size_t length) {
    free(field);
    field = CopyText(text, length);
}

// As atoi reads it (leading blanks, a sign, digits), but saturated: a port
// of more than five digits is as wrong as 70000 and must not overflow.
int ReadPort(const char* text) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\f' || *text == '\v') ++text;
    int sign = 1;
    if (*text == '-' || *text == '+') sign = *text++ == '-' ? -1 : 1;
    long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > 1000000) value = 1000000;
    }
    return static_cast<int>(sign * value);
}

const char kUserAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)\r\n";

// The URL text with every space sent as "%20"; nothing else is escaped.
std::string Escaped(const char* text) {
    char* copy = CopyText(text, strlen(text));
    if (!copy) return std::string();
    char* escaped = SearchAndPast(copy, " ", "%20");
    std::string result(escaped ? escaped : "");
    free(escaped);
    return result;
}

// The URL for the proxy's request line: credentials written into the URL are
// parsed but never sent.
std::string WithoutCredentials(const char* link) {
    std::string url(link);
    size_t host = url.find("://");
    host = host == std::string::npos ? 0 : host + 3;
    size_t slash = url.find('/', host);
    size_t at = url.rfind('@', slash);
    if (at != std::string::npos && at >= host) url.erase(host, at + 1 - host);
    return url;
}

}  // namespace

void GetParamAddress(const char* path, paramlink* pl) {
    if (!path || !pl) return;
    const char* rest = path;
    if (const char* scheme = strstr(path, "://")) rest = scheme + 3;

    size_t hostLength = strlen(rest);
    if (const char* slash = strchr(rest, '/')) {
        hostLength = static_cast<size_t>(slash - rest);
        SetField(pl->file, slash + 1, strlen(slash + 1));
    }
    std::string host(rest, hostLength);

    size_t at = host.rfind('@');
    if (at != std::string::npos) {
        std::string credentials = host.substr(0, at);
        host.erase(0, at + 1);
        size_t colon = credentials.find(':');
        std::string user = credentials.substr(0, colon);
        if (!user.empty()) SetField(pl->user, user.data(), user.size());
        if (colon != std::string::npos) SetField(pl->pass, credentials.data() + colon + 1, credentials.size() - colon - 1);
    }
    size_t colon = host.rfind(':');
    if (colon != std::string::npos) {
        pl->port = ReadPort(host.c_str() + colon + 1);
        host.erase(colon);
    }
    SetField(pl->address, host.data(), host.size());
}

void ClearParamLink(paramlink* pl) {
    if (!pl) return;
    free(pl->link);
    free(pl->address);
    free(pl->file);
    free(pl->user);
    free(pl->pass);
    memset(pl, 0, sizeof *pl);
}

InetRequestResult BuildInetRequest(const paramlink& target, const paramlink* proxy, std::string* request) {
    request->clear();
    const char* address = target.address ? target.address : "";
    std::string text;
    if (!proxy) {
        text = "GET /" + Escaped(target.file ? target.file : "") +
               " HTTP/1.0\r\nAccept: */*\r\nAccept-Language: ru\r\n" + kUserAgent + "Host: " + address +
               "\r\nConnection: Keep-Alive\r\n\r\n\r\n";
    } else {
        text = "GET " + Escaped(WithoutCredentials(target.link ? target.link : "").c_str()) + " HTTP/1.0\r\nHost: " + address + "\r\n" +
               kUserAgent;
        if (proxy->user && proxy->pass) {
            std::string credentials = std::string(proxy->user) + ":" + proxy->pass;
            if (credentials.size() + 1 > INET_CREDENTIALS_SIZE) return INET_CREDENTIALS_TOO_LONG;
            char* coded = Base64encode(credentials.c_str());
            text += "Proxy-Authorization: Basic ";
            text += coded ? coded : "";
            text += "\r\n";
            free(coded);
        }
        text += "\r\n\r\n";
    }
    if (text.size() + 1 > INET_REQUEST_SIZE) return INET_REQUEST_TOO_LONG;
    *request = text;
    return INET_REQUEST_OK;
}
