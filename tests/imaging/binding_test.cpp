// The host's image binding with the shipped modules in Tool\ beside this
// program, as Dravonel.exe has them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "imaging_support.h"
#include "kvimagefunc.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);

class Binding : public ::testing::Test {
protected:
    void SetUp() override { hMyDllFuncInit(); }
    void TearDown() override { FreeImageModules(); }
    ComScope com;
};

TEST_F(Binding, BindsEveryModuleOfTheToolFolder) {
    ASSERT_TRUE(hPixGdipDllFunc && hPixCtxDllFunc && hPixOleDllFunc);
    for (int slot = 0; slot < KV_SLOTS; ++slot)
        EXPECT_TRUE(pLoadPicture[slot] && pStretchImg[slot] && pReleaseImg[slot]) << "slot " << slot;
    EXPECT_EQ(reinterpret_cast<void*>(pSavePicture),
              reinterpret_cast<void*>(GetProcAddress(hPixOleDllFunc, KV_EXPORT_SAVEPICTURE)));
    EXPECT_EQ(reinterpret_cast<void*>(pScaleBitmap),
              reinterpret_cast<void*>(GetProcAddress(hPixOleDllFunc, KV_EXPORT_SCALEBITMAP)));
}

TEST_F(Binding, PngLoadsThroughSlotZero) {
    SIZE size;
    s_picture* handle = tLoadPicture(&size, TestPicture("quad.png").c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->module, KV_SLOT_GDIP);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 30);
    tReleaseImg(handle);
}

TEST_F(Binding, PreviewShowsThePictureFittedToTheWindow) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
    SIZE size;
    s_picture* handle = tLoadPicture(&size, TestPicture("redblue.bmp").c_str());
    ASSERT_NE(handle, nullptr);
    HBITMAP preview = nullptr;
    ConvertToSmallhBitmap(window, &preview, handle, &size, 1);
    int width = 0, height = 0;
    const std::vector<COLORREF> pixels = ReadPixels(preview, &width, &height);
    ASSERT_EQ(width, 300);
    ASSERT_EQ(height, 150);
    EXPECT_PRED3(Near, pixels[75 * 300 + 10], kRed, 8);
    EXPECT_PRED3(Near, pixels[75 * 300 + 290], kBlue, 8);
    DeleteObject(preview);
    DestroyWindow(window);
}

// The fill shows where the picture is transparent.
TEST_F(Binding, ImgToBmpLaysThePictureOnWhiteOrOnItsFrameColour) {
    SIZE size;
    s_picture* handle = tLoadPicture(&size, TestPicture("redclear.png").c_str());
    ASSERT_NE(handle, nullptr);
    SIZE target = {100, 50};
    ScopedGdiObj<HBITMAP> unframed(ImgToBmp(handle, &size, &target, 1, kGreen, 60));
    std::vector<COLORREF> pixels = ReadPixels(unframed.get());
    ASSERT_EQ(pixels.size(), 100u * 50);
    EXPECT_PRED3(Near, pixels[25 * 100 + 2], kRed, 8) << "no border with border 60 on 100 pixels";
    EXPECT_EQ(pixels[25 * 100 + 80], kWhite);

    ScopedGdiObj<HBITMAP> framed(ImgToBmp(handle, &size, &target, 1, kGreen, 5));
    pixels = ReadPixels(framed.get());
    ASSERT_EQ(pixels.size(), 100u * 50);
    EXPECT_EQ(pixels[25 * 100 + 2], kGreen);
    EXPECT_PRED3(Near, pixels[25 * 100 + 10], kRed, 8);
    EXPECT_EQ(pixels[25 * 100 + 80], kGreen);
    tReleaseImg(handle);
}

// GDI+ keeps a thread running once started; freeing the modules at exit must
// not unload gdiplus.dll from under it.
TEST_F(Binding, FreeingTheModulesLeavesAStartedGdiplusLoaded) {
    SIZE size;
    tReleaseImg(tLoadPicture(&size, TestPicture("quad.png").c_str()));
    ASSERT_NE(GetModuleHandleA("gdiplus.dll"), nullptr);
    FreeImageModules();
    EXPECT_NE(GetModuleHandleA("gdiplus.dll"), nullptr);
}

// Runs in a child started without gdiplus.dll (see the test below).
TEST(BindingWithoutGdiplus, DISABLED_InChild) {
    ComScope com;
    ASSERT_EQ(LoadLibraryA("gdiplus.dll"), nullptr) << "the override did not take effect";
    hMyDllFuncInit();
    EXPECT_EQ(hPixGdipDllFunc, nullptr);
    EXPECT_EQ(pLoadPicture[KV_SLOT_GDIP], nullptr);
    for (const char* file : {"quad.bmp", "quad.jpg", "quad.gif"}) {
        SIZE size = {0, 0};
        s_picture* handle = tLoadPicture(&size, TestPicture(file).c_str());
        ASSERT_NE(handle, nullptr) << file;
        EXPECT_GT(handle->module, KV_SLOT_GDIP) << file;
        EXPECT_EQ(size.cx, 40) << file;
        EXPECT_EQ(size.cy, 30) << file;
        Canvas canvas(40, 30, kWhite);
        tStretchImg(handle, canvas.dc, 0, 0, 40, 30, 0, 0, 40, 30, SRCCOPY);
        EXPECT_PRED3(Near, canvas.Pixels()[5 * 40 + 5], kRed, 40) << file;
        tReleaseImg(handle);
    }
    FreeImageModules();
}

TEST(BindingWithoutGdiplus, PicturesLoadThroughTheLaterSlots) {
    if (!RunningOnWine()) GTEST_SKIP() << "only Wine can hide gdiplus.dll from one program";
    EXPECT_EQ(RunSelfWithoutGdiplus("BindingWithoutGdiplus.DISABLED_InChild"), 0);
}

}  // namespace
