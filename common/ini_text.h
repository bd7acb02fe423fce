// Ini text edited in memory the way the system's profile writer edits the
// file, so that a settings file can be written whole to a temporary file and
// then replace the old one. Plain C++: the text is outside input (people edit
// these files by hand) and any bytes must be safe.
//
// Lines end with CR LF or LF; new lines get CR LF. A section starts at a line
// whose first non-blank character is "[" and runs to the next such line; its
// name lies between "[" and the first "]". A key line is "name=value"; a line
// without "=" counts as a key without value. Names compare without regard to
// case (Latin and Windows-1251 Cyrillic) and lose surrounding blanks; only the
// first section of a name counts, and in it the first line of a key, as the
// system's reader has it.
#pragma once

#include <string>

// Whether the editor takes the name: not empty after trimming, no line
// break, no "]" in a section name, no "=" in a key name and no "[" at its
// start. Other names are left to the system's own writer.
bool IniNameUsable(const std::string& name, bool section);

// Sets key to value in the first section of that name: the key's first line
// is rewritten, a missing key is added after the section's last line, a
// missing section is added at the end. Only the value's first line is kept
// (a line break would start lines of its own). value none removes every line
// of the key from that section; key none removes every section of the name.
// False, and the text untouched, when a name is not usable.
bool EditIniText(std::string& text, const char* section, const char* key, const char* value);

// What the system's reader finds: the value of the key's first line in the
// first section of the name, blanks trimmed and one pair of surrounding
// quotes removed. False when the section or the key is missing.
bool ReadIniText(const std::string& text, const std::string& section, const std::string& key, std::string* value);

// Whether a section of the name is there (keys or not).
bool HasIniSection(const std::string& text, const std::string& section);
