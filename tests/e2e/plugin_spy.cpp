#include "plugin_spy.h"

#include <cstdio>
#include <cstdlib>

#include "started_process.h"

namespace {

std::string Samples() { return PLUGIN_SAMPLES; }

// "key=value" out of a dump line.
std::string Field(const std::string& line, const std::string& key) {
    const size_t at = line.find(" " + key + "=");
    if (at == std::string::npos) return std::string();
    const size_t begin = at + key.size() + 2;
    if (key == "text") return line.substr(begin);
    return line.substr(begin, line.find(' ', begin) - begin);
}

void* Pointer(const std::string& text) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(strtoull(text.c_str(), nullptr, 16)));
}

}  // namespace

bool InstallSample(const ProgramFolder& folder, const std::string& name, const char* module) {
    CreateDirectoryA(folder.file("Plugins").c_str(), nullptr);
    return CopyFileA((Samples() + "\\" + module).c_str(), folder.file("Plugins\\" + name + ".dll").c_str(), FALSE) != 0;
}

void RemoveDistPlugins(const ProgramFolder& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.file("Plugins\\*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileA(folder.file(std::string("Plugins\\") + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

void ConfigureSample(const ProgramFolder& folder, const std::string& name, const char* section, const char* key,
                     const char* value) {
    WritePrivateProfileStringA(section, key, value, folder.file("Plugins\\" + name + ".ini").c_str());
}

std::vector<std::string> CallLines(const ProgramFolder& folder) {
    std::string text;
    ReadTextFile(folder.file("Plugins\\calls.log"), text);
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end - begin));
    return lines;
}

int CountLines(const std::vector<std::string>& lines, const std::string& line) {
    int count = 0;
    for (const std::string& each : lines) count += each == line;
    return count;
}

int LineIndex(const std::vector<std::string>& lines, const std::string& line) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == line) return static_cast<int>(i);
    return -1;
}

const MenuEntry* MenuDump::Find(const std::string& text) const {
    for (const MenuEntry& item : items)
        if (!item.separator && item.text == text) return &item;
    return nullptr;
}

bool HandOver(const ProgramFolder& folder, const std::string& line) {
    StartedProcess second(folder.path(), "Dravonel.exe", line);
    return second.WaitForExit(20000) && second.exitCode() == 0;
}

bool DumpMainMenu(const ProgramFolder& folder, const std::string& name, MenuDump& dump) {
    const size_t before = CallLines(folder).size();
    if (!HandOver(folder, "/sample-dump")) return false;
    const std::vector<std::string> lines = CallLines(folder);
    dump = MenuDump();
    const std::string prefix = name + " ";
    for (size_t i = before; i < lines.size(); ++i) {
        if (lines[i].compare(0, prefix.size(), prefix) != 0) continue;
        const std::string line = lines[i].substr(prefix.size());
        if (line.compare(0, 10, "service 14") == 0) dump.menu = static_cast<HMENU>(Pointer(Field(line, "menu")));
        else if (line.compare(0, 10, "service 22") == 0) dump.owner = static_cast<HWND>(Pointer(Field(line, "owner")));
        else if (line.compare(0, 5, "item ") == 0)
            dump.items.push_back({static_cast<unsigned>(atoi(Field(line, "id").c_str())), Field(line, "separator") == "1",
                                  Pointer(Field(line, "submenu")) != nullptr, Field(line, "checked") == "1",
                                  Field(line, "text")});
    }
    return dump.menu && dump.owner && !dump.items.empty();
}

void ChooseMenuItem(const MenuDump& dump, unsigned id) {
    PostMessageA(dump.owner, WM_MENUSELECT, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(dump.menu));
    PostMessageA(dump.owner, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}
