// Timers of the main window; the ids are part of the program's contract
// (plug-ins and tests see them on the main window).
#pragma once

enum {
    Timer02 = 2,  // exit 15 s after a start command with "/ex"
    Timer03 = 3,  // wallpaper change period
    Timer04 = 4,  // desktop icon care, 2 s
    Timer05 = 5,  // hot-key polling, 100 ms
    Timer06 = 6,  // screen-saver enforcement, 2 s
    Timer07 = 7,  // tray icon shown only over the taskbar, KvTrayUp s
    Timer08 = 8,  // housekeeping, 1 s
};
