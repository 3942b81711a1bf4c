// Pickups and weapons: the "Items" sheet (32 by 32 cells: boots, gloves, magic items, charge
// markers, potions), the "Armor" cloaks (64 by 64), and one sheet per weapon with its ground
// frame and a flight frame for each of the eight directions.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace content {

inline constexpr TKey kItemsKey{181, 101, 181};
inline constexpr int kItemCells = 50;
inline constexpr int kWeaponCell = 48;
inline constexpr int kWeaponFootX = 24, kWeaponFootY = 40;

[[nodiscard]] TCanvas DrawItems();
[[nodiscard]] TCanvas DrawArmor();
// The cloaks again, small enough for the armour slot of a status panel.
inline constexpr int kArmorIconCell = 24;
[[nodiscard]] TCanvas DrawArmorIcons();
[[nodiscard]] std::vector<std::string> WeaponNames();
// Frame 0 lies on the ground; frame 1 + d flies in direction d.
[[nodiscard]] TCanvas DrawWeapon(const std::string& name);

} // namespace content
