// Equipment that lies on the field until a fighter takes it: armour, gloves, boots, potions and
// magic items, with the statistics their data files give and what wearing or drinking them does
// to the carrier. Weapons build on this in world/Weapons.h.
#pragma once

#include "world/Items.h"

#include <string>

class TIniFileCache;

class TEquipment : public TPickUp {
public:
    // The item defaults with the foot point at (16, 24), the middle bottom of a 32 by 32 cell.
    TEquipment();

    // Adds the statistics to the carrier and grants, extends or leaves alone the ability slot
    // of Special.
    virtual void Equip(TMoveItem& carrier);
    // Takes the statistics back (health stays) and ends the ability; see TAbility.
    virtual void Unequip(TMoveItem& carrier);
    // The eight statistics keys from section Name of "data\" + Kind + ".ini", read through files
    // so that the many items of a map read it once.
    virtual void LoadFromIni(TIniFileCache& files);

    // The ability slot Special names, or -1 for "Nil", an empty or an unknown name.
    [[nodiscard]] int32_t SpecialSlot() const;

    int32_t Melee = 0;
    int32_t Missile = 0;
    int32_t Damage = 0;
    int32_t Armor = 0;
    int32_t SpeedBonus = 0;  // hundredths of a pixel per ms
    int32_t HealthBonus = 0; // given once, when equipped
    std::string Special;     // an ability name; "Nil" or empty for none
    int32_t SpecialTime = 0; // ms; 0 = for as long as the item is worn
    std::string Name;        // the data file section: colour, potion kind, element or weapon name
    std::string Kind;        // the data file: "Armor", "Glove", "Boot", "Potion"; empty otherwise

private:
    friend class TMoveItem;
    // The slot this item granted or extended when last equipped, 0 for none; tells KeepItem
    // which chain it belongs to.
    int32_t JoinedSlot = 0;
};

class TArmor : public TEquipment {
public:
    TArmor() { Kind = "Armor"; }
};

class TGlove : public TEquipment {
public:
    TGlove() { Kind = "Glove"; }
};

class TBoot : public TEquipment {
public:
    TBoot() { Kind = "Boot"; }
};

class TPotion : public TEquipment {
public:
    TPotion() { Kind = "Potion"; }
};

// Collected as a flag: its magic number 1..15 is its FrameBase - 9.
class TMagicItem : public TEquipment {
public:
    [[nodiscard]] int32_t MagicNumber() const { return FrameBase() - 9; }
};
