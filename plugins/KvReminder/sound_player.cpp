#include "sound_player.h"

#include <vfw.h>

#include "kvinifunction.h"
#include "plugin_state.h"
#include "reminder_ids.h"
#include "scopedwin.h"

namespace {

// Seeded once from the clock; the player's own generator, not the runtime's.
uint32_t NextSeed() {
    static uint32_t state = GetTickCount() ^ (GetCurrentProcessId() << 16);
    state = state * 1664525u + 1013904223u;
    return state;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::vector<FolderEntry> ListFolderEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        // Offline files would be fetched from slow storage.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_OFFLINE) continue;
        FolderEntry entry;
        entry.name = found.cFileName;
        // Linked folders may lead back up the tree.
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !entry.folder) continue;
        entries.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

void SoundPlayer::Start(HWND owner, const std::string& stored, bool loop) {
    Stop();
    owner_ = owner;
    // Stored paths may name the program's folder as %Dravonel_path%.
    HeapString expanded(ExpandEnvStr(stored.c_str()));
    const std::string sound = expanded ? expanded.get() : stored;
    playlist_ = IsFolder(sound) ? Playlist::FromFolder(sound, ListFolderEntries, NextSeed()) : Playlist::OneFile(sound);
    if (playlist_.empty()) return;
    // No error boxes: a missing device must not stop the host's thread.
    player_ = MCIWndCreateA(owner, hInstance, WS_CHILD | MCIWNDF_NOMENU | MCIWNDF_NOPLAYBAR | MCIWNDF_NOERRORDLG,
                            playlist_.Current().c_str());
    if (!player_) return;
    ShowWindow(player_, SW_HIDE);
    MCIWndPlay(player_);
    if (loop) SetTimer(owner, TIMER_SOUND, 1000, nullptr);
}

void SoundPlayer::Tick() {
    if (!player_) return;
    LONG mode = MCIWndGetMode(player_, nullptr, 0);
    if (mode == MCI_MODE_PLAY || mode == MCI_MODE_SEEK || mode == MCI_MODE_RECORD) return;
    MCIWndOpen(player_, playlist_.Next().c_str(), 0);
    MCIWndPlay(player_);
}

void SoundPlayer::Stop() {
    if (owner_) KillTimer(owner_, TIMER_SOUND);
    if (player_) {
        MCIWndStop(player_);
        MCIWndDestroy(player_);
        player_ = nullptr;
    }
}
