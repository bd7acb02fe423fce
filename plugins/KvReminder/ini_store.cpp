#include "ini_store.h"

#include <windows.h>

#include <vector>

#include "file_replace.h"
#include "ini_text.h"
#include "kvinifunction.h"
#include "plugin_saves.h"
#include "plugin_state.h"
#include "scopedwin.h"

namespace {

std::optional<std::string> ReadText(const std::string& text, const std::string& section, const std::string& key) {
    std::string value;
    if (!ReadIniText(text, section, key, &value) || value.empty()) return std::nullopt;
    return value;
}

// The file's text in memory; a change made to it is recorded, to be written
// in one go.
class EditedText : public KeyStore {
public:
    explicit EditedText(std::string text) : text_(std::move(text)) {}
    std::optional<std::string> Get(const std::string& section, const std::string& key) const override {
        return ReadText(text_, section, key);
    }
    void Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) override {
        Edit({section, key, value});
    }
    void DeleteSection(const std::string& section) override { Edit({section, std::nullopt, std::nullopt}); }
    bool HasSection(const std::string& section) const override { return HasIniSection(text_, section); }
    const std::vector<IniEdit>& edits() const { return edits_; }

private:
    void Edit(const IniEdit& edit) {
        EditIniText(text_, edit.section.c_str(), edit.key ? edit.key->c_str() : nullptr,
                    edit.value ? edit.value->c_str() : nullptr);
        edits_.push_back(edit);
    }
    std::string text_;
    std::vector<IniEdit> edits_;
};

}  // namespace

IniStore::IniStore(std::string path) : path_(std::move(path)) {
    pending_ = PendingSettingsText(path_.c_str(), text_);
}

std::optional<std::string> IniStore::Get(const std::string& section, const std::string& key) const {
    if (pending_) return ReadText(text_, section, key);
    HeapString value(GetKeyLong(path_.c_str(), section.c_str(), key.c_str()));
    if (!value || !*value) return std::nullopt;
    return std::string(value.get());
}

void IniStore::Set(const std::string& section, const std::string& key, const std::optional<std::string>& value) {
    SetKeys(path_.c_str(), {{section, key, value}});
    pending_ = PendingSettingsText(path_.c_str(), text_);
}

void IniStore::DeleteSection(const std::string& section) {
    SetKeys(path_.c_str(), {{section, std::nullopt, std::nullopt}});
    pending_ = PendingSettingsText(path_.c_str(), text_);
}

bool IniStore::HasSection(const std::string& section) const {
    if (pending_) return HasIniSection(text_, section);
    char names[4];
    return GetPrivateProfileStringA(section.c_str(), nullptr, "", names, sizeof names, path_.c_str()) > 0;
}

bool UpdateRms(const std::function<void(KeyStore&)>& change) {
    const std::string path = RmsPath();
    if (path.empty()) return false;
    std::string::size_type slash = path.find_last_of('\\');
    if (slash != std::string::npos) CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);

    // The change is worked out on the file as it will be, kept writes
    // included, so it lands after them.
    std::string text;
    if (!PendingSettingsText(path.c_str(), text) && !ReadFileBytes(path.c_str(), text)) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            // There but not readable now: list positions worked out from
            // nothing would overwrite reminders.
            TellSaveRefused(path);
            return false;
        }
        text.clear();
    }
    EditedText edited(text);
    change(edited);
    return SetKeys(path.c_str(), edited.edits());
}
