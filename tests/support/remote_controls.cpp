#include "remote_controls.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "scopedwin.h"

std::string WindowText(HWND window) {
    char text[1024] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

std::string ControlText(HWND dialog, int control) { return WindowText(GetDlgItem(dialog, control)); }

bool ControlChecked(HWND dialog, int control) {
    return SendDlgItemMessageA(dialog, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

struct ChildQuery {
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    ChildQuery* query = reinterpret_cast<ChildQuery*>(parameter);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") == 0 && GetDlgItem(window, query->controlId)) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// Memory in another process, freed when done.
class RemoteBlock {
public:
    RemoteBlock(HWND owner, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        if (process_.valid())
            address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    bool valid() const { return address_ != nullptr; }
    char* address() const { return static_cast<char*>(address_); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) {
        return WriteProcessMemory(process_.get(), address() + offset, data, size, nullptr) != 0;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) {
        return ReadProcessMemory(process_.get(), address() + offset, data, size, nullptr) != 0;
    }

private:
    ScopedHandle process_;
    void* address_ = nullptr;
};

std::string TreeItemText(HWND tree, HTREEITEM item, RemoteBlock& block) {
    const SIZE_T textOffset = sizeof(TVITEMA);
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = block.address() + textOffset;
    query.cchTextMax = 260;
    block.Write(0, &query, sizeof query);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.address()));
    char text[261] = "";
    block.Read(textOffset, text, 260);
    return text;
}

void CollectTree(HWND tree, HTREEITEM item, RemoteBlock& block, std::vector<std::string>& texts) {
    for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        texts.push_back(TreeItemText(tree, item, block));
        CollectTree(tree,
                    reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
                    block, texts);
    }
}

}  // namespace

HWND FindChildDialogWithControl(HWND parent, int controlId) {
    ChildQuery query = {controlId, nullptr};
    EnumChildWindows(parent, MatchDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::vector<std::string> TreeItemTexts(HWND tree) {
    std::vector<std::string> texts;
    RemoteBlock block(tree, sizeof(TVITEMA) + 512);
    if (!block.valid()) return texts;
    HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    CollectTree(tree, root, block, texts);
    return texts;
}

std::string ComboText(HWND dialog, int control, int index) {
    HWND combo = GetDlgItem(dialog, control);
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    // The system carries CB_GETLBTEXT across processes; Wine hands the text
    // over in UTF-16 there, so room for that and a check for it.
    std::vector<char> text((static_cast<size_t>(length) + 1) * 2 + 2, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (length > 1 && text[0] && !text[1]) {
        std::string narrow(static_cast<size_t>(length) * 2 + 1, '\0');
        int bytes = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(text.data()), -1, &narrow[0],
                                        static_cast<int>(narrow.size()), nullptr, nullptr);
        narrow.resize(bytes > 0 ? static_cast<size_t>(bytes - 1) : 0);
        return narrow;
    }
    return text.data();
}

std::string ComboSelectedText(HWND dialog, int control) {
    LRESULT index = SendDlgItemMessageA(dialog, control, CB_GETCURSEL, 0, 0);
    return index < 0 ? std::string() : ComboText(dialog, control, static_cast<int>(index));
}

namespace {

BOOL CALLBACK TakeStaticText(HWND child, LPARAM found) {
    char name[16] = "", buffer[512] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0 || GetWindowTextA(child, buffer, sizeof buffer) <= 0) return TRUE;
    *reinterpret_cast<std::string*>(found) = buffer;
    return FALSE;
}

}  // namespace

std::string BoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, TakeStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}
