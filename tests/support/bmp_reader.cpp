#include "bmp_reader.h"

#include <cstring>

#include "program_folder.h"

bool ParseBmp(const std::string& bytes, BmpImage& image) {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    if (bytes.size() < sizeof file + sizeof info) return false;
    memcpy(&file, bytes.data(), sizeof file);
    memcpy(&info, bytes.data() + sizeof file, sizeof info);
    if (file.bfType != 0x4D42 || info.biWidth <= 0 || info.biHeight == 0) return false;
    if (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS) return false;
    const int bits = info.biBitCount;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    const bool topDown = info.biHeight < 0;
    image.width = info.biWidth;
    image.height = topDown ? -info.biHeight : info.biHeight;
    image.bitsPerPixel = bits;
    const size_t stride = ((static_cast<size_t>(image.width) * bits + 31) / 32) * 4;
    if (file.bfOffBits > bytes.size() || bytes.size() - file.bfOffBits < stride * image.height) return false;

    const unsigned char* palette = reinterpret_cast<const unsigned char*>(bytes.data()) + sizeof file + info.biSize;
    const size_t paletteEntries = info.biClrUsed ? info.biClrUsed : (bits == 8 ? 256 : 0);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data()) + file.bfOffBits;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = data + stride * (topDown ? y : image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            COLORREF colour = 0;
            if (bits == 8) {
                size_t index = row[x];
                if (index >= paletteEntries) return false;
                const unsigned char* entry = palette + index * 4;
                colour = RGB(entry[2], entry[1], entry[0]);
            } else if (bits == 16) {
                unsigned value = row[x * 2] | (row[x * 2 + 1] << 8);
                auto widen = [](unsigned five) { return static_cast<BYTE>((five << 3) | (five >> 2)); };
                colour = RGB(widen((value >> 10) & 31), widen((value >> 5) & 31), widen(value & 31));
            } else {
                const unsigned char* p = row + x * (bits / 8);
                colour = RGB(p[2], p[1], p[0]);
            }
            image.pixels[static_cast<size_t>(y) * image.width + x] = colour;
        }
    }
    return true;
}

bool ReadBmpFile(const std::string& path, BmpImage& image) {
    std::string bytes;
    return ReadTextFile(path, bytes) && ParseBmp(bytes, image);
}

bool WriteBmpFile(const std::string& path, const BmpImage& image) {
    const size_t stride = ((static_cast<size_t>(image.width) * 24 + 31) / 32) * 4;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + stride * image.height);
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(stride, '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            COLORREF colour = image.at(x, y);
            row[x * 3] = static_cast<char>(GetBValue(colour));
            row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
            row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
        }
        bytes += row;
    }
    return WriteTextFile(path, bytes);
}

BmpImage SolidImage(int width, int height, COLORREF colour) {
    BmpImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    image.pixels.assign(static_cast<size_t>(width) * height, colour);
    return image;
}
