// The global keyboard table.
#include "world/KeyState.h"

#include <cstddef>

std::array<bool, kKeyCount> KeyState{};

void SetKeyState(int32_t keyCode, bool held) {
    if (keyCode >= 0 && keyCode < kKeyCount) KeyState[static_cast<std::size_t>(keyCode)] = held;
}

bool KeyHeld(int32_t keyCode) {
    return keyCode >= 0 && keyCode < kKeyCount && KeyState[static_cast<std::size_t>(keyCode)];
}

void ClearKeyState() {
    KeyState.fill(false);
}
