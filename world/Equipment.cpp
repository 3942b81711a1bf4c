// Armour, gloves, boots, potions and magic items: their data files, their frames in the shared
// pictures, and what equipping and unequipping does to the carrier's statistics and abilities.
#include "world/Equipment.h"

#include "media/BriskImage.h"
#include "platform/GameClock.h"
#include "platform/IniFile.h"
#include "platform/IniFileCache.h"
#include "world/DataRanges.h"
#include "world/Map.h"

#include <algorithm>
#include <string>

namespace {

// Equipment colours in frame order; gloves sit five frames after boots in "Items".
constexpr std::array<std::string_view, 5> kColours{"Brown", "Green", "Blue", "Red", "White"};
constexpr int32_t kGloveFrames = 5;
// Magic elements in frame order from frame 10; scrolls add 5, arms 10.
constexpr std::array<std::string_view, 5> kElements{"Air", "Earth", "Water", "Fire", "Life"};
constexpr int32_t kFirstMagicFrame = 10;
constexpr int32_t kScrollFrames = 5;
constexpr int32_t kArmFrames = 10;
// Potion kinds in frame order from frame 40.
constexpr std::array<std::string_view, 6> kPotions{"Speed",     "Invisibility", "Health",
                                                   "BigHealth", "Dexterity",    "Strength"};
constexpr int32_t kFirstPotionFrame = 40;
// Pickups lying on the ground show one still frame.
constexpr int32_t kStillFrameDelay = 10000;

template <size_t N> int32_t PositionIn(const std::array<std::string_view, N>& names, std::string_view name) {
    for (size_t i = 0; i < N; ++i)
        if (names[i] == name) return static_cast<int32_t>(i);
    return -1;
}

// Places a small pickup of the shared "Items" picture with its foot at the cell's bottom middle.
void PlaceSmallPickUp(TEquipment& item, int32_t x, int32_t y) {
    item.SetImage(ImageList->Find("Items"));
    item.SetOffsetX(16);
    item.SetOffsetY(24);
    item.SetX(static_cast<float>(x));
    item.SetY(static_cast<float>(y));
}

void MakeStill(TEquipment& item) {
    item.SetMaxFrame(0);
    item.SetFrameDelay(kStillFrameDelay);
}

} // namespace

TEquipment::TEquipment() {
    SetOffsetX(16);
    SetOffsetY(24);
}

int32_t TEquipment::SpecialSlot() const {
    if (Special.empty() || Special == "Nil") return -1;
    const int32_t k = AbilityIndex(Special);
    return k >= 1 && k <= kAbilityCount ? k : -1;
}

void TEquipment::Equip(TMoveItem& carrier) {
    carrier.SetHealth(static_cast<float>(HealthBonus) + carrier.Health());
    // Sums within kSkillRange never reach the bounds; a peer's message may set any value.
    carrier.Melee = SaturatedSum(carrier.Melee, Melee);
    carrier.Missile = SaturatedSum(carrier.Missile, Missile);
    carrier.Damage = SaturatedSum(carrier.Damage, Damage);
    carrier.SetSpeed(static_cast<float>(SpeedBonus) / 100.0f + carrier.Speed());
    carrier.Armor = SaturatedSum(carrier.Armor, Armor);
    JoinedSlot = 0;
    const int32_t k = SpecialSlot();
    if (k < 0) return;
    TAbility& slot = carrier.Abilities(k);
    if (slot.SourceItem == nullptr) {
        slot.Active = true;
        if (SpecialTime != 0) slot.Expiry = NonZeroTick(GameTicks() + static_cast<uint32_t>(SpecialTime));
        slot.SourceItem = this;
        JoinedSlot = k;
    } else if (slot.Expiry != 0) {
        // A second timed item of the same ability extends the running time; the slot keeps
        // its first source. The time left never passes kMaxAbilityMs, or the deadline would
        // read as past.
        const uint32_t now = GameTicks();
        const int64_t left = static_cast<int32_t>(slot.Expiry - now);
        const int64_t extended = std::min<int64_t>(left + SpecialTime, kMaxAbilityMs);
        slot.Expiry = NonZeroTick(now + static_cast<uint32_t>(extended));
        JoinedSlot = k;
    }
}

