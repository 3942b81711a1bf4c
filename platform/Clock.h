// The millisecond tick every timed thing in the game reads, behind one seam so tests can
// install a manual clock and step it.
#pragma once

#include <cstdint>

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds, unsigned 32 bits; wraps at 2^32 like the system tick it stands for.
    [[nodiscard]] virtual uint32_t Ticks() const = 0;
};

// The installed clock's reading; the system clock unless a test installed another.
// The system clock never reads below 10000: the fighters' strike check compares against a
// last-strike tick of 0 and needs the first strike to be far enough from it.
[[nodiscard]] uint32_t SystemTicks();

// Installs a borrowed clock; nullptr restores the system clock.
void SetClock(TClock* clock);

class TManualClock : public TClock {
public:
    [[nodiscard]] uint32_t Ticks() const override { return Now; }
    void Set(uint32_t ms) { Now = ms; }
    void Advance(uint32_t ms) { Now += ms; }

private:
    uint32_t Now = 10000;
};
