#include "kept_registry.h"

KeptValue::KeptValue(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name ? name : "") {
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(opened, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        bytes_.resize(size);
        present_ = RegQueryValueExA(opened, name, nullptr, &type_, bytes_.data(), &size) == ERROR_SUCCESS;
        bytes_.resize(size);
    }
    RegCloseKey(opened);
}

KeptValue::~KeptValue() {
    HKEY opened;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
        return;
    const char* name = name_.empty() ? nullptr : name_.c_str();
    if (present_) RegSetValueExA(opened, name, 0, type_, bytes_.data(), static_cast<DWORD>(bytes_.size()));
    else RegDeleteValueA(opened, name);
    RegCloseKey(opened);
}

ClassesKeysTrace::~ClassesKeysTrace() {
    for (auto made = absent_.rbegin(); made != absent_.rend(); ++made) RegDeleteKeyA(HKEY_CLASSES_ROOT, made->c_str());
}

void ClassesKeysTrace::NoteWithShell(const std::string& key) {
    for (const std::string& child : {key, key + "\\shell"})
        if (!ClassesKeyExists(child)) absent_.push_back(child);
}

void ClassesKeysTrace::NotePictureTypesAndFolders() {
    const char* const pictures[][2] = {{".gif", "giffile"}, {".bmp", "bmpfile"}, {".ico", "icofile"},
                                       {".jpg", "jpegfile"}, {".jpeg", "jpegfile"}, {".emf", "emffile"},
                                       {".wmf", "wmffile"}, {".png", "pngfile"}};
    for (const auto& picture : pictures) {
        if (!ClassesKeyExists(picture[0])) absent_.push_back(picture[0]);
        const std::string type = ClassesValue(picture[0]);
        if (type != "<absent>" && !type.empty()) NoteWithShell(type);
        NoteWithShell(picture[1]);
    }
    NoteWithShell("Directory");
}

std::string ClassesValue(const std::string& key, const char* name) {
    return RegString(HKEY_CLASSES_ROOT, key.c_str(), name);
}

bool ClassesKeyExists(const std::string& key) {
    HKEY opened;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::string RegString(HKEY root, const char* key, const char* name) {
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return "<absent>";
    char value[1024] = "";
    DWORD size = sizeof value - 1;
    LONG status = RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    return status == ERROR_SUCCESS ? std::string(value) : "<absent>";
}

void SetRegString(HKEY root, const char* key, const char* name, const std::string& value) {
    HKEY opened;
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) return;
    if (value == "<absent>") RegDeleteValueA(opened, name);
    else RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
}
