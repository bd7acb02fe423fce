// libFuzzer target for the HTTP client's plain code: URL parsing with the
// request texts, and response reading cut into blocks at arbitrary places.
// First byte even: a response; odd: a URL. Built by scripts/fuzz-http.sh.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "network/http_request.h"
#include "network/http_response.h"

namespace {

struct Outcome {
    std::string body;
    HttpResponse::Status status;
    std::string location;
};

Outcome Read(const std::string& response, const char* stop, const std::vector<size_t>& cuts) {
    HttpResponse reader(stop);
    Outcome outcome;
    size_t from = 0;
    for (size_t end : cuts) {
        reader.Feed(response.data() + from, end - from, &outcome.body);
        from = end;
    }
    reader.Feed(response.data() + from, response.size() - from, &outcome.body);
    reader.Finish(&outcome.body);
    outcome.status = reader.status();
    outcome.location = reader.location();
    return outcome;
}

bool Same(const Outcome& a, const Outcome& b) {
    return a.body == b.body && a.status == b.status && a.location == b.location;
}

// Layout: selector, stop length, cut seed, stop text, response.
void FuzzResponse(const uint8_t* data, size_t size) {
    if (size < 3) return;
    size_t stopLength = data[1] % 16;
    uint8_t seed = data[2];
    data += 3;
    size -= 3;
    if (stopLength > size) stopLength = size;
    std::string stopText(reinterpret_cast<const char*>(data), stopLength);
    const char* stop = stopText.c_str();  // ends at its first NUL, as callers' texts do
    std::string response(reinterpret_cast<const char*>(data + stopLength), size - stopLength);

    Outcome whole = Read(response, stop, {});
    std::vector<size_t> cuts;
    for (size_t at = 0, step = seed % 7 + 1; at + step < response.size(); at += step, step = (step * 5 + seed) % 11 + 1)
        cuts.push_back(at + step);
    Expect(Same(whole, Read(response, stop, cuts)));
    std::vector<size_t> everyByte;
    for (size_t at = 1; at < response.size() && response.size() < 4096; ++at) everyByte.push_back(at);
    Expect(Same(whole, Read(response, stop, everyByte)));

    // The body is what follows the header, cut before the stop string.
    size_t headerEnd = response.find("\r\n\r\n");
    if (whole.status == HttpResponse::REDIRECT || headerEnd == std::string::npos) {
        Expect(whole.body.empty());
        Expect(whole.status != HttpResponse::STOPPED);
        return;
    }
    std::string rest = response.substr(headerEnd + 4);
    if (*stop) {
        size_t hit = rest.find(stop);
        Expect(whole.status == (hit == std::string::npos ? HttpResponse::MORE : HttpResponse::STOPPED));
        Expect(whole.body == rest.substr(0, hit));
    } else {
        Expect(whole.status == HttpResponse::MORE);
        Expect(whole.body == rest);
    }
}

void Request(const paramlink& target, const paramlink* proxy) {
    if (!target.address || !target.file) return;
    std::string request;
    if (BuildInetRequest(target, proxy, &request) != INET_REQUEST_OK) {
        Expect(request.empty());
        return;
    }
    Expect(request.size() < INET_REQUEST_SIZE);
    Expect(request.compare(0, 4, "GET ") == 0);
    Expect(request.find(' ', 4) != std::string::npos);
}

// Layout: selector, split, then the URL text and the proxy text.
void FuzzUrl(const uint8_t* data, size_t size) {
    if (size < 2) return;
    size_t split = data[1];
    data += 2;
    size -= 2;
    if (split > size) split = size;
    std::string url(reinterpret_cast<const char*>(data), split);
    std::string proxyText(reinterpret_cast<const char*>(data + split), size - split);

    paramlink target = {};
    target.link = strdup(url.c_str());
    GetParamAddress(url.c_str(), &target);
    paramlink proxy = {};
    proxy.link = strdup(proxyText.c_str());
    GetParamAddress(proxyText.c_str(), &proxy);
    if (target.address) Expect(!strchr(target.address, '/') && !strchr(target.address, '@'));
    Request(target, nullptr);
    Request(target, &proxy);
    ClearParamLink(&target);
    ClearParamLink(&proxy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1)
        FuzzUrl(data, size);
    else
        FuzzResponse(data, size);
    return 0;
}
