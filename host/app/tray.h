// Clicks on the notification-area icon.
#pragma once

#include <windows.h>

// A click on the tray icon (lParam of the callback message).
void MouseEvent(LPARAM mouseMessage);
