#pragma once

// The Run value "Dravonel" follows the general page's start-with-Windows box
// (10300): written with the program's path when checked, deleted otherwise.
void ApplyAutostart(bool on);
// Start-up: the stored KvAutoSt checks the box and re-synchronises the value.
void LoadAutostartSetting();
