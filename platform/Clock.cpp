// The system clock and the one installed-clock seam.
#include "platform/Clock.h"

#include "platform/GameClock.h"

#include <chrono>
#include <thread>

namespace {

// The monotonic clock counts from an unspecified start (boot on Linux); the offset keeps
// the reading at 10000 or more even right after it starts.
constexpr uint64_t kTickOffsetMs = 10000;

class TSystemClock : public TClock {
public:
    [[nodiscard]] uint32_t Ticks() const override {
        const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
        // Truncation to 32 bits is the wrap the game's timing arithmetic expects.
        return static_cast<uint32_t>(static_cast<uint64_t>(ms) + kTickOffsetMs);
    }
    void Wait(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

TSystemClock systemClock;
TClock* installedClock = &systemClock;

} // namespace

uint32_t SystemTicks() {
    return installedClock->Ticks();
}

void WaitTicks(uint32_t ms) {
    installedClock->Wait(ms);
}

TClock* SetClock(TClock* clock) {
    TClock* previous = installedClock;
    installedClock = clock != nullptr ? clock : &systemClock;
    // Pauses counted against the last clock mean nothing against this one.
    ResetGameClock();
    return previous;
}
