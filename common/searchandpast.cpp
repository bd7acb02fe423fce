#include "searchandpast.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

char* SearchAndPast(char* N, const char* sch, const char* pst) {
    if (!N || !sch || !*sch) return N;
    if (!pst) pst = "";
    const size_t patternLength = strlen(sch);
    std::string result;
    const char* rest = N;
    for (const char* hit; (hit = strstr(rest, sch)) != nullptr; rest = hit + patternLength) {
        result.append(rest, hit - rest);
        result.append(pst);
    }
    result.append(rest);
    free(N);
    return _strdup(result.c_str());
}

void KvStrTrim(char*& src, const char* trim) {
    if (!src || !*src || !trim) return;
    size_t length = strlen(src);
    size_t end = length;
    while (end > 0 && strchr(trim, src[end - 1])) --end;
    size_t begin = 0;
    while (begin < end && strchr(trim, src[begin])) ++begin;
    memmove(src, src + begin, end - begin);
    src[end - begin] = '\0';
}

char* strrstr(const char* text, const char* pattern) {
    if (!text || !pattern) return nullptr;
    const char* last = nullptr;
    if (!*pattern) return const_cast<char*>(text + strlen(text));
    for (const char* hit = strstr(text, pattern); hit; hit = strstr(hit + 1, pattern)) last = hit;
    return const_cast<char*>(last);
}

int find(const char* text, char c) {
    if (!text) return -1;
    const char* hit = strchr(text, c);
    return hit && c ? static_cast<int>(hit - text) : -1;
}

namespace {

// Windows-1251: capitals A..YA are 0xC0..0xDF, small a..ya 0xE0..0xFF.
// YO (0xA8/0xB8) is not in the tables and goes through the runtime.
const unsigned char kCyrillicCapitalFirst = 0xC0;
const unsigned char kCyrillicSmallFirst = 0xE0;
const int kCyrillicLetters = 32;

unsigned char MapCase(unsigned char c, int mode) {
    const int shift = kCyrillicSmallFirst - kCyrillicCapitalFirst;
    if (mode == KV_LOWER) {
        if (c >= kCyrillicCapitalFirst && c < kCyrillicCapitalFirst + kCyrillicLetters) return static_cast<unsigned char>(c + shift);
        return static_cast<unsigned char>(tolower(c));
    }
    if (c >= kCyrillicSmallFirst) return static_cast<unsigned char>(c - shift);
    return static_cast<unsigned char>(toupper(c));
}

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int AlphabetIndex(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

char* StrToLowOrUp(char* s, int Registr) {
    if (!s || (Registr != KV_LOWER && Registr != KV_UPPER)) return s;
    for (unsigned char* p = reinterpret_cast<unsigned char*>(s); *p; ++p) *p = MapCase(*p, Registr);
    return s;
}

char* Repos(char* text) {
    if (!text) return text;
    size_t length = strlen(text);
    for (size_t i = 0; i + 1 < length; i += 2) {
        char c = text[i];
        text[i] = text[i + 1];
        text[i + 1] = c;
    }
    return text;
}

char* Base64encode(const char* text) {
    if (!text || !*text) return nullptr;
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    size_t length = strlen(text);
    char* out = static_cast<char*>(malloc((length + 2) / 3 * 4 + 1));
    if (!out) return nullptr;
    char* o = out;
    size_t i = 0;
    for (; i + 2 < length; i += 3) {
        unsigned v = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        *o++ = kAlphabet[(v >> 18) & 63];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = kAlphabet[(v >> 6) & 63];
        *o++ = kAlphabet[v & 63];
    }
    if (i < length) {
        unsigned v = in[i] << 16;
        if (i + 1 < length) v |= in[i + 1] << 8;
        *o++ = kAlphabet[(v >> 18) & 63];
        *o++ = kAlphabet[(v >> 12) & 63];
        *o++ = i + 1 < length ? kAlphabet[(v >> 6) & 63] : '=';
        *o++ = '=';
    }
    *o = '\0';
    return out;
}

char* Base64decode(const char* text) {
    if (!text || !*text) return nullptr;
    size_t length = strlen(text);
    // Every four characters give at most three bytes; a partial group fewer.
    char* out = static_cast<char*>(malloc(length / 4 * 3 + 3 + 1));
    if (!out) return nullptr;
    size_t written = 0;
    unsigned accumulator = 0;
    int bits = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p && *p != '='; ++p) {
        int value = AlphabetIndex(*p);
        if (value < 0) continue;
        accumulator = (accumulator << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out[written++] = static_cast<char>((accumulator >> bits) & 0xFF);
        }
    }
    out[written] = '\0';
    return out;
}

char* WrapCredential(const char* plain) {
    char* coded = Base64encode(plain);
    if (!coded) return nullptr;
    std::reverse(coded, coded + strlen(coded));
    return Repos(coded);
}

char* UnwrapCredential(const char* stored) {
    if (!stored || !*stored) return nullptr;
    char* copy = _strdup(stored);
    if (!copy) return nullptr;
    Repos(copy);
    std::reverse(copy, copy + strlen(copy));
    char* plain = Base64decode(copy);
    free(copy);
    return plain;
}