void TEquipment::Unequip(TMoveItem& carrier) {
    carrier.Melee = SaturatedSum(carrier.Melee, -int64_t{Melee});
    carrier.Missile = SaturatedSum(carrier.Missile, -int64_t{Missile});
    carrier.Damage = SaturatedSum(carrier.Damage, -int64_t{Damage});
    carrier.SetSpeed(carrier.Speed() - static_cast<float>(SpeedBonus) / 100.0f);
    carrier.Armor = SaturatedSum(carrier.Armor, -int64_t{Armor});
    JoinedSlot = 0;
    const int32_t k = SpecialSlot();
    if (k < 0) return;
    TAbility& slot = carrier.Abilities(k);
    slot.Active = false;
    if (SpecialTime != 0) slot.Expiry = 0;
    // The ability this item granted is over, so the slot is free for the next item.
    if (slot.SourceItem == this) slot.SourceItem = nullptr;
}

void TEquipment::LoadFromIni(TIniFileCache& files) {
    const TIniFileCache::TScope scope(files);
    const TIniFile& file = files.Get("data\\" + Kind + ".ini");
    Melee = file.ReadClamped(Name, "Melee", 0, kSkillRange);
    Damage = file.ReadClamped(Name, "Damage", 0, kSkillRange);
    Missile = file.ReadClamped(Name, "Missile", 0, kSkillRange);
    Armor = file.ReadClamped(Name, "Armor", 0, kSkillRange);
    SpeedBonus = file.ReadInteger(Name, "Speed", 0);
    HealthBonus = file.ReadInteger(Name, "Health", 0);
    Special = file.ReadString(Name, "Special", "Nil");
    SpecialTime = file.ReadClamped(Name, "SpecialTime", 0, kAbilityTimeRange);
}

std::unique_ptr<TEquipment> TBaseMap::CreateEquipment(std::string_view kind, std::string_view name, int32_t x,
                                                      int32_t y) {
    std::unique_ptr<TEquipment> item;
    if (kind == "Boot")
        item = std::make_unique<TBoot>();
    else if (kind == "Glove")
        item = std::make_unique<TGlove>();
    else if (kind == "Armor")
        item = std::make_unique<TArmor>();
    else
        return nullptr;
    item->Name = name;
    const bool armor = kind == "Armor";
    if (armor) {
        // Armour has its own picture of 64 by 64 cells.
        item->SetImage(ImageList->Find("Armor"));
        item->SetOffsetX(32);
        item->SetOffsetY(48);
        item->SetX(static_cast<float>(x));
        item->SetY(static_cast<float>(y));
    } else {
        PlaceSmallPickUp(*item, x, y);
    }
    item->LoadFromIni(DataFiles);
    const int32_t colour = PositionIn(kColours, name);
    item->SetFrameBase((colour < 0 ? 0 : colour) + (kind == "Glove" ? kGloveFrames : 0));
    MakeStill(*item);
    return item;
}

std::unique_ptr<TMagicItem> TBaseMap::CreateMagicItem(std::string_view form, std::string_view element,
                                                      int32_t x, int32_t y) {
    auto item = std::make_unique<TMagicItem>();
    item->Name = element;
    PlaceSmallPickUp(*item, x, y);
    const int32_t position = PositionIn(kElements, element);
    int32_t frame = position < 0 ? 0 : kFirstMagicFrame + position;
    if (form == "Scroll")
        frame += kScrollFrames;
    else if (form == "Arm")
        frame += kArmFrames;
    item->SetFrameBase(frame);
    MakeStill(*item);
    return item;
}

std::unique_ptr<TPotion> TBaseMap::CreatePotion(std::string_view kind, int32_t x, int32_t y) {
    auto item = std::make_unique<TPotion>();
    item->Name = kind;
    PlaceSmallPickUp(*item, x, y);
    item->LoadFromIni(DataFiles);
    const int32_t position = PositionIn(kPotions, kind);
    item->SetFrameBase(position < 0 ? 0 : kFirstPotionFrame + position);
    MakeStill(*item);
    return item;
}
