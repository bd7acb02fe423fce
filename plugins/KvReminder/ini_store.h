// The reminder file through the system's ini functions.
#pragma once

#include <functional>
#include <string>

#include "reminder_record.h"

class IniStore : public KeyStore {
public:
    explicit IniStore(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> Get(const std::string& section, const std::string& key) const override;
    void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) override;
    void DeleteSection(const std::string& section) override;
    bool HasSection(const std::string& section) const override;

private:
    std::string path_;
};

// Makes a change of several keys to the reminder file all at once: the change
// goes to a copy beside the file, which then replaces it, so a crash or a
// full disk leaves the old file whole. Creates the "Users" folder if needed.
void UpdateRms(const std::function<void(KeyStore&)>& change);
