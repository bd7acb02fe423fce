#include "saved_page.h"

namespace {

// The length in brackets is the URL's, as the browser reads it.
const char kMark[] = "<!-- saved from url=(0014)about:internet -->\r\n";
const char kUtf8Bom[] = "\xEF\xBB\xBF";

}  // namespace

std::string MarkedAsFromInternet(const std::string& page) {
    const size_t bom = page.compare(0, 3, kUtf8Bom) == 0 ? 3 : 0;
    std::string marked = page.substr(0, bom);
    marked += kMark;
    marked.append(page, bom, std::string::npos);
    return marked;
}
