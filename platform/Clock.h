// The millisecond tick every timed thing in the game reads, and the frame wait, behind one
// seam so tests can install a manual clock and step it instead of sleeping.
#pragma once

#include <cstdint>
#include <vector>

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds, unsigned 32 bits; wraps at 2^32 like the system tick it stands for.
    [[nodiscard]] virtual uint32_t Ticks() const = 0;
    // Lets ms milliseconds pass: the system clock sleeps, a test clock moves on at once.
    virtual void Wait(uint32_t ms) = 0;
};

// The installed clock's reading; the system clock unless a test installed another.
// The system clock never reads below 10000: the fighters' strike check compares against a
// last-strike tick of 0 and needs the first strike to be far enough from it.
[[nodiscard]] uint32_t SystemTicks();

// Waits ms milliseconds on the installed clock.
void WaitTicks(uint32_t ms);

// Installs a borrowed clock; nullptr restores the system clock. The game clock runs with it
// from then on, without the pauses counted before. Returns the clock installed before, so a
// user can put it back.
TClock* SetClock(TClock* clock);

// A clock that moves only when told to. Every wait is recorded and advances it at once.
class TManualClock : public TClock {
public:
    [[nodiscard]] uint32_t Ticks() const override { return Now; }
    void Wait(uint32_t ms) override {
        Waits.push_back(ms);
        Now += ms;
    }
    void Set(uint32_t ms) { Now = ms; }
    void Advance(uint32_t ms) { Now += ms; }

    std::vector<uint32_t> Waits; // in the order they were asked for

private:
    uint32_t Now = 10000;
};
