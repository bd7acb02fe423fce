// Text routines shared by the host and the plug-ins: search-and-replace,
// trimming, case mapping (Windows-1251 Cyrillic included) and Base64.
// Every returned text is a new heap string (malloc) unless said otherwise.
#pragma once

// Replaces every occurrence of sch by pst (none = remove). N must be a heap
// string: it is freed and the result returned. With no text or an empty
// pattern N itself comes back untouched.
char* SearchAndPast(char* N, const char* sch, const char* pst);

// Strips leading and trailing characters of the set trim, in place; src keeps
// pointing at the start of its block so it can still be freed.
void KvStrTrim(char*& src, const char* trim);

// Last occurrence of pattern inside text, or none.
char* strrstr(const char* text, const char* pattern);

// Zero-based index of the first c in text, or -1.
int find(const char* text, char c);

enum { KV_LOWER = 1, KV_UPPER = 2 };
// Case mapping in place: mode 1 lower, 2 upper, other modes leave s alone.
char* StrToLowOrUp(char* s, int Registr);

// Swaps characters 0/1, 2/3, ... in place; an odd last character stays.
char* Repos(char* text);

// Base64 (RFC 4648 alphabet, "=" padding, no line breaks). An empty or
// missing text gives none.
char* Base64encode(const char* text);
// Decoding stops at the first "="; characters outside the alphabet are
// skipped; a trailing group of one character carries no whole byte and is
// dropped. The result ends at the first zero byte.
char* Base64decode(const char* text);

// How the proxy user name and password are kept in the settings file:
// pair-swap(reverse(Base64(plain))). Empty or missing text gives none.
char* WrapCredential(const char* plain);
char* UnwrapCredential(const char* stored);
