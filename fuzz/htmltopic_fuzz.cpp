// libFuzzer target for the page-to-picture tool's command line
// "URL x y w h = filename", as the informer (or anyone) starts the tool. The
// text is a C string (it ends at its first zero byte).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "pagerequest.h"

namespace {

bool Same(const PageRequest& a, const PageRequest& b) {
    return a.url == b.url && a.file == b.file && a.x == b.x && a.y == b.y && a.width == b.width &&
           a.height == b.height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const char* arguments = SkipProgramName(line.c_str());
    Expect(arguments >= line.c_str() && arguments <= line.c_str() + line.size());
    PageRequest request;
    if (!ParsePageRequest(arguments, request)) return 0;
    Expect(!request.url.empty() && !request.file.empty());
    // What the informer writes for a request comes back as that request,
    // whatever the names hold (they can hold no quote: Windows forbids it).
    if (request.url.find('"') != std::string::npos || request.file.find('"') != std::string::npos) return 0;
    const std::string quoted = "\"" + request.url + "\" " + std::to_string(request.x) + " " +
                               std::to_string(request.y) + " " + std::to_string(request.width) + " " +
                               std::to_string(request.height) + " = \"" + request.file + "\"";
    PageRequest again;
    Expect(ParsePageRequest(quoted.c_str(), again));
    Expect(Same(request, again));
    return 0;
}
