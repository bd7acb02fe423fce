// The host's image binding against stand-in modules in Tool\ beside this
// program, which record every call: slot order, fallback, what reaches a
// module, and the picture helpers' geometry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "base/globals.h"
#include "engine/image_binding.h"
#include "res/ids_lists.h"
#include "fake_loader.h"
#include "imaging_support.h"
#include "procaddress.h"
#include "program_folder.h"
#include "scopedwin.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0);

std::string Text(const RECT& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
}

class FakeBinding : public ::testing::Test {
protected:
    void SetUp() override {
        hMyDllFuncInit();
        const HMODULE modules[KV_SLOTS] = {hPixGdipDllFunc, hPixCtxDllFunc, hPixOleDllFunc};
        for (int slot = 0; slot < KV_SLOTS; ++slot) {
            auto stateOf = GetProcAddressAs<FakeStateFunction>(modules[slot], "FakeState");
            ASSERT_TRUE(stateOf) << "slot " << slot << " not bound";
            state[slot] = stateOf();
            memset(state[slot], 0, sizeof *state[slot]);
            state[slot]->size = SIZE{100, 50};
        }
        picture = folder.file("pic.jpg");
        ASSERT_TRUE(WriteTextFile(picture, "stands for a picture"));
    }
    void TearDown() override { FreeImageModules(); }

    void Accept(int slot, const char* pattern) { lstrcpynA(state[slot]->accept, pattern, sizeof state[slot]->accept); }
    int Loads() const { return state[0]->loads * 100 + state[1]->loads * 10 + state[2]->loads; }

    FakeLoaderState* state[KV_SLOTS] = {};
    ProgramFolder folder{false};
    std::string picture;
};

TEST_F(FakeBinding, SlotsAreTriedInOrderAndThePictureStaysWithItsModule) {
    Accept(1, "pic");
    Accept(2, "pic");
    SIZE size = {0, 0};
    s_picture* handle = tLoadPicture(&size, picture.c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->module, 1);
    EXPECT_EQ(Loads(), 110) << "slot 0 refused, slot 1 loaded, slot 2 was not asked";
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 50);

    Canvas canvas(10, 10, kWhite);
    tStretchImg(handle, canvas.dc, 1, 2, 3, 4, 5, 6, 7, 8, SRCPAINT);
    EXPECT_EQ(state[0]->draws + state[2]->draws, 0);
    ASSERT_EQ(state[1]->draws, 1);
    EXPECT_EQ(state[1]->lastDrawn, handle->picture);
    EXPECT_EQ(Text(state[1]->lastTarget), "1 2 3 4");
    EXPECT_EQ(Text(state[1]->lastSource), "5 6 7 8");
    EXPECT_EQ(state[1]->lastRop, static_cast<DWORD>(SRCPAINT));

    void* object = handle->picture;
    tReleaseImg(handle);
    EXPECT_EQ(state[0]->releases + state[2]->releases, 0);
    EXPECT_EQ(state[1]->releases, 1);
    EXPECT_EQ(state[1]->lastReleased, object);

    Accept(0, "pic");
    handle = tLoadPicture(&size, picture.c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->module, 0);
    tReleaseImg(handle);

    Accept(0, "");
    Accept(1, "");
    Accept(2, "");
    size = {9, 9};
    EXPECT_EQ(tLoadPicture(&size, picture.c_str()), nullptr);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);

    tStretchImg(nullptr, canvas.dc, 0, 0, 1, 1, 0, 0, 1, 1, SRCCOPY);
    tReleaseImg(nullptr);
    EXPECT_EQ(state[0]->draws + state[1]->draws + state[2]->draws, 1);
    EXPECT_EQ(state[0]->releases + state[1]->releases + state[2]->releases, 2);
}

TEST_F(FakeBinding, AMissingLocalFileIsRefusedBeforeAnyModuleIsAsked) {
    for (int slot = 0; slot < KV_SLOTS; ++slot) Accept(slot, ".");
    SIZE size = {9, 9};
    EXPECT_EQ(tLoadPicture(&size, folder.file("gone.jpg").c_str()), nullptr);
    EXPECT_EQ(tLoadPicture(&size, "%KV_NO_SUCH_VARIABLE%\\a.jpg"), nullptr);
    EXPECT_EQ(tLoadPicture(&size, nullptr), nullptr);
    EXPECT_EQ(Loads(), 0);
    EXPECT_EQ(size.cx, 0);
}

