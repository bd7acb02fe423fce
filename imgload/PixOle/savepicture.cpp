// The wallpaper writer: a 24-bit bottom-up BI_RGB file, the one bitmap form
// every version of the desktop accepts. It is written beside the target and
// moved over it, so a failed save leaves the old file as it was.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "bitmappixels.h"
#include "imgload_exports.h"
#include "scopedwin.h"

namespace {

enum SaveResult { kSaved = 0, kBadArguments = 1, kNoPixels = 2, kCannotWrite = 3, kCannotReplace = 4 };

size_t Stride24(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3); }

bool WriteAll(HANDLE file, const uint8_t* bytes, size_t size) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// Headers, then the rows bottom first, converted into a block of about
// 256 KB at a time: no second copy of a large picture in memory.
bool WriteBmp(HANDLE file, const BitmapPixels& pixels) {
    const int width = pixels.width(), height = pixels.height();
    const size_t stride = Stride24(width);
    const size_t headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const size_t imageSize = stride * height;

    uint8_t header[sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)];
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(headers + imageSize);
    fileHeader.bfOffBits = static_cast<DWORD>(headers);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(imageSize);
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;  // 96 dpi
    memcpy(header, &fileHeader, sizeof fileHeader);
    memcpy(header + sizeof fileHeader, &info, sizeof info);
    if (!WriteAll(file, header, sizeof header)) return false;

    const int rowsPerBlock = static_cast<int>(std::max<size_t>(1, (256 * 1024) / stride));
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[stride * rowsPerBlock]);
    if (!block) return false;
    for (int y = 0; y < height;) {
        const int rows = std::min(rowsPerBlock, height - y);
        for (int r = 0; r < rows; ++r, ++y) {
            const uint8_t* from = pixels.row(height - 1 - y);
            uint8_t* to = block.get() + stride * r;
            for (int x = 0; x < width; ++x, from += 4, to += 3) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
            }
            // Row padding is part of the file: never leave it undefined.
            for (size_t pad = static_cast<size_t>(width) * 3; pad < stride; ++pad) *to++ = 0;
        }
        if (!WriteAll(file, block.get(), stride * rows)) return false;
    }
    return true;
}

// A new, empty file beside path; its name in temporary.
ScopedHandle CreateSibling(const std::string& path, std::string& temporary) {
    static unsigned counter;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[40];
        snprintf(suffix, sizeof suffix, ".%lx-%x.tmp", GetCurrentProcessId(), ++counter);
        temporary = path + suffix;
        ScopedHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (file.valid()) return file;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    temporary.clear();
    return ScopedHandle();
}

}  // namespace

extern "C" int WINAPI SavePicture(const char* path, HBITMAP bitmap) {
    if (!path || !*path || !bitmap) return kBadArguments;
    // A read-only file is how the user keeps one: refuse before writing.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return kCannotReplace;

    BitmapPixels pixels;
    if (!pixels.Read(bitmap)) return kNoPixels;

    std::string temporary;
    ScopedHandle file = CreateSibling(path, temporary);
    if (!file.valid()) return kCannotWrite;
    const bool complete = WriteBmp(file.get(), pixels);
    file.reset();
    if (!complete) {
        DeleteFileA(temporary.c_str());
        return kCannotWrite;
    }
    if (!MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return kCannotReplace;
    }
    return kSaved;
}
