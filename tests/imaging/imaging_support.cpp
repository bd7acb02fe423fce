#include "imaging_support.h"

#include <cstdlib>
#include <cstring>

#include "procaddress.h"
#include "program_folder.h"
#include "scopedwin.h"

std::string TestPicture(const char* name) { return std::string(IMAGING_PICTURES) + "\\" + name; }

std::string ThisProgramFolder() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string ShippedModule(const char* name) { return DistFolder() + "\\Tool\\" + name + ".dll"; }

LoaderModule::LoaderModule(const std::string& path) : module(LoadLibraryA(path.c_str())) {
    load = GetProcAddressAs<LoadPictureFunction>(module, KV_EXPORT_LOADPICTURE);
    stretch = GetProcAddressAs<StretchImgFunction>(module, KV_EXPORT_STRETCHIMG);
    release = GetProcAddressAs<ReleaseImgFunction>(module, KV_EXPORT_RELEASEIMG);
    save = GetProcAddressAs<SavePictureFunction>(module, KV_EXPORT_SAVEPICTURE);
    scale = GetProcAddressAs<ScaleBitmapFunction>(module, KV_EXPORT_SCALEBITMAP);
}

LoaderModule::~LoaderModule() {
    if (module) FreeLibrary(module);
}

namespace {

BITMAPINFO InfoFor(int width, int height, int bitsPerPixel, bool topDown) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// Pixels as 32-bit top-down BGRX words.
std::vector<DWORD> ToBgrx(const std::vector<COLORREF>& pixels) {
    std::vector<DWORD> words(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        words[i] = (GetRValue(pixels[i]) << 16) | (GetGValue(pixels[i]) << 8) | GetBValue(pixels[i]);
    return words;
}

}  // namespace

HBITMAP MakeSection(int width, int height, int bitsPerPixel, const std::vector<COLORREF>& pixels, bool topDown) {
    BITMAPINFO info = InfoFor(width, height, bitsPerPixel, topDown);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    std::vector<DWORD> words = ToBgrx(pixels);
    BITMAPINFO source = InfoFor(width, height, 32, true);
    ScopedGetDC screen(nullptr);
    SetDIBits(screen, bitmap, 0, height, words.data(), &source, DIB_RGB_COLORS);
    return bitmap;
}

HBITMAP MakeScreenBitmap(int width, int height, const std::vector<COLORREF>& pixels) {
    ScopedGetDC screen(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    std::vector<DWORD> words = ToBgrx(pixels);
    BITMAPINFO source = InfoFor(width, height, 32, true);
    SetDIBits(screen, bitmap, 0, height, words.data(), &source, DIB_RGB_COLORS);
    return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

std::vector<COLORREF> ReadPixels(HBITMAP bitmap, int* width, int* height) {
    const SIZE size = BitmapSize(bitmap);
    if (width) *width = size.cx;
    if (height) *height = size.cy;
    std::vector<DWORD> words(static_cast<size_t>(size.cx) * size.cy);
    BITMAPINFO info = InfoFor(size.cx, size.cy, 32, true);
    ScopedGetDC screen(nullptr);
    GdiFlush();
    if (words.empty() || GetDIBits(screen, bitmap, 0, size.cy, words.data(), &info, DIB_RGB_COLORS) != size.cy)
        return std::vector<COLORREF>();
    std::vector<COLORREF> pixels(words.size());
    for (size_t i = 0; i < words.size(); ++i)
        pixels[i] = RGB((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF);
    return pixels;
}

Canvas::Canvas(int width, int height, COLORREF fill) {
    bitmap = MakeSection(width, height, 32, std::vector<COLORREF>(static_cast<size_t>(width) * height, fill));
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
}

Canvas::~Canvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

std::vector<COLORREF> Canvas::Pixels() const {
    // Read through a second section selected nowhere.
    GdiFlush();
    DIBSECTION section;
    GetObjectA(bitmap, sizeof section, &section);
    const int width = section.dsBm.bmWidth, height = section.dsBm.bmHeight;
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const DWORD word = bits[static_cast<size_t>(height - 1 - y) * width + x];
            pixels[static_cast<size_t>(y) * width + x] = RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
        }
    return pixels;
}

bool WriteEmf(const std::string& path, int width, int height) {
    ScopedGetDC screen(nullptr);
    RECT frame = {0, 0, MulDiv(width, 2540, 96), MulDiv(height, 2540, 96)};
    HDC dc = CreateEnhMetaFileA(screen, path.c_str(), &frame, nullptr);
    if (!dc) return false;
    ScopedGdiObj<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, red.get());
    HENHMETAFILE done = CloseEnhMetaFile(dc);
    if (!done) return false;
    DeleteEnhMetaFile(done);
    return true;
}

bool WriteWmf(const std::string& path, int width, int height) {
    HDC dc = CreateMetaFileA(nullptr);
    if (!dc) return false;
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    ScopedGdiObj<HBRUSH> red(CreateSolidBrush(RGB(255, 0, 0)));
    HGDIOBJ old = SelectObject(dc, red.get());
    Rectangle(dc, 0, 0, width, height);
    SelectObject(dc, old);
    HMETAFILE done = CloseMetaFile(dc);
    if (!done) return false;
    std::string bits(GetMetaFileBitsEx(done, 0, nullptr), '\0');
    GetMetaFileBitsEx(done, static_cast<UINT>(bits.size()), &bits[0]);
    DeleteMetaFile(done);

    // The placeable ("Aldus") header: key, handle, bounding box, units per
    // inch, reserved, and the XOR of the ten words before the checksum.
    WORD header[11] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<WORD>(width), static_cast<WORD>(height), 96, 0, 0, 0};
    for (int i = 0; i < 10; ++i) header[10] ^= header[i];
    std::string file(reinterpret_cast<const char*>(header), sizeof header);
    file += bits;
    ScopedHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return out.valid() && WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written, nullptr) &&
           written == file.size();
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

int RunSelfWithoutGdiplus(const char* filter) {
    // A Windows parent cannot hand a Wine DLL override to its child through
    // the environment (Wine takes WINE* variables from its own Unix one), so
    // a copy of this program under its own name gets a per-program override.
    ProgramFolder folder(false);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    // Named after this program, so test programs running side by side do
    // not share the override.
    std::string name = strrchr(self, '\\') + 1;
    name = name.substr(0, name.size() - 4) + "-nogdiplus.exe";
    const std::string program = folder.file(name);
    if (!CopyFileA(self, program.c_str(), FALSE)) return -1;
    CopyFolder(ThisProgramFolder() + "Tool", folder.file("Tool"));

    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    ScopedRegKey overrides;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        overrides.receive(), nullptr) != ERROR_SUCCESS)
        return -1;
    RegSetValueExA(overrides.get(), "gdiplus", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);

    std::string line = "\"" + program + "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    int code = -1;
    if (CreateProcessA(program.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        ScopedHandle process(info.hProcess);
        if (WaitForSingleObject(process.get(), 120000) == WAIT_OBJECT_0) {
            DWORD exitCode = 1;
            GetExitCodeProcess(process.get(), &exitCode);
            code = static_cast<int>(exitCode);
        } else {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    return code;
}
