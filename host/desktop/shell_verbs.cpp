#include "desktop/shell_verbs.h"

#include <windows.h>

#include <cstring>

#include "scopedwin.h"

namespace {

// The picture extensions and the type each gets when it has none yet.
struct PictureType {
    const char* extension;
    const char* type;
};
const PictureType kPictureTypes[] = {
    {".gif", "giffile"}, {".bmp", "bmpfile"}, {".ico", "icofile"}, {".jpg", "jpegfile"},
    {".jpeg", "jpegfile"}, {".emf", "emffile"}, {".wmf", "wmffile"}, {".png", "pngfile"},
};
const char kFolderType[] = "Directory";

std::string VerbKey(const char* tip, int towall) {
    return std::string(tip) + (towall ? "\\shell\\DravonelTW" : "\\shell\\Dravonel");
}

void SetDefaultValue(const std::string& key, const std::string& value) {
    ScopedRegKey opened;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.receive(),
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(opened.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// The type as registered, without creating anything; empty when none.
std::string RegisteredType(const char* ext) {
    ScopedRegKey opened;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ext, 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS) return "";
    char type[1024] = "";
    DWORD size = sizeof type - 1;
    DWORD kind = 0;
    if (RegQueryValueExA(opened.get(), nullptr, nullptr, &kind, reinterpret_cast<BYTE*>(type), &size) !=
            ERROR_SUCCESS ||
        (kind != REG_SZ && kind != REG_EXPAND_SZ))
        return "";
    type[size < sizeof type ? size : sizeof type - 1] = '\0';
    return type;
}

std::string ProgramPath() {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    return program;
}

std::string VerbText(const char* shell) {
    std::string text = shell ? shell : "";
    if (text.size() > KV_VERB_TEXT_LIMIT) text.resize(KV_VERB_TEXT_LIMIT);
    return text;
}

}  // namespace

std::string VerbCommand(const std::string& program, bool towall, bool exit) {
    // Quoted, so a folder name with blanks cannot be taken for another program.
    std::string command = "\"" + program + "\" %1";
    if (towall) command += "/tw";
    if (exit) command += "/ex";
    return command;
}

char* ContexMenuTypeFileExt(const char* ext, const char* def, char* ret) {
    if (!ret) return ret;
    ret[0] = '\0';
    if (!ext || !def) return ret;
    std::string type = RegisteredType(ext);
    if (type.empty()) {
        type = def;
        SetDefaultValue(ext, type);
    }
    // A type too long for the buffer is left alone rather than cut into
    // the name of another.
    if (type.size() < KV_FILE_TYPE_SIZE) lstrcpynA(ret, type.c_str(), KV_FILE_TYPE_SIZE);
    return ret;
}

void ContexMenuFile(const char* tip, const char* shell, const char* command, int towall) {
    if (!tip || !*tip || !shell || !command) return;
    const std::string verb = VerbKey(tip, towall);
    SetDefaultValue(verb, shell);
    SetDefaultValue(verb + "\\command", command);
}

void RemoveContexMenuFile(const char* tip, int towall) {
    if (!tip || !*tip) return;
    const std::string verb = VerbKey(tip, towall);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (verb + "\\command").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, verb.c_str());
}

void ContexMenuFileTo(const char* shell, int towall, int exit) {
    const std::string text = VerbText(shell);
    if (text.empty()) return;
    const std::string command = VerbCommand(ProgramPath(), towall != 0, exit != 0);
    for (const PictureType& picture : kPictureTypes) {
        char type[KV_FILE_TYPE_SIZE];
        ContexMenuFile(ContexMenuTypeFileExt(picture.extension, picture.type, type), text.c_str(), command.c_str(),
                       towall);
    }
}

void RemoveContexMenuFileTo(int towall) {
    for (const PictureType& picture : kPictureTypes) {
        // Removing must not register types: a missing one can only have
        // had the verb under the type it would have been given.
        std::string type = RegisteredType(picture.extension);
        RemoveContexMenuFile(type.empty() ? picture.type : type.c_str(), towall);
    }
}

void ContexMenuDirectory(const char* shell, int exit) {
    const std::string text = VerbText(shell);
    if (text.empty()) return;
    ContexMenuFile(kFolderType, text.c_str(), VerbCommand(ProgramPath(), false, exit != 0).c_str(), 0);
}

void RemoveContexMenuDirectory() { RemoveContexMenuFile(kFolderType, 0); }
