#include "base/skipped_modules.h"

#include <windows.h>

namespace {

std::vector<SkippedModule> skipped;

}  // namespace

bool ModuleOfOwnKind(const std::string& path) {
    const ModuleKind kind = ModuleKindOfFile(path.c_str());
    if (kind == ModuleKind::NotAProgram || kind == OwnModuleKind()) return true;
    for (const SkippedModule& module : skipped)
        if (lstrcmpiA(module.path.c_str(), path.c_str()) == 0) return false;
    skipped.push_back({path, kind});
    return false;
}

const std::vector<SkippedModule>& SkippedModules() { return skipped; }

std::string SkippedModuleLine(const std::string& format, const std::string& path, const std::string& moduleKind,
                              const std::string& ownKind) {
    const std::string* values[] = {&path, &moduleKind, &ownKind};
    std::string line;
    size_t from = 0, used = 0;
    for (size_t at; used < 3 && (at = format.find("%s", from)) != std::string::npos; from = at + 2) {
        line.append(format, from, at - from);
        line += *values[used++];
    }
    line.append(format, from, std::string::npos);
    return line;
}
