// Modules of the other kind in Tool\ and Plugins\. A 32-bit program cannot
// load an x64 module nor the reverse, so such a file is never handed to
// LoadLibrary: it is remembered here and named on the Plug-ins page.
#pragma once

#include <string>
#include <vector>

#include "module_kind.h"

struct SkippedModule {
    std::string path;
    ModuleKind kind;
};

// False, and the module remembered, when the file at path is a program of
// another kind than this one; true otherwise (a file that is no program at
// all is left to LoadLibrary to refuse, as before).
bool ModuleOfOwnKind(const std::string& path);
const std::vector<SkippedModule>& SkippedModules();

// format with its first three "%s" replaced by the path, the module's kind
// and this program's kind; any other text, "%" included, stays as it is.
std::string SkippedModuleLine(const std::string& format, const std::string& path, const std::string& moduleKind,
                              const std::string& ownKind);
