// The game clock the world reads: the installed clock's ticks without the time the match
// stood paused. Menus, the network refresh and frame pacing keep reading SystemTicks.
#pragma once

#include <cstdint>

// Runs with SystemTicks while the game clock runs; stands still while it is stopped, and
// goes on from there when it runs again, so no timer of the world expires in a pause.
[[nodiscard]] uint32_t GameTicks();

// Stops or restarts the game clock; asking for the state it is already in changes nothing.
void SetGameClockStopped(bool stopped);
[[nodiscard]] bool GameClockStopped();
// Running, with no pause counted: the game clock reads SystemTicks again.
void ResetGameClock();
