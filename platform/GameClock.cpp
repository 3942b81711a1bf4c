// The game clock: the system tick less the time spent stopped.
#include "platform/GameClock.h"

#include "platform/Clock.h"

namespace {

// Milliseconds the game clock has stood still in all; unsigned, so it wraps with the tick.
uint32_t stoppedTotalMs = 0;
bool stopped = false;
// The system tick when the clock stopped.
uint32_t stoppedAt = 0;

} // namespace

uint32_t GameTicks() {
    return (stopped ? stoppedAt : SystemTicks()) - stoppedTotalMs;
}

void SetGameClockStopped(bool stop) {
    if (stop == stopped) return;
    if (stop)
        stoppedAt = SystemTicks();
    else
        stoppedTotalMs += SystemTicks() - stoppedAt;
    stopped = stop;
}

bool GameClockStopped() {
    return stopped;
}

void ResetGameClock() {
    stoppedTotalMs = 0;
    stopped = false;
}
