// The check for a newer release: the first line of the version file on the
// maker's two update hosts against the program's own stamp, and on the
// user's word the release archive into the program's folder. Runs in the
// calling thread, through the proxy of the general page when it is on.
#pragma once

#include <windows.h>

#include <string>

// It reads the string table entries IDVERSION (own stamp), IDWEBHOME (first
// host) and IDWEBMIRROR (second host) of ids_about.h, each into 20
// characters.

// Set while a check runs: a request meanwhile (command line, hot key, about
// box) returns at once.
extern int bCheck;

// Asks the first host, then, unless it reported a newer version, the
// second. owner owns the prompts.
void CheckUpdate(HWND owner);

// One host's answer: received is the version file's first line (or none),
// local the own stamp. Returns 1 when the other host is to be asked
// (nothing received, a line of the wrong form, no newer version), 0 when a
// newer version was found, whatever the user then answered. On Yes the
// archive is fetched from host and the user told whether it arrived.
int CheckUpdateFromHttp(HWND owner, const char* received, const char* local, const char* host, const char* proxy);

// The stamp in a version file's first line: the text after the first space,
// cut right after the first ")"; empty when either is missing.
std::string RemoteStampFromLine(const char* line);
// A stamp "version(day.month.year)" weighed as the release's version times
// the seconds of that local midnight, both in single precision, so that a
// later date can outweigh a higher version. False when the text is no such
// stamp or the date cannot be told in seconds.
bool UpdateStampWeight(const char* stamp, float* weight);

// The message boxes and the string table, replaceable so tests can answer
// the prompts and point the hosts at their own server; none restores the
// system's own. Each returns the previous function.
typedef int(WINAPI* UpdateMessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT);
UpdateMessageBoxFunction SetUpdateMessageBoxFunction(UpdateMessageBoxFunction function);
typedef int (*UpdateStringFunction)(UINT id, char* buffer, int size);
UpdateStringFunction SetUpdateStringFunction(UpdateStringFunction function);
