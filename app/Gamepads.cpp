// Joystick events into the held-control table.
#include "app/Gamepads.h"

#include "media/BriskLogger.h"
#include "world/KeyBindings.h"
#include "world/KeyState.h"

#include <string>

namespace {

constexpr size_t kUp = 0, kDown = 1, kLeft = 2, kRight = 3;
constexpr uint8_t kFireButton = 0;
constexpr uint8_t kSecondFireButton = 1;
constexpr uint8_t kStickXAxis = 0;
constexpr uint8_t kStickYAxis = 1;

} // namespace

TGamepads::TGamepads() {
    ClearPadState();
    SubsystemStarted = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!SubsystemStarted) return;
    const int32_t count = SDL_NumJoysticks();
    for (int32_t i = 0; i < count && i < static_cast<int32_t>(Pads.size()); ++i) {
        SDL_Joystick* opened = SDL_JoystickOpen(i);
        if (opened == nullptr) break;
        Joysticks.emplace_back(opened);
        const char* name = SDL_JoystickName(i);
        if (Logger != nullptr)
            Logger->LogStatus("Gamepad " + std::to_string(i + 1) + " for player " + std::to_string(i + 1) +
                                  ": " + (name != nullptr ? name : "unnamed"),
                              "TGamepads.Create");
    }
    if (!Joysticks.empty()) SDL_JoystickEventState(SDL_ENABLE);
}

TGamepads::~TGamepads() {
    Joysticks.clear();
    if (SubsystemStarted) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    ClearPadState();
}

bool TGamepads::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYAXISMOTION: {
        const size_t pad = event.jaxis.which;
        if (pad >= Pads.size()) return true;
        const int32_t value = event.jaxis.value;
        std::array<bool, 4>& stick = Pads[pad].Stick;
        if (event.jaxis.axis == kStickXAxis) {
            stick[kLeft] = value < -kDeadZone;
            stick[kRight] = value > kDeadZone;
        } else if (event.jaxis.axis == kStickYAxis) {
            stick[kUp] = value < -kDeadZone;
            stick[kDown] = value > kDeadZone;
        }
        Publish(pad);
        return true;
    }
    case SDL_JOYHATMOTION: {
        const size_t pad = event.jhat.which;
        // Only the first hat steers; a pad with more has them for other uses.
        if (pad >= Pads.size() || event.jhat.hat != 0) return true;
        const uint8_t value = event.jhat.value;
        Pads[pad].Hat = {(value & SDL_HAT_UP) != 0, (value & SDL_HAT_DOWN) != 0, (value & SDL_HAT_LEFT) != 0,
                         (value & SDL_HAT_RIGHT) != 0};
        Publish(pad);
        return true;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
        const size_t pad = event.jbutton.which;
        const bool held = event.type == SDL_JOYBUTTONDOWN;
        if (pad >= Pads.size()) return true;
        if (event.jbutton.button == kFireButton)
            SetPadControl(static_cast<int32_t>(pad), static_cast<size_t>(TControl::Fire), held);
        if (event.jbutton.button == kSecondFireButton)
            SetPadControl(static_cast<int32_t>(pad), static_cast<size_t>(TControl::SecondFire), held);
        return true;
    }
    case SDL_JOYBALLMOTION:
        return true;
    default:
        return false;
    }
}

void TGamepads::Publish(size_t pad) const {
    const TPad& state = Pads[pad];
    const auto player = static_cast<int32_t>(pad);
    // Stick and hat each hold what they point at; the table holds a direction while either does.
    SetPadControl(player, static_cast<size_t>(TControl::Up), state.Stick[kUp] || state.Hat[kUp]);
    SetPadControl(player, static_cast<size_t>(TControl::Down), state.Stick[kDown] || state.Hat[kDown]);
    SetPadControl(player, static_cast<size_t>(TControl::Left), state.Stick[kLeft] || state.Hat[kLeft]);
    SetPadControl(player, static_cast<size_t>(TControl::Right), state.Stick[kRight] || state.Hat[kRight]);
}
