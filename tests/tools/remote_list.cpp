#include "remote_list.h"

#include <commctrl.h>

#include "scopedwin.h"

namespace {

class RemoteMemory {
public:
    RemoteMemory(HWND owner, SIZE_T size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        if (process_.valid())
            address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* address() const { return static_cast<char*>(address_); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) {
        return address_ && WriteProcessMemory(process_.get(), address() + offset, data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) {
        return address_ && ReadProcessMemory(process_.get(), address() + offset, data, size, nullptr);
    }

private:
    ScopedHandle process_;
    void* address_ = nullptr;
};

}  // namespace

int RemoteListCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteListText(HWND list, int row) {
    RemoteMemory memory(list, sizeof(LVITEMA) + 300);
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = memory.address() + sizeof item;
    item.cchTextMax = 260;
    if (!memory.Write(0, &item, sizeof item)) return std::string();
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.address()));
    char text[261] = "";
    memory.Read(sizeof item, text, 260);
    return text;
}

bool RemoteListChecked(HWND list, int row) {
    return ((SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) &
             LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int RemoteListSelected(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool RemoteListSetChecked(HWND list, int row, bool checked) {
    RemoteMemory memory(list, sizeof(LVITEMA));
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    return memory.Write(0, &item, sizeof item) &&
           SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.address()));
}
