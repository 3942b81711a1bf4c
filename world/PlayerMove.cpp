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

void TBasePlayer::LeaveBuilding() {
    // The peer's fighter stands where its owner says.
    if (Map() == nullptr || OwnedByPeer || Abilities(kPassWall).Active) return;
    const TSquare& square = Map()->GetSquare(FootX(), FootY());
    if (square.Passability != kSquareSolid || square.Occupant == nullptr ||
        dynamic_cast<const TMoveItem*>(square.Occupant) != nullptr)
        return;
    const auto free = Map()->NearestFreeSquare(FootX() / kSquareWidth, FootY() / kSquareHeight);
    if (!free) return;
    SetX(static_cast<float>(free->first * kSquareWidth + kSquareWidth / 2 - OffsetX()));
    SetY(static_cast<float>(free->second * kSquareHeight + kSquareHeight / 2 - OffsetY()));
}

void TBasePlayer::Walk(uint32_t now, TWaterRule water) {
    const float oldX = X();
    const float oldY = Y();
    const auto elapsedMs = static_cast<float>(now - ActionTick);
    float stepX = 0;
    float stepY = 0;
    // A peer's message may set any direction; one outside 0..7 takes no step.
    if (ValidDirection(Direction())) {
        const auto d = static_cast<size_t>(Direction());
        stepX = kDirectionX[d] * Speed() * elapsedMs;
        stepY = kDirectionY[d] * Speed() * elapsedMs;
        SetX(X() + stepX);
        SetY(Y() + stepY);
    }
    if (Map() == nullptr) {
        ActionTick = now;
        return;
    }
    // Pickups are taken even when the step is undone below.
    for (const TProbe& probe : kPickUpProbes)
        TryPickUp(FootX() + probe.Dx, FootY() + probe.Dy);
    const auto solid = [this](const TSquare& square) {
        return square.Passability == kSquareSolid && square.Occupant != this && !Abilities(kPassWall).Active;
    };
    const auto wet = [this](const TSquare& square) {
        return square.Passability == kSquareWater && !Abilities(kWaterWalk).Active;
    };
    const TSquare& square = Map()->GetSquare(FootX(), FootY());
    if (wet(square) && water == TWaterRule::Drown) {
        Feedback.DrownTick = NonZeroTick(now);
        SetAction(kActionDie);
        SetFrame(0);
        SetHealth(0);
        return;
    }
    if (wet(square) || solid(square)) {
        SetX(oldX);
        SetY(oldY);
        // A diagonal step that is blocked keeps the part of it that is free, so a fighter
        // slides along a wall (never into water).
        if (stepX != 0 && stepY != 0) {
            for (const auto& [partX, partY] : {std::pair{stepX, 0.0f}, std::pair{0.0f, stepY}}) {
                SetX(oldX + partX);
                SetY(oldY + partY);
                const TSquare& slid = Map()->GetSquare(FootX(), FootY());
                if (!wet(slid) && !solid(slid)) break;
                SetX(oldX);
                SetY(oldY);
            }
        }
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
        TButtons held{holds(TControl::Up),    holds(TControl::Down), holds(TControl::Left),
                      holds(TControl::Right), holds(TControl::Fire), holds(TControl::SecondFire)};
        // A tap shorter than the 200 ms to frame 2 still strikes: the press keeps the attack
        // going until its strike. Without a second weapon the second button starts nothing.
        held.Fire = FireLatch.Due(held.Fire);
        held.SecondFire = SecondFireLatch.Due(held.SecondFire && SecondWeapon != nullptr);
        // Holding both buttons fires only the primary weapon: the strike limit refuses the
        // second strike of the same update.
        if (Frame() == 2) {
            if (held.Fire && Weapon != nullptr) Strike(*Weapon);
            if (held.SecondFire && SecondWeapon != nullptr) Strike(*SecondWeapon);
            FireLatch.Pending = false;
            SecondFireLatch.Pending = false;
        }
        ChooseAction(held);
    }
    const uint32_t now = GameTicks();
    ExpireAbilities(now);
    LeaveBuilding();
    if (Action() == kActionWalk) Walk(now, OwnedByPeer ? TWaterRule::StopAtEdge : TWaterRule::Drown);
}
