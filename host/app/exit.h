#pragma once

// Orderly shutdown: asks the plug-ins (any one may refuse, and then nothing
// happens), restores the desktop, removes the tray icon, unloads everything
// and ends the process with code 0.
void Exit();
// The question alone (KvAPPLICATIONCLOSE to every plug-in until one
// refuses), for a caller that must know before it acts.
bool PluginsAgreeToExit();
// The shutdown once the plug-ins have agreed.
void ExitAgreed();
// Exit after the user's files were removed (ClearWin): nothing is saved on
// the way out, and removeTraces runs again once the plug-ins are unloaded,
// for what they wrote while closing.
void ExitRemovingTraces(void (*removeTraces)());
