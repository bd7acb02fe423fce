// A module in the Plugins folder that is no plug-in: it lacks the entry. It
// says in calls.log beside it when it is loaded and unloaded.
#include <windows.h>

#include <string>

namespace {

void Log(HMODULE self, const char* what) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, sizeof path);
    std::string folder(path);
    folder = folder.substr(0, folder.rfind('\\') + 1);
    HANDLE file = CreateFileA((folder + "calls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = std::string("no_entry ") + what + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) int WINAPI NotTheEntry(int value) { return value; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Log(instance, "loaded");
    if (reason == DLL_PROCESS_DETACH) Log(instance, "unloaded");
    return TRUE;
}
