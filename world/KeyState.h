// The keyboard table: one entry per SDL 1.2 key code, true while the key is held. The game's
// screen handlers write it; keyboard-driven fighters and the setup screen read it.
#pragma once

#include <array>
#include <cstdint>

// SDL 1.2 key codes run from 0 to 323 (its last code).
constexpr int32_t kKeyCount = 324;

extern std::array<bool, kKeyCount> KeyState;

// Sets an entry; codes outside the table are ignored, so a stray event cannot write past it.
void SetKeyState(int32_t keyCode, bool held);
// True while the key is held; false for codes outside the table.
[[nodiscard]] bool KeyHeld(int32_t keyCode);
void ClearKeyState();
