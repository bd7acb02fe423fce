// The prefix's Windows and system folders and the screen savers in them.
#pragma once

#include <string>
#include <vector>

std::string WindowsFolder();
std::string SystemFolder();
// Every "*.scr" of a folder, as the system lists them.
std::vector<std::string> SaverFiles(const std::string& folder);
// The short form of a path, or the path itself when it has none.
std::string ShortPath(const std::string& path);