TEST_F(FakeBinding, AnOfflineFileIsRefusedBeforeAnyModuleIsAsked) {
    Accept(0, "pic");
    SetFileAttributesA(picture.c_str(), FILE_ATTRIBUTE_OFFLINE);
    if (!(GetFileAttributesA(picture.c_str()) & FILE_ATTRIBUTE_OFFLINE))
        GTEST_SKIP() << "Wine keeps no offline attribute on this file system";
    SIZE size;
    EXPECT_EQ(tLoadPicture(&size, picture.c_str()), nullptr);
    EXPECT_EQ(Loads(), 0);
}

TEST_F(FakeBinding, UrlsAndExpandedPathsReachTheModules) {
    SetEnvironmentVariableA("KV_TEST_PICTURES", folder.path().c_str());
    SetEnvironmentVariableA("KV_TEST_FTP", "ftp://example.net");
    Accept(1, "pic");
    SIZE size;
    s_picture* handle = tLoadPicture(&size, "%KV_TEST_PICTURES%\\pic.jpg");
    ASSERT_NE(handle, nullptr);
    EXPECT_STREQ(state[1]->lastPath, picture.c_str());
    tReleaseImg(handle);

    for (const char* url : {"http://example.net/sea.jpg", "ftp://example.net/sea.jpg"}) {
        EXPECT_EQ(tLoadPicture(&size, url), nullptr);
        EXPECT_STREQ(state[2]->lastPath, url) << "every slot was asked in turn";
    }
    EXPECT_EQ(tLoadPicture(&size, "%KV_TEST_FTP%/sea.jpg"), nullptr);
    EXPECT_STREQ(state[2]->lastPath, "ftp://example.net/sea.jpg");
    EXPECT_EQ(Loads(), 110 + 333);
}

TEST_F(FakeBinding, SaveAndScaleAreBoundFromPixOleOnly) {
    ASSERT_TRUE(pSavePicture && pScaleBitmap);
    // Modules made before the banded scaler and pixel copies bind without them.
    EXPECT_FALSE(pScaleRows);
    for (int slot = 0; slot < KV_SLOTS; ++slot) EXPECT_FALSE(pReducedImgSize[slot] || pCopyImgPixels[slot]);
    EXPECT_EQ(pSavePicture("x.bmp", nullptr), 102);
    EXPECT_EQ(reinterpret_cast<void*>(pScaleBitmap),
              reinterpret_cast<void*>(GetProcAddress(hPixOleDllFunc, KV_EXPORT_SCALEBITMAP)));
}

TEST_F(FakeBinding, ModulesAreFreedFromTheLastSlotToTheFirst) {
    SetEnvironmentVariableA("FAKE_UNLOAD_ORDER", "");
    FreeImageModules();
    char order[16] = "";
    GetEnvironmentVariableA("FAKE_UNLOAD_ORDER", order, sizeof order);
    EXPECT_STREQ(order, "210");
    EXPECT_FALSE(hPixGdipDllFunc || hPixCtxDllFunc || hPixOleDllFunc || pSavePicture || pScaleBitmap);
    for (int slot = 0; slot < KV_SLOTS; ++slot) EXPECT_FALSE(pLoadPicture[slot] || pStretchImg[slot] || pReleaseImg[slot]);
}

// The ImgToBmp cases draw nothing (the fake draws nothing), so every pixel
// shows the fill, and the fake tells where the picture would have gone.
struct FrameCase {
    SIZE target;
    int frame, border;
    RECT expectedPlace;  // x, y, cx, cy
    COLORREF expectedFill;
};

TEST_F(FakeBinding, ImgToBmpFramesOnlyWhenTheBorderLeavesRoom) {
    Accept(0, "pic");
    SIZE size;
    s_picture* handle = tLoadPicture(&size, picture.c_str());
    ASSERT_NE(handle, nullptr);
    for (const FrameCase& c : {FrameCase{{100, 50}, 1, 60, {0, 0, 100, 50}, kWhite},
                               FrameCase{{100, 80}, 1, 10, {10, 10, 80, 60}, kRed},
                               FrameCase{{100, 80}, 0, 10, {0, 0, 100, 80}, kWhite},
                               FrameCase{{100, 80}, 1, 0, {0, 0, 100, 80}, kWhite},
                               FrameCase{{100, 20}, 1, 15, {0, 0, 100, 20}, kWhite}}) {
        SCOPED_TRACE("frame " + std::to_string(c.frame) + " border " + std::to_string(c.border) + " height " +
                     std::to_string(c.target.cy));
        SIZE target = c.target;
        ScopedGdiObj<HBITMAP> bitmap(ImgToBmp(handle, &size, &target, c.frame, kRed, c.border));
        ASSERT_TRUE(bitmap);
        int width = 0, height = 0;
        const std::vector<COLORREF> pixels = ReadPixels(bitmap.get(), &width, &height);
        EXPECT_EQ(width, c.target.cx);
        EXPECT_EQ(height, c.target.cy);
        EXPECT_EQ(pixels, std::vector<COLORREF>(pixels.size(), c.expectedFill));
        EXPECT_EQ(Text(state[0]->lastTarget), Text(c.expectedPlace));
        EXPECT_EQ(Text(state[0]->lastSource), "0 0 100 50") << "always the whole picture";
        EXPECT_EQ(state[0]->lastRop, static_cast<DWORD>(SRCCOPY));
    }
    ScopedGdiObj<HBITMAP> natural(ImgToBmp(handle, &size, nullptr, 0, 0, 0));
    EXPECT_EQ(BitmapSize(natural.get()).cx, 100);
    EXPECT_EQ(BitmapSize(natural.get()).cy, 50);
    tReleaseImg(handle);
}

