#include "app/folder_check.h"

#include <windows.h>
#include <shlobj.h>

#include "base/globals.h"
#include "base/save_failures.h"
#include "createpathfile.h"
#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

// Texts of section "STRING".
const int kNoticeTitle = 81;
const int kCannotWrite = 82;
const int kWhatIsLost = 83;
const int kPutItThere = 84;
const int kOrInstall = 85;

std::string Text(int number) { return Priv(number, "STRING", ini); }

std::string ProgramFolder() {
    HeapString folder(CreatePathFile(nullptr, nullptr, nullptr));
    std::string path = folder ? folder.get() : "";
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void CALLBACK ShowNotice(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const std::string text = ReadOnlyFolderNotice(ProgramFolder(), SuggestedProgramFolder());
    // Not titled "Dravonel": a second instance looks for a dialog of that name.
    MessageBoxA(nullptr, text.c_str(), Text(kNoticeTitle).c_str(), MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace

bool FolderTakesFiles(const std::string& folder) {
    char probe[MAX_PATH];
    // Creates a file of a new name, so nothing of the user's is touched.
    if (folder.empty() || !GetTempFileNameA(folder.c_str(), "kv", 0, probe)) return false;
    DeleteFileA(probe);
    return true;
}

bool ProgramFolderWritable() {
    HeapString users(CreatePathFile("Users", nullptr, nullptr));
    return FolderTakesFiles(ProgramFolder()) && users && FolderTakesFiles(users.get());
}

std::string SuggestedProgramFolder() {
    char local[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return "";
    return std::string(local) + "\\Programs\\Dravonel";
}

std::string ReadOnlyFolderNotice(const std::string& folder, const std::string& suggested) {
    std::string text = Text(kCannotWrite) + "\n" + folder + "\n\n" + Text(kWhatIsLost) + "\n\n" + Text(kPutItThere);
    if (!suggested.empty()) text += "\n" + suggested;
    return text + "\n" + Text(kOrInstall);
}

void CheckProgramFolder() {
    if (ProgramFolderWritable()) return;
    QuietSaveFailures();
    SetTimer(nullptr, 0, 0, ShowNotice);
}
