// What the joke does to the screen, and how each thing is put back.
#pragma once

#include <windows.h>

#include <vector>

#include "joke_logic.h"

// The screen, flipped when asked, saved as Joke.bmp in the program folder
// through the host (service 1) and made the wallpaper.
void ShowScreenAsWallpaper(HWND host, bool upsideDown, bool mirrored);
// Deletes Joke.bmp and puts back the wallpaper the user's settings name.
void RestoreWallpaper();

// Hides a shell window (the desktop icons' "Progman", the taskbar); Show
// brings it back only when it was this joke that hid it.
class ShellWindowHider {
public:
    ShellWindowHider(const char* className, const char* title) : className_(className), title_(title) {}
    void Hide();
    void Show();

private:
    const char* className_;
    const char* title_;
    HWND hidden_ = nullptr;
};

// Every visible, not minimised top-level window but the desktop and the
// taskbar, hidden once and remembered.
class WindowHider {
public:
    void HideAll();
    void ShowAll();
    const std::vector<HWND>& hidden() const { return hidden_; }

private:
    std::vector<HWND> hidden_;
};

// The pointer held where it is.
void FreezeCursor();
void ReleaseCursor();

// One drop of the rain: a disc in the colour of the screen under it.
void PaintRainDrop(RainRandom& random, int radius);
// Everything is painted again, so no drops stay behind.
void RepaintScreen();
