// Every program of the suite carries an application manifest, read back from
// its resources: without one Windows treats it as a legacy program (old
// controls, stretched bitmaps on large displays, writes redirected).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dravonel_app.h"
#include "procaddress.h"
#include "program_folder.h"

namespace {

// Headers for XP do not have it.
const UINT kGetIdealSize = 0x1601;  // BCM_GETIDEALSIZE

struct Program {
    const char* path;  // below dist/
    bool windowed;     // console programs need no controls and no DPI
};
const Program kPrograms[] = {
    {"Dravonel.exe", true}, {"KvScrSet.scr", true}, {"Tool\\KvHtmlToPic.exe", true}, {"KvTimeSync.exe", false}};

// Vista, 7, 8, 8.1, 10 and 11.
const char* const kSupportedSystems[] = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

std::string ProgramPath(const Program& program) { return DistFolder() + "\\" + program.path; }

// Resource 1 of type RT_MANIFEST, the one the loader reads for a program.
std::string ManifestOf(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return std::string();
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (bytes) text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The system's own reading of the manifest, as when the program starts.
HANDLE ActivationContextOf(const std::string& path) {
    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(1);
    return CreateActCtxA(&context);
}

TEST(Manifests, EveryProgramDeclaresTheSystemsItKnowsAndRunsAsInvoker) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.path);
        const std::string manifest = ManifestOf(ProgramPath(program));
        ASSERT_FALSE(manifest.empty()) << "no manifest";
        for (const char* system : kSupportedSystems) EXPECT_TRUE(Has(manifest, system)) << system;
        EXPECT_TRUE(Has(manifest, "level=\"asInvoker\""));
        EXPECT_EQ(Has(manifest, "name=\"Microsoft.Windows.Common-Controls\""), program.windowed);
        EXPECT_EQ(Has(manifest, ">true</dpiAware>"), program.windowed);
        // Windows refuses to start a program whose manifest names another
        // processor (error 14001), though Wine starts it.
        const bool x64 = sizeof(void*) == 8;
        EXPECT_TRUE(Has(manifest, x64 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\""));
        EXPECT_FALSE(Has(manifest, x64 ? "processorArchitecture=\"x86\"" : "processorArchitecture=\"amd64\""));
        // A manifest the system cannot read keeps the program from starting.
        HANDLE context = ActivationContextOf(ProgramPath(program));
        EXPECT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();
        if (context != INVALID_HANDLE_VALUE) ReleaseActCtx(context);
    }
}

TEST(Manifests, WindowedProgramsGetVersion6Controls) {
    for (const Program& program : kPrograms) {
        if (!program.windowed) continue;
        SCOPED_TRACE(program.path);
        HANDLE context = ActivationContextOf(ProgramPath(program));
        ASSERT_NE(context, INVALID_HANDLE_VALUE);
        ULONG_PTR cookie = 0;
        ASSERT_TRUE(ActivateActCtx(context, &cookie));
        // Only the version 6 button knows its ideal size.
        HWND button = CreateWindowExA(0, "BUTTON", "Defaults", WS_POPUP | BS_PUSHBUTTON, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr);
        SIZE ideal = {};
        EXPECT_TRUE(SendMessageA(button, kGetIdealSize, 0, reinterpret_cast<LPARAM>(&ideal)));
        EXPECT_GT(ideal.cx, 0);
        DestroyWindow(button);
        DeactivateActCtx(0, cookie);
        ReleaseActCtx(context);
    }
}

TEST(Manifests, DravonelRunsSystemDpiAware) {
    typedef void*(WINAPI * WindowContext)(HWND);
    typedef int(WINAPI * AwarenessOf)(void*);
    HMODULE user = GetModuleHandleA("user32.dll");
    auto windowContext = GetProcAddressAs<WindowContext>(user, "GetWindowDpiAwarenessContext");
    auto awarenessOf = GetProcAddressAs<AwarenessOf>(user, "GetAwarenessFromDpiAwarenessContext");
    if (!windowContext || !awarenessOf) GTEST_SKIP() << "the system has no per-window DPI awareness (before Windows 10)";
    // This test program has no manifest: Windows calls its windows unaware.
    HWND own = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const int ownAwareness = awarenessOf(windowContext(own));
    DestroyWindow(own);
    if (ownAwareness != 0)
        GTEST_SKIP() << "Wine reports every window as per-monitor aware (" << ownAwareness
                     << "), with a manifest or without, so the manifest's effect cannot be seen here";
    ProgramFolder folder;
    DravonelApp app(folder);
    ASSERT_TRUE(app.WaitReady());
    // DPI_AWARENESS_SYSTEM_AWARE: the system no longer stretches its windows.
    EXPECT_EQ(awarenessOf(windowContext(app.main())), 1);
    EXPECT_TRUE(app.Close());
}

}  // namespace
