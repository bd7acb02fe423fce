#include "file_replace.h"

#include "scopedwin.h"

namespace {

WriteFileFunction writeFile = WriteFile;

// A reader that has the file open for a moment makes the replacement fail;
// it is tried again for about a second.
const int kMoveAttempts = 20;
const DWORD kMoveRetryMilliseconds = 50;

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = bytes.size() - done > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size() - done);
        DWORD written = 0;
        if (!writeFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

}  // namespace

WriteFileFunction SetWriteFileFunction(WriteFileFunction function) {
    WriteFileFunction previous = writeFile;
    writeFile = function ? function : WriteFile;
    return previous;
}

bool ReadFileBytes(const char* path, std::string& bytes) {
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return bytes.empty() ||
           (ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
}

bool ReplaceFileBytes(const char* path, const std::string& bytes) {
    return ReplaceFileBlocks(path, [&](const BlockSink& put) { return put(bytes); });
}

bool ReplaceFileBlocks(const char* path, const std::function<bool(const BlockSink&)>& write) {
    const DWORD attributes = GetFileAttributesA(path);
    // A read-only file is how the user keeps one as it is.
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const std::string temporary = std::string(path) + ".new";
    {
        ScopedHandle file(
            CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        const BlockSink put = [&](const std::string& block) { return WriteAll(file.get(), block); };
        if (!write(put) || !FlushFileBuffers(file.get())) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileA(temporary.c_str());
            SetLastError(error);
            return false;
        }
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD error = GetLastError();
        if (attempt >= kMoveAttempts || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
            DeleteFileA(temporary.c_str());
            SetLastError(error);
            return false;
        }
        Sleep(kMoveRetryMilliseconds);
    }
}
