// Keys pressed through the system's input queue (SendInput), the way a
// user's keyboard presses them: every program sees them, hot keys fire.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

// Pressed in the given order; released in reverse order when it goes (also
// when a test fails half-way, so no key stays down for the next test).
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<WORD> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;
    void Release();

private:
    std::vector<WORD> keys_;
};

// Presses the keys in order and releases them again.
void TypeKeys(std::initializer_list<WORD> keys);
