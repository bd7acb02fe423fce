// What every shipped loader module offers the host, whatever it decodes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "imaging_support.h"

namespace {

const char* const kModules[] = {"PixGdip", "PixCtx", "PixOle"};

TEST(LoaderExports, EveryModuleHasTheExactDecoratedNames) {
    ComScope com;
    for (const char* name : kModules) {
        LoaderModule loader(ShippedModule(name));
        ASSERT_NE(loader.module, nullptr) << name << " does not load (" << GetLastError() << ")";
        for (const char* symbol : {KV_EXPORT_LOADPICTURE, KV_EXPORT_STRETCHIMG, KV_EXPORT_RELEASEIMG})
            EXPECT_NE(GetProcAddress(loader.module, symbol), nullptr) << name << " lacks " << symbol;
        const bool savesAndScales = std::string(name) == "PixOle";
        for (const char* symbol : {KV_EXPORT_SAVEPICTURE, KV_EXPORT_SCALEBITMAP})
            EXPECT_EQ(GetProcAddress(loader.module, symbol) != nullptr, savesAndScales) << name << " " << symbol;
    }
}

// The host tells a picture from a failure by the result alone, and reads the
// size in either case.
TEST(LoaderExports, EveryModuleRefusesWhatIsNoPictureWithAnEmptySize) {
    ComScope com;
    const std::string tooLong = "C:\\" + std::string(1200, 'a') + ".bmp";
    for (const char* name : kModules) {
        LoaderModule loader(ShippedModule(name));
        ASSERT_TRUE(loader.load && loader.release) << name;
        for (const std::string& path :
             {TestPicture("notpicture.jpg"), TestPicture("missing.bmp"), tooLong, std::string()}) {
            SIZE size = {123, 456};
            void* picture = loader.load(&size, path.c_str());
            EXPECT_EQ(picture, nullptr) << name << " " << path.substr(0, 80);
            EXPECT_EQ(size.cx, 0) << name << " " << path.substr(0, 80);
            EXPECT_EQ(size.cy, 0) << name << " " << path.substr(0, 80);
            if (picture) loader.release(picture);
        }
        EXPECT_EQ(loader.release(nullptr), 0) << name << " must ignore a null picture";
    }
}

}  // namespace
