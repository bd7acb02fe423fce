// The reminder file: read through the system's ini functions, written
// through the settings store, which keeps a write that failed and tries it
// again (common/plugin_saves tells the user).
#pragma once

#include <functional>
#include <string>

#include "reminder_record.h"

// The file as it will be: while writes are kept for it, reads see them.
class IniStore : public KeyStore {
public:
    explicit IniStore(std::string path);
    std::optional<std::string> Get(const std::string& section, const std::string& key) const override;
    void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) override;
    void DeleteSection(const std::string& section) override;
    bool HasSection(const std::string& section) const override;

private:
    std::string path_;
    bool pending_ = false;  // reads come from text_
    std::string text_;
};

// Makes a change of several keys to the reminder file in one write, so a
// crash or a full disk leaves the old file whole; a write that fails is
// kept and lands later, after those kept before it. Creates the "Users"
// folder if needed. False when the change is not in the file now.
bool UpdateRms(const std::function<void(KeyStore&)>& change);
