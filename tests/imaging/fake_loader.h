// What a stand-in loader module records, read by the binding tests through
// its "FakeState" export.
#pragma once

#include <windows.h>

struct FakeLoaderState {
    // Set by the test.
    char accept[64];  // loads succeed for paths containing this (empty: none)
    SIZE size;        // size reported for an accepted picture
    // Recorded by the module.
    int loads;
    char lastPath[1100];
    int draws;
    void* lastDrawn;
    RECT lastTarget;  // x, y, cx, cy
    RECT lastSource;  // sx, sy, scx, scy
    DWORD lastRop;
    int releases;
    void* lastReleased;
};

typedef FakeLoaderState*(__cdecl* FakeStateFunction)();
