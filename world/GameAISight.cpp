// What a script may see of the field beyond the fighters' places: health, facing and action,
// the squares, the pickups lying about, its own weapons and the fighters' abilities, and the
// level it plays at. An invisible foe shows nothing of where it is or what it does.
#include "media/BriskImage.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"
#include "world/AIPlayers.h"
#include "world/Equipment.h"
#include "world/Weapons.h"

#include <cmath>
#include <limits>
#include <string>

namespace {

// Item kinds as GetItem reports them.
constexpr int32_t kItemArmor = 1;
constexpr int32_t kItemGlove = 2;
constexpr int32_t kItemBoot = 3;
constexpr int32_t kItemPotion = 4;
constexpr int32_t kItemMagic = 5;
constexpr int32_t kItemWeapon = 6;
// GetWeapon's choices.
constexpr int32_t kOwnWeapon = 1;
constexpr int32_t kSecondWeapon = 2;

int32_t IntegerArgument(const TProgramInfo& info, std::string_view name) {
    return static_cast<int32_t>(info.Value(name).AsInteger());
}

// Health as the script reads it: whole points, rounded up, so a fighter still alive never
// reads 0.
int32_t WholePoints(float value) {
    const double up = std::ceil(static_cast<double>(value));
    if (!(up > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (!(up < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(up);
}

int32_t ItemKind(const TEquipment& item) {
    if (dynamic_cast<const TWeapon*>(&item) != nullptr) return kItemWeapon;
    if (dynamic_cast<const TMagicItem*>(&item) != nullptr) return kItemMagic;
    if (dynamic_cast<const TArmor*>(&item) != nullptr) return kItemArmor;
    if (dynamic_cast<const TGlove*>(&item) != nullptr) return kItemGlove;
    if (dynamic_cast<const TBoot*>(&item) != nullptr) return kItemBoot;
    return kItemPotion;
}

void FillWeaponInfo(const TVarInfo& info, const TWeapon* weapon) {
    // A missile flies at its speed for its whole flight unless something stops it.
    const double speedPxPerMs = weapon != nullptr ? static_cast<double>(weapon->Speed()) : 0.0;
    info.Member("Name").SetValue(weapon != nullptr ? weapon->Name : std::string());
    info.Member("Reach").SetValue(static_cast<int32_t>(speedPxPerMs * TWeapon::kFlightMs));
    info.Member("Speed").SetValue(static_cast<int32_t>(speedPxPerMs * 1000.0));
    info.Member("Melee").SetValue(weapon != nullptr ? weapon->Melee : 0);
    info.Member("Missile").SetValue(weapon != nullptr ? weapon->Missile : 0);
    info.Member("Damage").SetValue(weapon != nullptr ? weapon->Damage : 0);
}

} // namespace

const TBasePlayer* TGameAI::Fighter(int32_t id, std::string_view routine) const {
    if (id != 0 && id != 1)
        throw EHostError("ERangeError", std::string(routine) + ": there is no fighter " + std::to_string(id) +
                                            " (fighters are 0 and 1)");
    // Before the match starts (during "Init") the map names no fighters yet.
    return Map != nullptr ? Map->Players[static_cast<size_t>(id)] : nullptr;
}

bool TGameAI::HiddenFoe(const TBasePlayer* fighter) const {
    return fighter != nullptr && fighter != Player && fighter->Abilities(kInvisibility).Active;
}

TEvalHandler TGameAI::SightHandler(std::string_view routine) {
    if (routine == "GetHealth")
        return [this](TProgramInfo& info) {
            const TBasePlayer* fighter = Fighter(IntegerArgument(info, "ID"), "GetHealth");
            info.SetResult(fighter != nullptr ? WholePoints(fighter->Health()) : 0);
        };
    if (routine == "GetMaxHealth")
        return [this](TProgramInfo& info) {
            const TBasePlayer* fighter = Fighter(IntegerArgument(info, "ID"), "GetMaxHealth");
            info.SetResult(fighter != nullptr ? WholePoints(fighter->MaxHealth()) : 0);
        };
    if (routine == "GetFacing")
        return [this](TProgramInfo& info) {
            const TBasePlayer* fighter = Fighter(IntegerArgument(info, "ID"), "GetFacing");
            info.SetResult(fighter == nullptr || HiddenFoe(fighter) ? -1 : fighter->Direction());
        };
    if (routine == "GetAction")
        return [this](TProgramInfo& info) {
            const TBasePlayer* fighter = Fighter(IntegerArgument(info, "ID"), "GetAction");
            info.SetResult(fighter == nullptr || HiddenFoe(fighter) ? -1 : fighter->Action());
        };
    if (routine == "HasAbility")
        return [this](TProgramInfo& info) {
            const TBasePlayer* fighter = Fighter(IntegerArgument(info, "ID"), "HasAbility");
            const int32_t ability = IntegerArgument(info, "Ability");
            // Any number may be asked about; only 1..15 are slots.
            info.SetResult(fighter != nullptr && ability >= 1 && ability <= kAbilityCount &&
                           fighter->Abilities(ability).Active);
        };
    if (routine == "GetSquare")
        return [this](TProgramInfo& info) {
            const int32_t cx = IntegerArgument(info, "CX");
            const int32_t cy = IntegerArgument(info, "CY");
            // Off the grid nothing may stand, as on a wall.
            const bool onGrid = cx >= 0 && cy >= 0 && cx < kSquareColumns && cy < kSquareRows;
            info.SetResult(Map != nullptr && onGrid
                               ? Map->GetSquare(cx * kSquareWidth, cy * kSquareHeight).Passability
                               : kSquareSolid);
        };
    if (routine == "GetItemCount")
        return [this](TProgramInfo& info) {
            FieldItems.clear();
            if (Map != nullptr) {
                for (const auto& item : Map->Items()) {
                    const auto* pickup = dynamic_cast<const TEquipment*>(item.get());
                    // Missiles in flight are weapons on the map too, but nobody can take them.
                    if (pickup == nullptr) continue;
                    if (const auto* weapon = dynamic_cast<const TWeapon*>(pickup);
                        weapon != nullptr && weapon->LastMoveTick != 0)
                        continue;
                    FieldItems.push_back(pickup);
                }
                // Every item of the field was looked at, trees and walls included.
                info.ChargeSteps(static_cast<int64_t>(Map->Items().size()) / 8);
            }
            info.SetResult(static_cast<int32_t>(FieldItems.size()));
        };
    if (routine == "GetItem")
        return [this](TProgramInfo& info) {
            const int32_t index = IntegerArgument(info, "Index");
            if (index < 0 || index >= static_cast<int32_t>(FieldItems.size()))
                throw EHostError("ERangeError", "GetItem: there is no item " + std::to_string(index) + " (" +
                                                    std::to_string(FieldItems.size()) +
                                                    " counted by the last GetItemCount)");
            const TEquipment& item = *FieldItems[static_cast<size_t>(index)];
            const TVarInfo record = info.Vars("Item");
            record.Member("Kind").SetValue(ItemKind(item));
            record.Member("Name").SetValue(item.Name);
            record.Member("X").SetValue(item.FootX());
            record.Member("Y").SetValue(item.FootY());
            record.Member("CX").SetValue(item.FootX() / kSquareWidth);
            record.Member("CY").SetValue(item.FootY() / kSquareHeight);
            record.Member("Health").SetValue(item.HealthBonus);
            record.Member("Armor").SetValue(item.Armor);
            record.Member("Melee").SetValue(item.Melee);
            record.Member("Missile").SetValue(item.Missile);
            record.Member("Damage").SetValue(item.Damage);
            record.Member("Speed").SetValue(item.SpeedBonus);
            record.Member("Special").SetValue(std::max(item.SpecialSlot(), 0));
        };
    if (routine == "GetWeapon")
        return [this](TProgramInfo& info) {
            const int32_t which = IntegerArgument(info, "Which");
            if (which != kOwnWeapon && which != kSecondWeapon)
                throw EHostError("ERangeError", "GetWeapon: there is no weapon " + std::to_string(which) +
                                                    " (1 is the own weapon, 2 the second)");
            const TWeapon* weapon = nullptr;
            if (Player != nullptr)
                weapon = which == kOwnWeapon ? Player->Weapon.get() : Player->SecondWeapon.get();
            FillWeaponInfo(info.Vars("Weapon"), weapon);
        };
    if (routine == "GetAILevel") return [this](TProgramInfo& info) { info.SetResult(Level); };
    return {};
}
