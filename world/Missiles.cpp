// Missiles: the copy of a weapon an attack launches, its flight step by elapsed time, and the
// hit roll that decides at impact between close combat and a shot.
#include "media/BriskSound.h"
#include "platform/GameClock.h"
#include "platform/Random.h"
#include "world/Map.h"
#include "world/Weapons.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Below this a missile would hardly leave its owner's square within its second of flight.
constexpr float kMinMissileSpeed = 0.05f;
// The clock reads at least this while a match runs; an earlier launch tick means a broken clock.
constexpr uint32_t kMinLaunchTick = 10000;
// Missiles animate quickly through their frames.
constexpr int32_t kMissileFrameDelay = 30;
// A missile picture hangs centred about this far above the missile's foot point (a 48-pixel
// cell hung 40 above it), so that is the height at which it meets a body.
constexpr int32_t kMissileCentreAboveFoot = 16;
// A flight step is tested in pieces no longer than this, so a fast missile or a slow frame
// cannot carry it past a body or through a building square between two updates.
constexpr float kTestStepPx = 8.0f;

// The fighter whose body the point (x, y) lies in, other than the missile's owner.
TMoveItem* BodyAt(const TBaseMap& map, const TMoveItem* owner, int32_t x, int32_t y) {
    for (TBaseItem* item : map.DrawList()) {
        auto* fighter = dynamic_cast<TMoveItem*>(item);
        if (fighter != nullptr && fighter != owner && InBody(*fighter, x, y)) return fighter;
    }
    return nullptr;
}

} // namespace

bool InBody(const TBaseItem& fighter, int32_t x, int32_t y) {
    return x >= fighter.FootX() - kBodyWidth / 2 && x < fighter.FootX() + kBodyWidth / 2 &&
           y >= fighter.FootY() - kBodyHeight && y <= fighter.FootY();
}

TWeapon& TWeapon::Fire(const TWeapon& weapon, TMoveItem& striker, TBaseMap& map) {
    const uint32_t now = GameTicks();
    auto missile = std::make_unique<TWeapon>();
    missile->Name = weapon.Name;
    // A missile carries everything its hit roll needs but the target's armour.
    missile->Melee = SaturatedSum(striker.Melee, weapon.Melee);
    missile->Damage = SaturatedSum(striker.Damage, weapon.Damage);
    missile->Missile = SaturatedSum(striker.Missile, weapon.Missile);
    missile->HealthBonus = weapon.HealthBonus;
    missile->Special = weapon.Special;
    missile->SetImage(weapon.Image());
    missile->SetOffsetX(weapon.OffsetX());
    missile->SetOffsetY(weapon.OffsetY());
    // The missile's foot point starts on its owner's, and the owner is skipped in the
    // collision test, so a fighter can never hit itself.
    missile->SetX(static_cast<float>(striker.OffsetX()) + striker.X() -
                  static_cast<float>(missile->OffsetX()));
    missile->SetY(static_cast<float>(striker.OffsetY()) + striker.Y() -
                  static_cast<float>(missile->OffsetY()));
    missile->Pic = weapon.Pic;
    missile->DirFrames = weapon.DirFrames;
    missile->Frames = weapon.Frames;
    missile->SetMaxFrame(weapon.MaxFrame());
    missile->Direction = striker.Direction();
    if (ValidDirection(missile->Direction))
        missile->SetFrameBase(missile->DirFrames[static_cast<size_t>(missile->Direction)]);
    missile->SetSpeed(weapon.Speed());
    missile->LastMoveTick = now;
    missile->SetVisible(true);
    missile->SetFrameDelay(kMissileFrameDelay);
    missile->ExpireTick = NonZeroTick(missile->LastMoveTick + kFlightMs);
    missile->Owner = &striker;
    if (!ValidDirection(missile->Direction)) throw EWorldError("Invalid Dir");
    if (missile->Speed() < kMinMissileSpeed) throw EWorldError("Invalid Speed");
    if (missile->LastMoveTick < kMinLaunchTick) throw EWorldError("Invalid MoveTick");
    if (missile->Done) throw EWorldError("Invalid Initial Done");
    TWeapon& launched = map.Add(std::move(missile));
    PlaySound("Shoot");
    return launched;
}

void TWeapon::Move() {
    if (LastMoveTick == 0 || Done) return;
    const uint32_t now = GameTicks();
    const auto elapsedMs = static_cast<float>(now - LastMoveTick);
    const auto d = static_cast<size_t>(ValidDirection(Direction) ? Direction : 0);
    const float stepX = kDirectionX[d] * Speed() * elapsedMs;
    const float stepY = kDirectionY[d] * Speed() * elapsedMs;
    const float startX = X();
    const float startY = Y();
    const auto pieces = static_cast<int32_t>(
        std::clamp(std::ceil(std::max(std::fabs(stepX), std::fabs(stepY)) / kTestStepPx), 1.0f, 1000.0f));
    // The first test is at the start, so a missile launched inside a body hits it at once.
    for (int32_t piece = 0; piece <= pieces && !Done; ++piece) {
        const float part = static_cast<float>(piece) / static_cast<float>(pieces);
        // The item limits clamp the position: a missile that reaches the right or lower limit
        // stays there until its second is over.
        SetX(startX + stepX * part);
        SetY(startY + stepY * part);
        if (FootX() < 0 || FootY() < 0) {
            Done = true;
            return;
        }
        if (Map() == nullptr) continue;
        // Buildings stop a missile without a sound; a fighter's own square does not, its body
        // takes the hit roll instead.
        const TSquare& square = Map()->GetSquare(FootX(), FootY());
        if (square.Passability == kSquareSolid && square.Occupant != nullptr &&
            dynamic_cast<TMoveItem*>(square.Occupant) == nullptr) {
            Done = true;
            break;
        }
        if (TMoveItem* target = BodyAt(*Map(), Owner, FootX(), FootY() - kMissileCentreAboveFoot)) {
            Done = true;
            Hit(*target);
        }
    }
    LastMoveTick = NonZeroTick(now);
    if (ExpireTick != 0 && TickAfter(now, ExpireTick)) Done = true;
}

void TWeapon::Hit(TMoveItem& target) {
    const int32_t ownerX = Owner != nullptr ? Owner->PixelX() : 0;
    const int32_t ownerY = Owner != nullptr ? Owner->PixelY() : 0;
    const int64_t dx = std::llabs(int64_t{ownerX} - target.PixelX());
    const int64_t dy = std::llabs(int64_t{ownerY} - target.PixelY());
    const bool melee = Owner != nullptr && dx < kMeleeRangeX && dy < kMeleeRangeY;
    // The attack roll is drawn before the defence roll.
    const double attack = RandomFloat() * (melee ? Melee : Missile);
    const double defence = RandomFloat() * (static_cast<double>(target.Armor) + 10.0);
    if (attack > defence) {
        // A shot wounds by the weapon's own damage, without the attacker's bonus.
        const int64_t ownerDamage = Owner != nullptr ? Owner->Damage : 0;
        const int64_t damage = melee ? Damage : Damage - ownerDamage;
        target.Hurt(static_cast<int32_t>(std::clamp<int64_t>(damage, INT32_MIN, INT32_MAX)));
    } else {
        PlaySound("AttackMissShort");
    }
}
