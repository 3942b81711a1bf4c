// Weapons as templates and pickups: the weapon file, the shared picture, and what carrying one
// does to its carrier.
#include "world/Weapons.h"

#include "media/BriskImage.h"
#include "platform/IniFile.h"
#include "world/DataRanges.h"
#include "world/Map.h"

TWeapon::TWeapon() = default;

void TWeapon::SetPassable(int32_t value) {
    if (ExpireTick == 0) TPickUp::SetPassable(value);
}

void TWeapon::Equip(TMoveItem& carrier) {
    carrier.SetHealth(carrier.Health() + static_cast<float>(HealthBonus));
    carrier.SetSpeed(carrier.Speed() - static_cast<float>(SpeedBonus) / 100.0f);
    carrier.Armor = SaturatedSum(carrier.Armor, -int64_t{Armor});
}

void TWeapon::Unequip(TMoveItem& carrier) {
    // The health a weapon gave is kept.
    carrier.SetSpeed(carrier.Speed() + static_cast<float>(SpeedBonus) / 100.0f);
    carrier.Armor = SaturatedSum(carrier.Armor, Armor);
}

std::unique_ptr<TWeapon> TBaseMap::CreateWeapon(std::string_view name, int32_t x, int32_t y) {
    auto weapon = std::make_unique<TWeapon>();
    weapon->Name = name;
    const TIniFileCache::TScope scope(DataFiles);
    const TIniFile& file = DataFiles.Get("data\\" + weapon->Name + ".wpn");
    const std::string& section = weapon->Name;
    weapon->Melee = file.ReadClamped(section, "Melee", 0, kSkillRange);
    weapon->Damage = file.ReadClamped(section, "Damage", 0, kSkillRange);
    weapon->Missile = file.ReadClamped(section, "Missile", 0, kSkillRange);
    weapon->Armor = file.ReadClamped(section, "Armor", 0, kSkillRange);
    weapon->SpeedBonus = file.ReadInteger(section, "Speed", 0);
    weapon->HealthBonus = file.ReadInteger(section, "Health", 0);
    weapon->Special = file.ReadString(section, "Special", "Nil");
    weapon->SpecialTime = file.ReadClamped(section, "SpecialTime", 0, kAbilityTimeRange);
    // Every weapon and missile of one name shares the picture the first of them loaded.
    weapon->SetImage(&SharedImage(name, file.ReadString(section, "Image", ""), file, section,
                                  file.ReadClamped(section, "Width", 0, kCellSizeRange),
                                  file.ReadClamped(section, "Height", 0, kCellSizeRange)));
    weapon->SetOffsetX(file.ReadClamped(section, "OffX", 0, kOffsetRange));
    weapon->SetOffsetY(file.ReadClamped(section, "OffY", 0, kOffsetRange));
    weapon->SetX(static_cast<float>(x));
    weapon->SetY(static_cast<float>(y));
    weapon->Pic = file.ReadClamped(section, "Pic", 0, kFrameRange);
    for (size_t d = 0; d < weapon->DirFrames.size(); ++d)
        weapon->DirFrames[d] = file.ReadClamped(section, "Dir" + std::to_string(d), 0, kFrameRange);
    weapon->Frames = file.ReadInteger(section, "Frames", 0);
    // A weapon on the ground keeps its missile speed, so the map calls its Move every update;
    // with LastMoveTick 0 the step does nothing.
    weapon->SetSpeed(static_cast<float>(file.ReadInteger(section, "ShootSpeed", 0)) / 100.0f);
    weapon->SetFrameBase(weapon->Pic);
    weapon->SetMaxFrame(0);
    weapon->LastMoveTick = 0;
    weapon->ExpireTick = 0;
    return weapon;
}
