// The user's settings file inside a program folder, as a test reads and
// writes it from outside the program.
#pragma once

#include <string>

class SettingsFile {
public:
    // Users\<user>.set in the folder; user defaults to the name the program
    // would choose with no "defuser" (the Windows user).
    explicit SettingsFile(const std::string& programFolder, const std::string& user = std::string());

    const std::string& path() const { return path_; }
    // Value of a key, or "<absent>" when the key does not exist.
    std::string Get(const std::string& key, const std::string& section = "set") const;
    bool Has(const std::string& key, const std::string& section = "set") const;
    int GetInt(const std::string& key, int fallback, const std::string& section = "set") const;
    void Set(const std::string& key, const std::string& value, const std::string& section = "set") const;
    void Delete(const std::string& key, const std::string& section = "set") const;

private:
    std::string path_;
};

// The Windows user name the program sees.
std::string CurrentUserName();
