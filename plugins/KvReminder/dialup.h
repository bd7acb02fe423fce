// The dial-up connection state, from the system's remote-access library
// when it is there (bound at run time: many systems lack it).
#pragma once

#include <cstdint>

void LoadDialUp();
void FreeDialUp();
// 0 when a dial-up connection is up, 1 when none is (or the library is missing).
uint8_t ProbeConnection();
