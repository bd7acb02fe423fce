// PixCtx: the loading steps driven with a stand-in image-context object, the
// exports forwarding to it, and the shipped module against the system's own
// object where there is one.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "imaging_support.h"
#include "imgctxload.h"
#include "scopedwin.h"

namespace {

std::string Escaped(const char* path) {
    HeapString escaped(EscapePercent(path));
    return escaped ? escaped.get() : "<none>";
}

TEST(PixCtxEscape, EveryPercentBecomesPercent25) {
    EXPECT_EQ(Escaped("C:\\Pictures\\sea.jpg"), "C:\\Pictures\\sea.jpg");
    EXPECT_EQ(Escaped("C:\\100% sea\\%41%.jpg"), "C:\\100%25 sea\\%2541%25.jpg");
    EXPECT_EQ(Escaped("%%"), "%25%25");
    EXPECT_EQ(Escaped(""), "");
    EXPECT_EQ(Escaped(nullptr), "<none>");
}

// Reports the states it is given, one per poll, then the last one for ever.
class FakeImgCtx : public IImgCtx {
public:
    std::vector<ULONG> states = {IMGLOAD_COMPLETE};
    SIZE finalSize = {40, 30};
    HRESULT loadResult = S_OK;
    HRESULT stateResult = S_OK;
    ULONG references = 1;
    std::wstring loadedUrl;
    int loads = 0, polls = 0, clearedPolls = 0;
    std::vector<int> stretchArguments;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE Load(LPCWSTR url, DWORD) override {
        ++loads;
        loadedUrl = url;
        return loadResult;
    }
    HRESULT STDMETHODCALLTYPE SelectChanges(ULONG, ULONG, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetCallback(ImgCtxCallback, void*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Disconnect() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUpdateRects(RECT*, RECT*, LONG*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetStateInfo(ULONG* state, SIZE* size, BOOL clear) override {
        const size_t index = polls < static_cast<int>(states.size()) ? polls : states.size() - 1;
        ++polls;
        if (clear) ++clearedPolls;
        *state = states[index];
        // The size is known only once decoding has got far enough.
        *size = index + 1 == states.size() ? finalSize : SIZE{0, 0};
        return stateResult;
    }
    HRESULT STDMETHODCALLTYPE GetPalette(HPALETTE*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Draw(HDC, RECT*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Tile(HDC, POINT*, RECT*, SIZE*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE StretchBlt(HDC, int x, int y, int cx, int cy, int sx, int sy, int scx, int scy,
                                         DWORD rop) override {
        stretchArguments = {x, y, cx, cy, sx, sy, scx, scy, static_cast<int>(rop)};
        return 0x1234;
    }
};

FakeImgCtx* fake;
IImgCtx* MakeFake() { return fake; }
IImgCtx* MakeNothing() { return nullptr; }

class PixCtxLoading : public ::testing::Test {
protected:
    void SetUp() override { fake = &object; }
    IImgCtx* Load(const char* path) { return LoadImgCtxPicture(&size, path, MakeFake); }
    FakeImgCtx object;
    SIZE size = {7, 7};
};

TEST_F(PixCtxLoading, HandsTheEscapedPathOverAndWaitsForTheDecoder) {
    object.states = {0, 0x00000001, 0x00000003, IMGLOAD_COMPLETE | 0x0F};
    EXPECT_EQ(Load("C:\\50% off\\a.jpg"), &object);
    EXPECT_EQ(object.loadedUrl, L"C:\\50%25 off\\a.jpg");
    EXPECT_EQ(object.polls, 4);
    EXPECT_EQ(object.clearedPolls, 4);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 30);
    EXPECT_EQ(object.references, 1u) << "the caller gets the one reference";
}

TEST_F(PixCtxLoading, AStoppedOrFailedDecoderStillGivesAPictureOfPositiveSize) {
    for (ULONG end : {IMGLOAD_STOPPED, IMGLOAD_ERROR}) {
        object.polls = 0;
        object.states = {0, end};
        EXPECT_EQ(Load("a.gif"), &object) << std::hex << end;
        EXPECT_EQ(object.polls, 2);
    }
}

TEST_F(PixCtxLoading, NoPictureWithoutPositiveSizeAndTheObjectIsReleased) {
    struct Case {
        const char* why;
        HRESULT loadResult, stateResult;
        SIZE finalSize;
        int expectedPolls;
    };
    for (const Case& c : {Case{"load fails", E_FAIL, S_OK, {40, 30}, 0},
                          Case{"empty picture", S_OK, S_OK, {0, 30}, 1},
                          Case{"polling fails", S_OK, E_FAIL, {0, 0}, 1}}) {
        FakeImgCtx fresh;
        fresh.loadResult = c.loadResult;
        fresh.stateResult = c.stateResult;
        fresh.finalSize = c.finalSize;
        fresh.states = {IMGLOAD_ERROR};
        fake = &fresh;
        size = {7, 7};
        EXPECT_EQ(LoadImgCtxPicture(&size, "a.png", MakeFake), nullptr) << c.why;
        EXPECT_EQ(fresh.references, 0u) << c.why;
        EXPECT_EQ(fresh.polls, c.expectedPolls) << c.why;
        EXPECT_EQ(size.cx, 0) << c.why;
        EXPECT_EQ(size.cy, 0) << c.why;
    }
}

TEST_F(PixCtxLoading, APathTooLongForTheObjectIsRefusedNotCut) {
    const std::string path = "C:\\" + std::string(990, 'x') + "%%.jpg";  // fits only unescaped
    EXPECT_EQ(Load(path.c_str()), nullptr);
    EXPECT_EQ(object.loads, 0);
    EXPECT_EQ(object.references, 0u);
}

TEST_F(PixCtxLoading, NoObjectMeansNoPicture) {
    EXPECT_EQ(LoadImgCtxPicture(&size, "a.jpg", MakeNothing), nullptr);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
}

TEST(PixCtxModule, DrawingAndReleasingGoStraightToTheObject) {
    ComScope com;
    LoaderModule loader(ShippedModule("PixCtx"));
    ASSERT_TRUE(loader.stretch && loader.release);
    FakeImgCtx object;
    object.references = 2;
    EXPECT_EQ(loader.stretch(&object, nullptr, 1, 2, 3, 4, 5, 6, 7, 8, SRCINVERT), 0x1234);
    EXPECT_EQ(object.stretchArguments, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, static_cast<int>(SRCINVERT)}));
    EXPECT_EQ(loader.release(&object), 1) << "returns the references left";
}

TEST(PixCtxModule, LoadsABitmapThroughTheSystemsImageContextObject) {
    ComScope com;
    IImgCtx* probe = nullptr;
    if (FAILED(CoCreateInstance(CLSID_KvImgCtx, nullptr, CLSCTX_INPROC_SERVER, IID_KvImgCtx,
                                reinterpret_cast<void**>(&probe)))) {
        // Then the module must say so with a null picture (checked here), and
        // decoding itself cannot be tried.
        LoaderModule loader(ShippedModule("PixCtx"));
        SIZE size = {5, 5};
        EXPECT_EQ(loader.load(&size, TestPicture("quad.bmp").c_str()), nullptr);
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, 0);
        GTEST_SKIP() << "Wine 8 cannot create the image-context object (browser engine absent)";
    }
    probe->Release();
    LoaderModule loader(ShippedModule("PixCtx"));
    SIZE size = {0, 0};
    void* picture = loader.load(&size, TestPicture("quad.bmp").c_str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 30);
    Canvas canvas(40, 30, RGB(128, 128, 128));
    loader.stretch(picture, canvas.dc, 0, 0, 40, 30, 0, 0, 40, 30, SRCCOPY);
    EXPECT_PRED3(Near, canvas.Pixels()[5 * 40 + 5], RGB(255, 0, 0), 8);
    loader.release(picture);
}

}  // namespace
