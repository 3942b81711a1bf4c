// The global held-control table: keys and gamepads.
#include "world/KeyState.h"

#include "world/KeyBindings.h"

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

namespace {

std::array<std::array<bool, kControlCount>, kBoundPlayers> padState{};

} // namespace

void SetPadControl(int32_t player, size_t control, bool held) {
    if (player >= 0 && player < static_cast<int32_t>(kBoundPlayers) && control < kControlCount)
        padState[static_cast<size_t>(player)][control] = held;
}

bool PadControlHeld(int32_t player, size_t control) {
    return player >= 0 && player < static_cast<int32_t>(kBoundPlayers) && control < kControlCount &&
           padState[static_cast<size_t>(player)][control];
}

void ClearPadState() {
    for (auto& pad : padState)
        pad.fill(false);
}
