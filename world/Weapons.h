// Weapons: a template a fighter carries, a pickup on the ground, and every attack's missile,
// which flies from the attacker's foot point until it passes through another fighter's body,
// meets a building, leaves the field or its second of flight is over; whether a hit wounds is
// one roll at impact.
#pragma once

#include "world/Equipment.h"

#include <array>
#include <cstdint>

class TBaseMap;

// A fighter's body as it is drawn: this wide, centred on its foot point, and this high, standing
// on it. A missile hits a fighter when it passes through the body.
constexpr int32_t kBodyWidth = 32;
constexpr int32_t kBodyHeight = 48;
// The point (x, y) of the field lies in fighter's body.
[[nodiscard]] bool InBody(const TBaseItem& fighter, int32_t x, int32_t y);

class TWeapon : public TEquipment {
public:
    TWeapon();

    // One flight step of a missile; nothing for a template or a weapon on the ground.
    void Move() override;
    // Marks the square as a pickup while the weapon lies on the ground; missiles mark nothing.
    void SetPassable(int32_t value) override;
    // A carried weapon slows and exposes its carrier by its Speed and Armor; its fighting
    // statistics act only through the missiles fired with it.
    void Equip(TMoveItem& carrier) override;
    void Unequip(TMoveItem& carrier) override;

    // The hit roll against target: melee when attacker and target are closer than 48 by 32
    // pixels at impact, a missile roll otherwise.
    void Hit(TMoveItem& target);

    // Builds a missile of weapon for striker, checks it and puts it on the map with the
    // "Shoot" sound. Throws EWorldError "Invalid Dir", "Invalid Speed", "Invalid MoveTick" or
    // "Invalid Initial Done", adding nothing.
    static TWeapon& Fire(const TWeapon& weapon, TMoveItem& striker, TBaseMap& map);

    // A missile lasts this long.
    static constexpr uint32_t kFlightMs = 1000;
    // Attacker and target closer than this on both axes fight hand to hand.
    static constexpr int32_t kMeleeRangeX = 48;
    static constexpr int32_t kMeleeRangeY = 32;

    int32_t Pic = 0;                    // frame while lying on the ground
    std::array<int32_t, 8> DirFrames{}; // frame of the missile by flight direction
    int32_t Frames = 0;                 // kept and copied, not animated
    bool Done = false;                  // finished; the map frees it in this update
    uint32_t ExpireTick = 0;            // end of flight; 0 for a template or ground weapon
    uint32_t LastMoveTick = 0;          // last flight step; 0 = not flying
    int32_t Direction = 0;
    TMoveItem* Owner = nullptr; // the attacker, borrowed
};
