// How a fighter moves: its key set, action and facing from the held controls (bound keys and
// gamepad), and the walking step with its pickup probes, water and solid squares.
#include "platform/GameClock.h"
#include "world/KeyState.h"
#include "world/Players.h"

namespace {

// The pickup probes around the foot point, in the order they are tried: one square's half
// width to each side, the foot point itself, and one square up.
struct TProbe {
    int32_t Dx;
    int32_t Dy;
};
constexpr std::array<TProbe, 4> kPickUpProbes{{{-17, 0}, {17, 0}, {0, 0}, {0, -kSquareHeight}}};

} // namespace

void TPlayer::SetControls(int32_t set) {
    const bool bound = set >= 0 && set < static_cast<int32_t>(kBoundPlayers);
    ControlSet = bound ? set : -1;
    ControlKeys = bound ? KeyBindings.Set(static_cast<size_t>(set)) : TKeySet{};
}

void TBasePlayer::ChooseAction(const TButtons& held) {
    int32_t action = kActionStand;
    if (held.Up || held.Left || held.Right || held.Down) action = kActionWalk;
    if (held.Fire) action = kActionAttack;
    if (held.SecondFire && SecondWeapon != nullptr) action = kActionAttack;
    // Later rules override earlier ones: Up with Down faces down, Left with Right faces left.
    if (held.Up) SetDirection(0);
    if (held.Down) SetDirection(4);
    if (held.Right) SetDirection(2);
    if (held.Left) SetDirection(6);
    if (held.Up && held.Right) SetDirection(1);
    if (held.Up && held.Left) SetDirection(7);
    if (held.Down && held.Right) SetDirection(3);
    if (held.Down && held.Left) SetDirection(5);
    if (!(Health() > 0)) action = kActionDie;
    SetAction(action);
}

void TBasePlayer::Walk(uint32_t now, TWaterRule water) {
    const float oldX = X();
    const float oldY = Y();
    const auto elapsedMs = static_cast<float>(now - ActionTick);
    // A peer's message may set any direction; one outside 0..7 takes no step.
    if (ValidDirection(Direction())) {
        const auto d = static_cast<size_t>(Direction());
        SetX(X() + kDirectionX[d] * Speed() * elapsedMs);
        SetY(Y() + kDirectionY[d] * Speed() * elapsedMs);
    }
    if (Map() == nullptr) {
        ActionTick = now;
        return;
    }
    // Pickups are taken even when the step is undone below.
    for (const TProbe& probe : kPickUpProbes)
        TryPickUp(FootX() + probe.Dx, FootY() + probe.Dy);
    const TSquare& square = Map()->GetSquare(FootX(), FootY());
    if (square.Passability == kSquareWater && !Abilities(kWaterWalk).Active) {
        if (water == TWaterRule::Drown) {
            SetAction(kActionDie);
            SetFrame(0);
            SetHealth(0);
            return;
        }
        SetX(oldX);
        SetY(oldY);
    } else if (square.Passability == kSquareSolid && square.Occupant != this &&
               !Abilities(kPassWall).Active) {
        SetX(oldX);
        SetY(oldY);
    }
    // Advanced also when the step was undone: time spent blocked is not made up later.
    ActionTick = now;
}

void TPlayer::Move() {
    if (!(Health() > 0)) {
        SetAction(kActionDie);
        return;
    }
    if (HasKeySet()) {
        // A pad and a key of the same control cannot disagree: either holds it.
        const auto holds = [this](TControl control) {
            return KeyHeld(ControlKey(control)) || PadControlHeld(ControlSet, static_cast<size_t>(control));
        };
        const TButtons held{holds(TControl::Up),    holds(TControl::Down), holds(TControl::Left),
                            holds(TControl::Right), holds(TControl::Fire), holds(TControl::SecondFire)};
        // Holding both buttons fires only the primary weapon: the strike limit refuses the
        // second strike of the same update.
        if (held.Fire && Frame() == 2 && Weapon != nullptr) Strike(*Weapon);
        if (held.SecondFire && Frame() == 2 && SecondWeapon != nullptr) Strike(*SecondWeapon);
        ChooseAction(held);
    }
    const uint32_t now = GameTicks();
    ExpireAbilities(now);
    if (Action() == kActionWalk) Walk(now, OwnedByPeer ? TWaterRule::StopAtEdge : TWaterRule::Drown);
}
