// Saving files the user would miss: the bytes go to a temporary file beside
// the file, which then replaces it in one step, so a crash, a full disk or a
// file kept read-only leaves the old file whole.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The whole file; false when it cannot be opened or read.
bool ReadFileBytes(const char* path, std::string& bytes);

// Replaces the file by the bytes (creating it when missing). False when the
// file is read-only or anything failed on the way; the old file is then
// untouched and no temporary file is left. The system's last error tells why.
bool ReplaceFileBytes(const char* path, const std::string& bytes);

// The same with the bytes handed over a block at a time: write() calls its
// sink for each block and returns false to give up (nothing is replaced).
typedef std::function<bool(const std::string& block)> BlockSink;
bool ReplaceFileBlocks(const char* path, const std::function<bool(const BlockSink&)>& write);

// The system call that writes the bytes, replaceable so tests can stand in a
// full disk; none restores the system's own. Returns the previous function.
typedef BOOL(WINAPI* WriteFileFunction)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
WriteFileFunction SetWriteFileFunction(WriteFileFunction function);
