#include "desktop/desktop_shortcut.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "kvinifunction.h"
#include "scopedwin.h"

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

template <typename Interface>
class ScopedCom {
public:
    ScopedCom() = default;
    ~ScopedCom() {
        if (object_) object_->Release();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    Interface** receive() { return &object_; }
    Interface* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    Interface* object_ = nullptr;
};

}  // namespace

std::string GetLabelPath() {
    HeapString desktop(ReadReestrChar("Desktop", HKEY_CURRENT_USER, kShellFolders, nullptr));
    if (!desktop || !*desktop) return std::string();
    std::string path = desktop.get();
    if (path.back() != '\\') path += '\\';
    return path + "Dravonel.lnk";
}

void CreateLink(const char* lpszPathObj, const char* lpszPathLink, const char* lpszDesc) {
    if (!lpszPathObj || !lpszPathLink || !*lpszPathLink) return;
    ScopedCom<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.receive()))))
        return;
    link->SetPath(lpszPathObj);
    if (lpszDesc) link->SetDescription(lpszDesc);
    ScopedCom<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive())))) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, lpszPathLink, -1, nullptr, 0);
    if (length <= 0) return;
    std::vector<WCHAR> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, lpszPathLink, -1, wide.data(), length);
    file->Save(wide.data(), TRUE);
}

void CreateLabel() {
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string link = GetLabelPath();
    if (!link.empty()) CreateLink(program, link.c_str(), "MalvorenSoft");
}

void DeleteLabel() {
    const std::string link = GetLabelPath();
    if (!link.empty()) DeleteFileA(link.c_str());
}
