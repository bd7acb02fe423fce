#include "keyboard_input.h"

namespace {

void SendKey(WORD key, bool down) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

}  // namespace

HeldKeys::HeldKeys(std::initializer_list<WORD> keys) : keys_(keys) {
    for (WORD key : keys_) SendKey(key, true);
}

HeldKeys::~HeldKeys() { Release(); }

void HeldKeys::Release() {
    for (auto key = keys_.rbegin(); key != keys_.rend(); ++key) SendKey(*key, false);
    keys_.clear();
}

void TypeKeys(std::initializer_list<WORD> keys) {
    HeldKeys held(keys);
    Sleep(50);
}
