// The gamepads: SDL's joysticks plugged in at start, the first driving key set 0 (player 1,
// or the fighter at this machine in a networked match) and the second key set 1. Their
// sticks, hats and buttons are written into the held-control table the fighters read.
#pragma once

#include <SDL.h>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TGamepads {
public:
    // A stick must lean this far (of 32767) before it counts as a direction, so a worn
    // stick resting a little off centre walks nobody.
    static constexpr int32_t kDeadZone = 8000;

    // Opens the joysticks that are there; none, or no joystick support, is no error.
    TGamepads();
    ~TGamepads();
    TGamepads(const TGamepads&) = delete;
    TGamepads& operator=(const TGamepads&) = delete;

    // Takes joystick events (true) and updates the held controls of their pad; pads past the
    // second drive nobody.
    bool HandleEvent(const SDL_Event& event);
    [[nodiscard]] int32_t Opened() const { return static_cast<int32_t>(Joysticks.size()); }

private:
    struct TJoystickClose {
        void operator()(SDL_Joystick* joystick) const { SDL_JoystickClose(joystick); }
    };
    // Up, Down, Left, Right from the stick and from the hat; either holds a direction.
    struct TPad {
        std::array<bool, 4> Stick{};
        std::array<bool, 4> Hat{};
    };
    void Publish(size_t pad) const;

    bool SubsystemStarted = false;
    std::vector<std::unique_ptr<SDL_Joystick, TJoystickClose>> Joysticks;
    std::array<TPad, 2> Pads{};
};
