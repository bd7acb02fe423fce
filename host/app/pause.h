#pragma once

// Enters or leaves the pause: stops (or restarts) the timers the general
// page names, shows the paused tray icon, stores KvCheckOff.
void RunCheckOff();
