// The items on the field: the root class with position, animation and health, the pickup and
// building bases, the moving-item base of the fighters with its ability slots, and the id
// counter. The map owns items; equipment, weapons and the fighters have their own headers.
//
// Fields that a setter keeps consistent with others (position, foot point, frame, health,
// facing, action) are private behind a getter of the field's name; plain data is public.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

class TBaseMap;
class TBriskImage;
class TEquipment;

// Raised for faults in the world's data or in a missile being launched; the main loop's guard
// logs the message.
class EWorldError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Square values of the map grid.
constexpr int32_t kSquareFree = 0;
constexpr int32_t kSquareSolid = 1;
constexpr int32_t kSquareWater = 2;
constexpr int32_t kSquarePickUp = 3;

// The item position limits: a little beyond the 62 by 66 square grid, so that an item can
// stand half off the field's edge.
constexpr float kMinItemX = -28.0f;
constexpr float kMaxItemX = 1860.0f;
constexpr float kMinItemY = -48.0f;
constexpr float kMaxItemY = 1450.0f;

// Fighter actions; the numbers travel in network messages.
constexpr int32_t kActionAttack = 0;
constexpr int32_t kActionStand = 1;
constexpr int32_t kActionWalk = 2;
constexpr int32_t kActionDie = 3;

// Step vectors by direction (0 up, then clockwise), y downwards. The diagonal component is
// 0.77 rather than 1/sqrt(2), so diagonal steps are about 9 % longer; walking and missiles
// share it.
constexpr std::array<float, 8> kDirectionX{0.0f, 0.77f, 1.0f, 0.77f, 0.0f, -0.77f, -1.0f, -0.77f};
constexpr std::array<float, 8> kDirectionY{-1.0f, -0.77f, 0.0f, 0.77f, 1.0f, 0.77f, 0.0f, -0.77f};
[[nodiscard]] constexpr bool ValidDirection(int32_t direction) {
    return direction >= 0 && direction < 8;
}

