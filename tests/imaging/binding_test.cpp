// The host's image binding with the shipped modules in Tool\ beside this
// program, as Dravonel.exe has them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/image_binding.h"
#include "imaging_support.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kWhite = RGB(255, 255, 255);

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
    // The later, optional exports.
    EXPECT_EQ(reinterpret_cast<void*>(pScaleRows),
              reinterpret_cast<void*>(GetProcAddress(hPixOleDllFunc, KV_EXPORT_SCALEROWS)));
    EXPECT_TRUE(pReducedImgSize[KV_SLOT_GDIP] && pCopyImgPixels[KV_SLOT_GDIP]);
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
