// Finding the services' town numbers from a town name: the request
// addresses and the reading of the answers. Standard library only; the
// caller converts between code pages.
#pragma once

#include <string>

// The name as it goes into a request: lower case (Cyrillic of code page
// 1251 included), blanks as "%20".
std::string TownQueryName(const std::string& name);

// "/ajax/city_search?searchQuery=" followed by the byte 0xF5 and the name,
// on the search host.
std::string GismeteoSearchUrl(const std::string& searchHost, const std::string& queryName);
// "/vsearch.php?txt=" followed by the name.
std::string Rp5SearchUrl(const std::string& host, const std::string& queryName);

// Turns the escapes \uXXXX of an answer into UTF-8 (surrogate pairs joined);
// other bytes stay, and an escape without four hexadecimal digits stays as
// it is.
std::string DecodeUnicodeEscapes(const std::string& text);

// The Gismeteo number in an answer (ANSI): after the last double quote
// before "\":\"<span><b>NAME<\/b><\/span>" (case ignored), else inside the
// first pair of double quotes. False when no number is there.
bool FindGismeteoTown(const std::string& answer, const std::string& name, std::string& number);

// The RP5 number in an answer (ANSI): at ">NAME</a>" (case ignored), the
// number after the first "\"/" from 20 characters before it, up to the next
// slash. False when no number is there.
bool FindRp5Town(const std::string& answer, const std::string& name, std::string& number);
