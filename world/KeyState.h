// The held-control table: the keyboard, one entry per SDL 1.2 key code, and the gamepads, one
// entry per player's control, each true while held. The game's event handlers write it;
// keyboard-driven fighters read a control as held when its bound key or its pad holds it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// SDL 1.2 key codes run from 0 to 323 (its last code).
constexpr int32_t kKeyCount = 324;

extern std::array<bool, kKeyCount> KeyState;

// Sets an entry; codes outside the table are ignored, so a stray event cannot write past it.
void SetKeyState(int32_t keyCode, bool held);
// True while the key is held; false for codes outside the table.
[[nodiscard]] bool KeyHeld(int32_t keyCode);
void ClearKeyState();

// The gamepad half: a pad drives the player of its number (0 or 1); control counts from 0 in
// the order Up, Down, Left, Right, Fire, Second fire. Out-of-range numbers are ignored.
void SetPadControl(int32_t player, size_t control, bool held);
[[nodiscard]] bool PadControlHeld(int32_t player, size_t control);
void ClearPadState();
