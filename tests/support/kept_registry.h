// Registry state a test changes in the prefix, put back when it ends: single
// values (bytes and type as they were), and keys of the classes root that
// did not exist before (removed, children first).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class KeptValue {
public:
    KeptValue(HKEY root, const char* key, const char* name);
    ~KeptValue();
    KeptValue(const KeptValue&) = delete;
    KeptValue& operator=(const KeptValue&) = delete;

private:
    HKEY root_;
    std::string key_, name_;
    bool present_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> bytes_;
};

class ClassesKeysTrace {
public:
    ClassesKeysTrace() = default;
    ~ClassesKeysTrace();
    ClassesKeysTrace(const ClassesKeysTrace&) = delete;
    ClassesKeysTrace& operator=(const ClassesKeysTrace&) = delete;
    // Notes key and key\shell; those that are absent now go at the end.
    void NoteWithShell(const std::string& key);
    // The type keys of the eight picture extensions (and the default types)
    // and "Directory", with their "shell" keys.
    void NotePictureTypesAndFolders();

private:
    std::vector<std::string> absent_;
};

// A value of the classes root ("" for the default), or "<absent>".
std::string ClassesValue(const std::string& key, const char* name = nullptr);
bool ClassesKeyExists(const std::string& key);
// A string value anywhere, or "<absent>"; and its writer ("<absent>" deletes).
std::string RegString(HKEY root, const char* key, const char* name);
void SetRegString(HKEY root, const char* key, const char* name, const std::string& value);
