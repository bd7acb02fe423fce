// Paths relative to the program folder.
#pragma once

// Longest path the helpers build; longer results are cut.
enum { KV_PATH_BUFFER = 1000 };

// New heap path: the running program's folder (with a trailing backslash),
// then fold + "\\" when given, then file, then ext. The caller frees it.
char* CreatePathFile(const char* fold, const char* file, const char* ext);

// 1 when path names an existing, online folder; also makes it the current
// folder, which later file searches rely on.
int chdir_access(const char* path);
