// The fighter's life: construction, the dying animation and its sound, being hurt, and the
// strike that launches a missile at most once per 150 ms.
#include "world/Players.h"

#include "media/BriskSound.h"
#include "platform/GameClock.h"

#include <string>
#include <string_view>

namespace {

// A fighter strikes at most this often. Frame 2 of the attack animation lasts one frame
// delay (100 ms for every character), shorter than this, so each pass of the animation
// through frame 2 launches at most one missile.
constexpr uint32_t kStrikeIntervalMs = 150;

} // namespace

TBasePlayer::TBasePlayer() = default;

TBasePlayer::~TBasePlayer() = default;

void TBasePlayer::SetFrame(int32_t n) {
    TBaseItem::SetFrame(n > MaxFrame() && Action() == kActionDie ? MaxFrame() : n);
}

void TBasePlayer::Move() {}

void TBasePlayer::SetAction(int32_t action) {
    TMoveItem::SetAction(action);
    if (Action() == kActionDie) PlaySound("Die");
}

void TBasePlayer::SetControls(int32_t) {}

void TBasePlayer::ShowHurt(int32_t amount) {
    Feedback.HurtTick = NonZeroTick(GameTicks());
    Feedback.HurtAmount = amount;
}

void TBasePlayer::Hurt(int32_t amount) {
    if (PeerDecidesHits) return;
    ShowHurt(amount);
    if (!OwnedByPeer) SetHealth(Health() - static_cast<float>(amount));
    if (OnHurt) OnHurt(*this, amount);
    PlaySound("HitHurt");
}

void TBasePlayer::Strike(TWeapon& weapon) {
    const uint32_t now = GameTicks();
    // Measured as elapsed time, so the limit holds across the wrap of the tick counter.
    if (now - LastStrikeTick < kStrikeIntervalMs) return;
    LastStrikeTick = now;
    if (OnShoot) OnShoot(*this, weapon);
    if (Map() == nullptr) return;
    try {
        TWeapon::Fire(weapon, *this, *Map());
    } catch (const EWorldError& error) {
        // A weapon file whose ShootSpeed is too low fails on every strike and ends the game:
        // the error names the file and key to mend.
        if (std::string_view(error.what()) == "Invalid Speed")
            throw EWorldError("Invalid Speed: ShootSpeed of [" + weapon.Name + "] in data\\" + weapon.Name +
                              ".wpn is below 5");
        throw;
    }
}
