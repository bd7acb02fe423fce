// The informer's command-line switches: "/uo", "/ui", "/us", "/up" and "/"
// followed by an informer's name. Standard library only.
#pragma once

#include <string>
#include <vector>

struct InformerSwitches {
    bool updateAll = false;       // "/uo"
    bool updateEnabled = false;   // "/ui"
    bool weatherAndOpen = false;  // "/us"
    bool weatherOnly = false;     // "/up"
    std::vector<size_t> named;    // indices of the informers named as "/name"
    std::string rest;             // the line without the switches, blanks trimmed
    bool found() const { return updateAll || updateEnabled || weatherAndOpen || weatherOnly || !named.empty(); }
};

// Every switch is removed wherever it occurs (a plain, case-sensitive
// substring search, as the host treats its own). Longer switches go first,
// so "/weather2" is not taken for "/weather" followed by "2"; informers of
// the same name are all named.
InformerSwitches ParseInformerSwitches(const std::string& line, const std::vector<std::string>& names);
