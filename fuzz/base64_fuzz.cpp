// libFuzzer target for Base64 and the wrapping of the proxy user name and
// password in the settings file (anyone may edit the stored text), and the
// string routines the parsers lean on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "searchandpast.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char* text = bytes.c_str();

    // Stored texts of any kind decode to something or nothing.
    free(Base64decode(text));
    free(UnwrapCredential(text));

    // What is stored comes back as it was.
    if (*text) {
        char* encoded = Base64encode(text);
        Expect(encoded && strlen(encoded) % 4 == 0);
        char* decoded = Base64decode(encoded);
        Expect(decoded && strcmp(decoded, text) == 0);
        free(decoded);
        free(encoded);
        char* wrapped = WrapCredential(text);
        Expect(wrapped != nullptr);
        char* unwrapped = UnwrapCredential(wrapped);
        Expect(unwrapped && strcmp(unwrapped, text) == 0);
        free(unwrapped);
        free(wrapped);
    }

    // The string routines on the same bytes: a pattern and a text.
    size_t split = size ? data[0] % 8u : 0;
    std::string pattern = bytes.substr(0, split < size ? split : size).c_str();
    char* copy = strdup(text);
    Repos(copy);
    StrToLowOrUp(copy, KV_LOWER);
    StrToLowOrUp(copy, KV_UPPER);
    KvStrTrim(copy, pattern.c_str());
    strrstr(copy, pattern.c_str());
    find(copy, pattern.empty() ? 0 : pattern[0]);
    copy = SearchAndPast(copy, pattern.c_str(), "xx");
    free(copy);
    return 0;
}
