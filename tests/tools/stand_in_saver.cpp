// A stand-in screen saver for the chooser's tests. It writes how it was
// started to the file named by KVSCR_TEST_LOG and ends at once; only when
// KVSCR_TEST_STAY is set does a full-screen start wait, for the event
// "KvScrSetTestQuit" or two and a half minutes at most. It never opens a
// window, so nothing is ever blanked or locked.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

void AppendToLog(const std::string& line) {
    char path[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("KVSCR_TEST_LOG", path, sizeof path)) return;
    // Several savers may write at once; the file is opened for appending.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    const char* name = strrchr(self, '\\');
    name = name ? name + 1 : self;
    AppendToLog(std::string(name) + "|" + arguments + "\n");

    const bool fullScreen = arguments[0] && (arguments[1] == 's' || arguments[1] == 'S');
    char stay[8];
    if (fullScreen && GetEnvironmentVariableA("KVSCR_TEST_STAY", stay, sizeof stay)) {
        HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "KvScrSetTestQuit");
        WaitForSingleObject(quit, 150000);
        CloseHandle(quit);
    }
    return 0;
}
