#include "fake_tray.h"

#include <shellapi.h>

#include <algorithm>

namespace {

// Wine's shell32 sends this platform-neutral record (its leading fields).
struct WineNotifyData {
    LONG hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    WCHAR szTip[128];
};

std::string Narrow(const WCHAR* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length]) ++length;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string result(bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), &result[0], bytes, nullptr, nullptr);
    return result;
}

}  // namespace

LRESULT FakeTray::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data || data->dwData > NIM_DELETE || data->cbData < sizeof(WineNotifyData)) return FALSE;
    const ShellState state = probe_ ? probe_() : ShellState();
    const BOOL answer = static_cast<BOOL>(Answer(data));
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back({static_cast<DWORD>(data->dwData), answer, state});
    return answer;
}

LRESULT FakeTray::Answer(const COPYDATASTRUCT* data) {
    const WineNotifyData* request = static_cast<const WineNotifyData*>(data->lpData);
    HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(request->hWnd));
    std::lock_guard<std::mutex> guard(lock_);
    ++counts_[data->dwData];
    auto found = std::find_if(icons_.begin(), icons_.end(), [&](const TrayIconRecord& icon) {
        return icon.owner == owner && icon.id == request->uID;
    });
    switch (data->dwData) {
        case NIM_ADD: {
            if (found != icons_.end()) return FALSE;
            TrayIconRecord icon = {owner, request->uID, 0, std::string()};
            if (request->uFlags & NIF_MESSAGE) icon.callbackMessage = request->uCallbackMessage;
            if (request->uFlags & NIF_TIP) icon.tip = Narrow(request->szTip, 128);
            icons_.push_back(icon);
            return TRUE;
        }
        case NIM_MODIFY:
            if (found == icons_.end()) return FALSE;
            if (request->uFlags & NIF_MESSAGE) found->callbackMessage = request->uCallbackMessage;
            if (request->uFlags & NIF_TIP) found->tip = Narrow(request->szTip, 128);
            return TRUE;
        case NIM_DELETE:
            if (found == icons_.end()) return FALSE;
            icons_.erase(found);
            return TRUE;
        default:
            return FALSE;
    }
}

bool FakeTray::Has(HWND owner, UINT id) const {
    std::lock_guard<std::mutex> guard(lock_);
    return std::any_of(icons_.begin(), icons_.end(),
                       [&](const TrayIconRecord& icon) { return icon.owner == owner && icon.id == id; });
}

TrayIconRecord FakeTray::Get(HWND owner, UINT id) const {
    std::lock_guard<std::mutex> guard(lock_);
    for (const TrayIconRecord& icon : icons_)
        if (icon.owner == owner && icon.id == id) return icon;
    return TrayIconRecord{nullptr, 0, 0, std::string()};
}

int FakeTray::count(DWORD kind) const {
    std::lock_guard<std::mutex> guard(lock_);
    return kind <= NIM_DELETE ? counts_[kind] : 0;
}

void FakeTray::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    icons_.clear();
    requests_.clear();
}

std::vector<TrayRequest> FakeTray::requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

void FakeTray::SetProbe(std::function<ShellState()> probe) { probe_ = std::move(probe); }