// A lists page with its size text, and a 300 x 300 preview window.
class Preview : public FakeBinding {
protected:
    void SetUp() override {
        FakeBinding::SetUp();
        hFile = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr, nullptr, nullptr);
        sizeText = CreateWindowExA(0, "STATIC", "untouched", WS_CHILD, 0, 0, 100, 20, hFile,
                                   reinterpret_cast<HMENU>(IDPICSIZE), nullptr, nullptr);
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        RECT client;
        GetClientRect(window, &client);
        ASSERT_EQ(client.right, 300);
        ASSERT_EQ(client.bottom, 300);
        Accept(0, "pic");
    }
    void TearDown() override {
        if (preview) DeleteObject(preview);
        DestroyWindow(window);
        DestroyWindow(hFile);
        hFile = nullptr;
        FakeBinding::TearDown();
    }
    SIZE Show(SIZE pictureSize, int showSize) {
        state[0]->size = pictureSize;
        SIZE size;
        s_picture* handle = tLoadPicture(&size, picture.c_str());
        if (!handle) return SIZE{-1, -1};
        const int released = state[0]->releases;
        ConvertToSmallhBitmap(window, &preview, handle, &size, showSize);
        EXPECT_EQ(state[0]->releases, released + 1) << "the handle is released";
        return BitmapSize(preview);
    }
    std::string SizeText() {
        char text[64] = "";
        GetWindowTextA(sizeText, text, sizeof text);
        return text;
    }
    HWND window = nullptr, sizeText = nullptr;
    HBITMAP preview = nullptr;
};

TEST_F(Preview, ShowSizeOneFitsTheWindowAndShowsTheSize) {
    HBITMAP old = CreateBitmap(4, 4, 1, 32, nullptr);
    preview = old;
    const SIZE shown = Show({100, 50}, 1);
    EXPECT_EQ(shown.cx, 300);
    EXPECT_EQ(shown.cy, 150);
    EXPECT_EQ(SizeText(), "100 x 50");
    EXPECT_EQ(GetObjectType(old), 0u) << "the previous bitmap is deleted";
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Preview, ShowSizeZeroNeverEnlargesButReduces) {
    SIZE shown = Show({100, 50}, 0);
    EXPECT_EQ(shown.cx, 100);
    EXPECT_EQ(shown.cy, 50);
    shown = Show({600, 400}, 0);
    EXPECT_EQ(shown.cx, 300);
    EXPECT_EQ(shown.cy, 200);
    EXPECT_EQ(SizeText(), "untouched");

    ConvertToSmallhBitmap(window, &preview, nullptr, nullptr, 1);
    EXPECT_EQ(preview, nullptr) << "no picture, no preview";
}

// Slot 0 depends on gdiplus.dll itself, not on whether its module loads:
// this stand-in needs no GDI+ and must still stay unbound.
TEST(FakeBindingWithoutGdiplus, DISABLED_InChild) {
    ASSERT_EQ(LoadLibraryA("gdiplus.dll"), nullptr) << "the override did not take effect";
    ASSERT_TRUE(FileExists(ThisProgramFolder() + "Tool\\PixGdip.dll"));
    hMyDllFuncInit();
    EXPECT_EQ(hPixGdipDllFunc, nullptr);
    EXPECT_FALSE(pLoadPicture[KV_SLOT_GDIP] || pStretchImg[KV_SLOT_GDIP] || pReleaseImg[KV_SLOT_GDIP]);
    EXPECT_TRUE(pLoadPicture[KV_SLOT_CTX] && pLoadPicture[KV_SLOT_OLE]);
    FreeImageModules();
}

TEST(FakeBindingWithoutGdiplus, SlotZeroStaysEmptyThoughItsModuleIsPresent) {
    if (!RunningOnWine()) GTEST_SKIP() << "only Wine can hide gdiplus.dll from one program";
    EXPECT_EQ(RunSelfWithoutGdiplus("FakeBindingWithoutGdiplus.DISABLED_InChild"), 0);
}

}  // namespace
