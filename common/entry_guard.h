// A plug-in's entry is a module boundary: an exception thrown through it
// reaches a host that cannot catch it and ends the whole program.
#pragma once

#include <windows.h>

// The body's answer, or 0 (the protocol's "nothing done") when it threw.
template <typename Body>
INT_PTR AnswerWithoutThrowing(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return 0;
    }
}
