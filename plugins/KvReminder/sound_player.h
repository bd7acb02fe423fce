// Plays a reminder's sound through a hidden media-control window that
// belongs to the reminder window.
#pragma once

#include <windows.h>

#include <string>

#include "playlist.h"

class SoundPlayer {
public:
    SoundPlayer() = default;
    ~SoundPlayer() { Stop(); }
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // sound is a file, or a folder whose sounds play in random order.
    // With loop, the owner's timer TIMER_SOUND calls Tick every second.
    void Start(HWND owner, const std::string& sound, bool loop);
    // Moves to the next entry once the player has stopped.
    void Tick();
    void Stop();
    HWND window() const { return player_; }

private:
    HWND owner_ = nullptr;
    HWND player_ = nullptr;
    Playlist playlist_;
};

// Every file and folder directly inside folder.
std::vector<FolderEntry> ListFolderEntries(const std::string& folder);