// Ticks wrap at 2^32 (about 49.7 days): "later" is judged by the signed difference, so a
// deadline set just before the wrap still passes just after it.
[[nodiscard]] constexpr bool TickAfter(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) > 0;
}
// a + b kept in 32 bits: sums of values that come from data files or the network peer
// saturate instead of overflowing.
[[nodiscard]] constexpr int32_t SaturatedSum(int64_t a, int64_t b) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(a + b, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
// Tick fields use 0 for "none"; a real tick that happens to be 0 at the wrap is stored as 1.
[[nodiscard]] constexpr uint32_t NonZeroTick(uint32_t tick) {
    return tick != 0 ? tick : 1;
}

// Special abilities, numbered 1..15; 7..15 carry no meaning.
constexpr int32_t kWaterWalk = 1;
constexpr int32_t kPassWall = 2;
constexpr int32_t kSpeedAbility = 3;
constexpr int32_t kInvisibility = 4;
constexpr int32_t kStrength = 5;
constexpr int32_t kDexterity = 6;
constexpr int32_t kAbilityCount = 15;

// The ability number (1..15) of an upper- or lower-case name, or -1 when none matches.
[[nodiscard]] int32_t AbilityIndex(std::string_view name);

// Hands out item ids; the first is 2.
class TSequence {
public:
    int32_t Next() { return ++Value; }

private:
    int32_t Value = 1;
};

// The one counter every item takes its id from.
extern TSequence Sequence;

class TBaseItem {
public:
    TBaseItem();
    virtual ~TBaseItem() = default;
    TBaseItem(const TBaseItem&) = delete;
    TBaseItem& operator=(const TBaseItem&) = delete;

    // Frame := n, back to 0 when n passes MaxFrame (wrapping, not modulo).
    virtual void SetFrame(int32_t n);
    virtual void SetMap(TBaseMap* map);
    virtual void NextFrame(int32_t n);
    // One update step; the map calls it only for items whose Speed is not 0.
    virtual void Move();
    // Advances the animation by the time since it last advanced, then draws the current
    // frame on the screen relative to the map's camera.
    virtual void Draw();
    // Published but used by no rule: items never report a collision.
    [[nodiscard]] virtual bool Collision(const TBaseItem& other) const;
    // Writes value into the map square under the foot point, held by this item.
    virtual void SetPassable(int32_t value);

    void SetFrameDelay(int32_t ms) { FrameDelayMs = ms; }
    void SetMaxFrame(int32_t n) { MaxFrameValue = n; }
    void SetFrameBase(int32_t n) { FrameBaseValue = n; }
    void SetImage(TBriskImage* image) { ImageValue = image; }
    void SetVisible(bool visible) { VisibleValue = visible; }
    void SetSpeed(float pxPerMs) { SpeedValue = pxPerMs; }
    // Clamp to the item limits, then recompute the pixel and foot coordinates.
    void SetX(float x);
    void SetY(float y);
    void SetOffsetX(int32_t n);
    void SetOffsetY(int32_t n);
    // Caps at MaxHealth (no lower cap: a fighter's health can go negative) and sets the
    // health bar frame, 0 full .. 9 nearly empty.
    void SetHealth(float health);
    // Stores only; the next SetHealth caps against it.
    void SetMaxHealth(float health) { MaxHealthValue = health; }
    void SetId(int32_t id) { IdValue = id; }

    [[nodiscard]] int32_t FrameDelay() const { return FrameDelayMs; }
    [[nodiscard]] int32_t MaxFrame() const { return MaxFrameValue; }
    [[nodiscard]] int32_t Frame() const { return FrameValue; }
    [[nodiscard]] int32_t FrameBase() const { return FrameBaseValue; }
    [[nodiscard]] float X() const { return XValue; }
    [[nodiscard]] float Y() const { return YValue; }
    [[nodiscard]] TBriskImage* Image() const { return ImageValue; }
    [[nodiscard]] int32_t PixelX() const { return PixelXValue; }
    [[nodiscard]] int32_t PixelY() const { return PixelYValue; }
    [[nodiscard]] uint32_t LastFrameTick() const { return LastFrameTickValue; }
    [[nodiscard]] bool Visible() const { return VisibleValue; }
    [[nodiscard]] TBaseMap* Map() const { return MapValue; }
    [[nodiscard]] int32_t OffsetX() const { return OffsetXValue; }
    [[nodiscard]] int32_t OffsetY() const { return OffsetYValue; }
    [[nodiscard]] float Speed() const { return SpeedValue; }
    [[nodiscard]] int32_t FootX() const { return FootXValue; }
    [[nodiscard]] int32_t FootY() const { return FootYValue; }
    [[nodiscard]] float Health() const { return HealthValue; }
    [[nodiscard]] int32_t HealthLevel() const { return HealthLevelValue; }
    [[nodiscard]] float MaxHealth() const { return MaxHealthValue; }
    [[nodiscard]] int32_t Id() const { return IdValue; }

private:
    int32_t FrameDelayMs = 200;
    int32_t MaxFrameValue = 0;
    int32_t FrameValue = 0;
    int32_t FrameBaseValue = 0;
    float YValue = 0;
    float XValue = 0;
    TBriskImage* ImageValue = nullptr;
    int32_t PixelXValue = 0;
    int32_t PixelYValue = 0;
    uint32_t LastFrameTickValue = 0;
    bool VisibleValue = true;
    TBaseMap* MapValue = nullptr;
    int32_t OffsetYValue = 0;
    int32_t OffsetXValue = 0;
    float SpeedValue = 0;
    int32_t FootYValue = 0;
    int32_t FootXValue = 0;
    float HealthValue = 0;
    int32_t HealthLevelValue = 0;
    float MaxHealthValue = 0;
    int32_t IdValue = 0;
};

// Something lying on the ground for a fighter to take: its square reads as a pickup.
class TPickUp : public TBaseItem {
public:
    void SetPassable(int32_t value) override;
};

// A building: solid over a block of squares around and above its foot point.
class TObstruction : public TBaseItem {
public:
    void SetPassable(int32_t value) override;

    std::string Name;    // the building's name: its .bld file, section and picture
    int32_t BlockLR = 0; // squares blocked to each side of the foot square
    int32_t BlockU = 0;  // squares blocked upwards from the foot row
};

// One special-ability slot of a moving item.
//
// Who owns the item that granted it: a worn item (armour, gloves, boots) stays with the fighter
// that wears it, and the slot only names it as its Source. An item that nobody wears (a potion)
// is handed to the slot it joined with TMoveItem::KeepItem and lives in the slot's chain: the
// item that granted the ability, then every item that extended its running time. Source is
// released when the ability ends:
//   - the granting item's Unequip releases it (so a later item of that ability can grant it
//     again, and its own Unequip takes back its own statistics);
//   - when a timed ability expires (ExpireAbilities), every item of the chain is unequipped,
//     taking back each one's statistics, and the chain is freed;
//   - ResetAbility releases it and frees the chain without touching statistics.
// A worn item is always unequipped before it is freed, which releases any slot naming it, so
// Source never names a freed item.
class TAbility {
public:
    TAbility();
    ~TAbility();
    TAbility(const TAbility&) = delete;
    TAbility& operator=(const TAbility&) = delete;

    bool Active = false;
    uint32_t Expiry = 0; // game clock ms; 0 = no time limit

    [[nodiscard]] TEquipment* Source() const { return SourceItem; }
    [[nodiscard]] bool Holds(const TEquipment& item) const;

private:
    friend class TEquipment;
    friend class TMoveItem;

    TEquipment* SourceItem = nullptr;
    std::vector<std::unique_ptr<TEquipment>> Chain;
};

// The base of everything that walks: facing, action, the per-action animation tables, the
// fighting statistics and the ability slots. The fighters build on it and supply Hurt.
class TMoveItem : public TBaseItem {
public:
    TMoveItem();
    ~TMoveItem() override;

    // Changing the action restarts its clock; the animation follows action and facing.
    virtual void SetAction(int32_t action);
    // Called by a missile that wounds this item: lowers health by amount.
    virtual void Hurt(int32_t amount) = 0;
    // A script-driven fighter; a client's map leaves such fighters to the server's messages.
    [[nodiscard]] virtual bool ScriptDriven() const { return false; }

    // Direction := d, then the animation of the current action in that direction. A direction
    // outside 0..7 (a peer's message) is stored but selects no animation.
    void SetDirection(int32_t d);
    void SetHealthBarImage(TBriskImage* image) { HealthBarImageValue = image; }

    [[nodiscard]] int32_t Direction() const { return DirectionValue; }
    [[nodiscard]] int32_t Action() const { return ActionValue; }
    [[nodiscard]] TBriskImage* HealthBarImage() const { return HealthBarImageValue; }

    // Slot k of 1..15; throws std::out_of_range for any other k.
    [[nodiscard]] TAbility& Abilities(int32_t k);
    [[nodiscard]] const TAbility& Abilities(int32_t k) const;

    // Ends every timed ability whose expiry lies before now (see TAbility).
    void ExpireAbilities(uint32_t now);
    // Takes an equipped item that nobody wears: it joins the chain of the slot it granted or
    // extended, and is freed when it did neither.
    void KeepItem(std::unique_ptr<TEquipment> item);
    // Active := active, Expiry := 0, and the slot released, its chain freed; the statistics
    // of the chain's items stay as they are. For the game and the network peer.
    void ResetAbility(int32_t k, bool active);

    uint32_t ActionTick = 0; // game clock ms when the current action began
    int32_t Melee = 0;
    int32_t Missile = 0;
    int32_t Damage = 0;
    int32_t Armor = 0; // the defence term of every hit roll

    // Highest frame number and (stored only) frame delay per action, from the character file.
    int32_t AttackFrames = 0;
    int32_t AttackDelay = 0;
    int32_t WalkFrames = 0;
    int32_t WalkDelay = 0;
    int32_t DieFrames = 0;
    int32_t DieDelay = 0;
    int32_t StandFrames = 0;
    int32_t StandDelay = 0;
    // First image frame of each action's animation per direction.
    std::array<int32_t, 8> AttackDirFrames{};
    std::array<int32_t, 8> WalkDirFrames{};
    std::array<int32_t, 8> StandDirFrames{};
    std::array<int32_t, 8> DieDirFrames{};

private:
    int32_t DirectionValue = 0;
    int32_t ActionValue = 0;
    TBriskImage* HealthBarImageValue = nullptr;
    std::array<TAbility, kAbilityCount> AbilitySlots;
};
