// The fighters: what both kinds share (striking, being hurt, picking up and wearing items,
// drawing with the health bar, invisibility and the charge roll, the status panel) and the
// keyboard-driven fighter. The script-driven fighter builds on TBasePlayer elsewhere.
#pragma once

#include "world/Equipment.h"
#include "world/Items.h"
#include "world/KeyBindings.h"
#include "world/Map.h"
#include "world/Weapons.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>


// The magic items a fighter can own (numbered 1..15 as their magic numbers) and the charge
// counters the status panel shows (1..5, each 0..5).
constexpr int32_t kMagicKinds = 15;
constexpr int32_t kChargeCounters = 5;
constexpr int32_t kMaxCharges = 5;

class TBasePlayer : public TMoveItem {
public:
    TBasePlayer();
    ~TBasePlayer() override;

    // A dying fighter stops on its last frame; any other animation wraps to 0.
    void SetFrame(int32_t n) override;
    // The map calls it every update; a fighter of this class does nothing by itself.
    void Move() override;
    // The body (unless hidden while invisible), the health bar above it, and every 2000 ms
    // one roll for a magic charge.
    void Draw() override;
    // Entering the dying action sounds "Die", also when already dying (the sound engine keeps
    // it from repeating too fast).
    void SetAction(int32_t action) override;
    // Chooses the key set; a fighter of this class reads no keys.
    virtual void SetControls(int32_t set);

    // Lowers health by amount, raises OnHurt and sounds "HitHurt"; death follows at the next
    // Move. Does nothing while PeerDecidesHits is set; leaves health alone while OwnedByPeer is.
    void Hurt(int32_t amount) override;
    // Launches one missile of weapon, at most one per 150 ms; see TWeapon::Fire for the
    // errors it raises.
    void Strike(TWeapon& weapon);
    // Takes the pickup on the square under (x, y), if any; never while OwnedByPeer is set.
    void TryPickUp(int32_t x, int32_t y);
    // Takes an item off the map (raising OnPickUp), or one nobody holds (a peer's weapon, an
    // item the peer's fighter took): wears armour, gloves, boots or a second weapon in place
    // of the one worn before, equips it, and keeps a magic item as its flag.
    void PickUp(TEquipment& item);
    void PickUp(std::unique_ptr<TEquipment> item);
    // The status panel with its origin at screen (x, y): portrait, health bar, worn items,
    // magic items and charge markers. Clamps the charge counters to 5.
    void DrawStatus(int32_t x, int32_t y);

    [[nodiscard]] int32_t ControlKey(TControl control) const {
        return ControlKeys[static_cast<size_t>(control)];
    }
    // The fighter reads the keyboard; the remote fighter of a networked match does not.
    [[nodiscard]] bool HasKeySet() const { return ControlKey(TControl::Up) != 0; }

    std::unique_ptr<TWeapon> Weapon;       // the primary weapon: the template of the fire button
    std::unique_ptr<TWeapon> SecondWeapon; // the weapon last picked up: the second fire button
    std::unique_ptr<TArmor> ArmorItem;
    std::unique_ptr<TGlove> GloveItem;
    std::unique_ptr<TBoot> BootItem;
    uint32_t LastStrikeTick = 0; // game clock ms of the last accepted strike
    // Indexed by magic number 1..15 and by counter 1..5; entry 0 is never used.
    std::array<bool, kMagicKinds + 1> MagicItems{};
    std::array<int32_t, kChargeCounters + 1> MagicCharges{};
    uint32_t LastChargeTick = 0; // game clock ms of the last charge roll
    // SDL key symbols for Up, Down, Left, Right, Fire and SecondFire; all 0 reads no keys.
    std::array<int32_t, kControlCount> ControlKeys{};

    // What the match screen shows for a moment about this fighter: its last wound, the last
    // item it took and its drowning. Ticks are system ms; 0 means nothing to show.
    struct TFeedback {
        uint32_t HurtTick = 0;
        int32_t HurtAmount = 0;
        uint32_t TakenTick = 0;
        std::string TakenName; // "Blue Glove", "Speed Potion", "Axe"
        uint32_t DrownTick = 0;
    };
    TFeedback Feedback;
    // Notes a wound for the match screen's flash and rising number.
    void ShowHurt(int32_t amount);

    THurtEvent OnHurt;
    TShootEvent OnShoot;
    TPickUpEvent OnPickUp;
    // Set on the remote fighter of a networked match: while invisible it is not drawn.
    bool HideWhenInvisible = false;
    // Set on this keyboard's fighter in a networked match. The missiles that meet it here are
    // the peer's strikes replayed, and the peer, which decides those hits, reports each wound
    // with a Hit Player message; a missile then ends on it without wounding it a second time.
    bool PeerDecidesHits = false;
    // Set on the remote fighter of a networked match, which its owner alone moves, equips and
    // lets die. Between its owner's messages it walks on the way it was going, but it stops at
    // water instead of drowning, takes no pickups, and keeps the health its owner sent: a hit
    // seen here is reported through OnHurt and counts once the owner says so.
    bool OwnedByPeer = false;

protected:
    // What the fighter's controls hold in this update: keys or a script's buttons.
    struct TButtons {
        bool Up = false;
        bool Down = false;
        bool Left = false;
        bool Right = false;
        bool Fire = false;
        bool SecondFire = false;
    };
    // Action and facing from the held controls: walk while a direction is held, attack while
    // a fire button is (the second only with a second weapon), else stand; opposite
    // directions face down and left.
    void ChooseAction(const TButtons& held);
    // Keyboard fighters drown on water without WATERWALK; script-driven ones, and the peer's
    // fighter between its owner's messages, stop at its edge.
    enum class TWaterRule { Drown, StopAtEdge };
    // A fighter left standing in a building (its PASSWALL ended there) steps out to the
    // nearest free square, so it can move and be reached again.
    void LeaveBuilding();
    // One walking step of the time since ActionTick in the facing direction, with the four
    // pickup probes, water and solid squares; ActionTick := now unless the fighter drowned.
    void Walk(uint32_t now, TWaterRule water);

private:
    // Unequips the worn item and frees it: a replaced item is destroyed, not dropped.
    template <class T> void DiscardItem(std::unique_ptr<T>& item);
    // The body is in the hidden phase of a wound's blink.
    [[nodiscard]] bool BlinkedOut(uint32_t now) const;
    void RollCharge(uint32_t now);
};

// The keyboard-driven fighter: reads its key set from KeyState every update.
class TPlayer : public TBasePlayer {
public:
    // Strikes when the attack animation shows frame 2, chooses action and facing from the
    // keys, ends expired abilities and walks. A press of a fire button starts the attack and
    // its strike comes at frame 2 even when the button was let go before; holding it goes on
    // striking once per pass through frame 2.
    void Move() override;
    // Key set 0 (player 1's bound keys and the first gamepad), 1 (player 2's and the second
    // gamepad) or -1 (none); any other number reads no keys either. The keys are the bindings
    // in force when it is called.
    void SetControls(int32_t set) override;

private:
    int32_t ControlSet = -1;
    // A fire button pressed since the last strike it gave: the attack goes on to frame 2.
    struct TFireLatch {
        bool WasHeld = false;
        bool Pending = false;
        // Latches a press (held now, not held at the last update); true while a strike is due.
        bool Due(bool held) {
            if (held && !WasHeld) Pending = true;
            WasHeld = held;
            return held || Pending;
        }
    };
    TFireLatch FireLatch;
    TFireLatch SecondFireLatch;
};
