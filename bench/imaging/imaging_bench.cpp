// imaging_bench <Tool folder> <picture.jpg> <work folder> [<ImageMagick ms> [<ImageMagick box result.bmp>]]
//
// Times, for the big picture: loading through each module that can, drawing
// it (1:1 into a picture-sized section, as the composer does before scaling,
// and stretched to 1920 x 1080), _ScaleBitmap@16 to 1920 x 1080 and
// _SavePicture@8 of that result. With ImageMagick's time for the same
// resize-and-write it prints the ratio; with ImageMagick's box-filtered
// result it prints how far our scaling is from it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "imgload_exports.h"
#include "procaddress.h"

namespace {

const int kWidth = 1920, kHeight = 1080;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

// Median of runs, in milliseconds.
double Time(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Module {
    const char* name;
    HMODULE module = nullptr;
    LoadPictureFunction load = nullptr;
    StretchImgFunction stretch = nullptr;
    ReleaseImgFunction release = nullptr;
};

HBITMAP Section(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

void Row(const char* figure, double ms, const char* target) {
    printf("| %-52s | %9.1f ms | %-10s |\n", figure, ms, target);
}

// Mean and largest channel difference between our bitmap and a 24-bit BMP.
void CompareWith(HBITMAP ours, const char* path) {
    HBITMAP theirs = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!theirs) {
        printf("cannot read %s\n", path);
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> a(kWidth * kHeight * 4), b(kWidth * kHeight * 4);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, ours, 0, kHeight, a.data(), &info, DIB_RGB_COLORS);
    GetDIBits(screen, theirs, 0, kHeight, b.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(theirs);
    double sum = 0;
    int largest = 0, count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;
        const int difference = abs(a[i] - b[i]);
        sum += difference;
        largest = std::max(largest, difference);
        ++count;
    }
    printf("Scaled result against ImageMagick's box filter: mean difference %.2f, largest %d (of 255)\n", sum / count,
           largest);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: imaging_bench <Tool folder> <picture> <work folder> [<ImageMagick ms> [<box.bmp>]]\n");
        return 2;
    }
    const std::string tool = argv[1], picturePath = argv[2], work = argv[3];
    const double imageMagick = argc > 4 ? atof(argv[4]) : 0;
    CoInitialize(nullptr);

    Module modules[] = {{"PixGdip"}, {"PixCtx"}, {"PixOle"}};
    for (Module& m : modules) {
        m.module = LoadLibraryA((tool + "\\" + m.name + ".dll").c_str());
        m.load = GetProcAddressAs<LoadPictureFunction>(m.module, KV_EXPORT_LOADPICTURE);
        m.stretch = GetProcAddressAs<StretchImgFunction>(m.module, KV_EXPORT_STRETCHIMG);
        m.release = GetProcAddressAs<ReleaseImgFunction>(m.module, KV_EXPORT_RELEASEIMG);
    }
    HMODULE ole = modules[2].module;
    auto scale = GetProcAddressAs<ScaleBitmapFunction>(ole, KV_EXPORT_SCALEBITMAP);
    auto save = GetProcAddressAs<SavePictureFunction>(ole, KV_EXPORT_SAVEPICTURE);
    if (!scale || !save) {
        fprintf(stderr, "PixOle.dll with its exports not found in %s\n", tool.c_str());
        return 1;
    }

    printf("| %-52s | %12s | %-10s |\n|---|---|---|\n", "Figure", "Time", "Target");
    HBITMAP full = nullptr;
    SIZE size = {0, 0};
    for (Module& m : modules) {
        if (!m.load) continue;
        void* picture = nullptr;
        const double loadTime = Time(1, [&] { picture = m.load(&size, picturePath.c_str()); });
        std::string figure = std::string("load ") + std::to_string(size.cx) + " x " + std::to_string(size.cy) +
                             " JPEG, " + m.name;
        if (!picture) {
            printf("| %-52s | %12s | %-10s |\n", (std::string(m.name) + ": cannot load here").c_str(), "n/a", "");
            continue;
        }
        Row(figure.c_str(), loadTime, "platform");
        HBITMAP target = Section(size.cx, size.cy);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, target);
        Row((std::string("draw 1:1, ") + m.name).c_str(),
            Time(3, [&] { m.stretch(picture, dc, 0, 0, size.cx, size.cy, 0, 0, size.cx, size.cy, SRCCOPY); GdiFlush(); }),
            "");
        SelectObject(dc, old);
        HBITMAP screenSized = Section(kWidth, kHeight);
        old = SelectObject(dc, screenSized);
        Row((std::string("draw stretched to 1920 x 1080, ") + m.name).c_str(),
            Time(3, [&] { m.stretch(picture, dc, 0, 0, kWidth, kHeight, 0, 0, size.cx, size.cy, SRCCOPY); GdiFlush(); }),
            "");
        SelectObject(dc, old);
        DeleteObject(screenSized);
        DeleteDC(dc);
        m.release(picture);
        if (!full) full = target;
        else DeleteObject(target);
    }
    if (!full) {
        fprintf(stderr, "no module could load %s\n", picturePath.c_str());
        return 1;
    }

    HBITMAP scaled = nullptr;
    const double scaleTime = Time(5, [&] {
        if (scaled) DeleteObject(scaled);
        int width = kWidth, height = kHeight;
        scaled = scale(full, &width, &height, "Kvtemp");
    });
    Row("_ScaleBitmap@16 to 1920 x 1080 (one thread)", scaleTime, "< 150 ms");
    const std::string out = work + "\\KvBmp.bmp";
    int result = 0;
    const double saveTime = Time(10, [&] { result |= save(out.c_str(), scaled); });
    Row("_SavePicture@8 of 1920 x 1080", saveTime, "< 30 ms");
    if (result) printf("_SavePicture@8 failed\n");
    if (imageMagick > 0) {
        Row("ImageMagick decode + resize + write (from run.sh)", imageMagick, "");
        printf("| %-52s | %12.2f | %-10s |\n", "ours (scale + save) / ImageMagick", (scaleTime + saveTime) / imageMagick,
               "< 0.5");
    }
    if (argc > 5) CompareWith(scaled, argv[5]);
    DeleteObject(scaled);
    DeleteObject(full);
    CoUninitialize();
    return result ? 1 : 0;
}
