#pragma once

// Orderly shutdown: restores the desktop, removes the tray icon, unloads
// everything and ends the process with code 0.
void Exit();
