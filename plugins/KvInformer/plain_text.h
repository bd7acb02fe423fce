// Text routines of the informer's parsers and page rewriting. Standard
// library only, so the parsers can be built and fuzzed natively.
#pragma once

#include <string>

// Replaces every occurrence of from by to; the search goes on after each
// replacement, so a replacement that holds the pattern is not replaced again.
// An empty pattern changes nothing.
void ReplaceAll(std::string& text, const std::string& from, const std::string& to);

// One byte in lower case: Latin letters and the Cyrillic letters of code page
// 1251 (YO included); every other byte stays.
unsigned char FoldByte(unsigned char c);
std::string FoldCase(std::string text);

// Position of pattern in text from start on, ignoring case as FoldByte does;
// npos when absent or the pattern is empty.
size_t FindNoCase(const std::string& text, const std::string& pattern, size_t start = 0);

// The decimal number at the start of text as atoi reads it (leading blanks,
// an optional sign, digits), held to the range of int instead of overflowing.
int ParseIntClamped(const char* text, size_t length);

// Blanks (and tabs) removed from both ends.
std::string TrimBlanks(const std::string& text);
