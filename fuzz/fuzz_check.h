// A failed expectation of a fuzz target: what failed and where, then the
// crash libFuzzer keeps the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

#define Expect(condition)                                                                 \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                     \
        }                                                                                \
    } while (0)
