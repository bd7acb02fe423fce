// The shell made its taskbar anew (Explorer restarted, or started after the
// program): the tray icon and the desktop care come back at once, on the new
// windows, not only at the next tick of the timers.
#pragma once

void OnTaskbarCreated();
