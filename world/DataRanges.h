// The ranges the integers of the data files (characters, weapons, equipment, maps, buildings)
// are kept to as they are read with TIniFile::ReadClamped, each with the arithmetic it keeps
// from overflowing. A missing or unreadable value still takes its default; a value outside
// its range takes the nearer end. Speeds and health become floats at once and need no range.
#pragma once

#include "media/PictureFile.h"
#include "platform/IniFile.h"
#include "world/Map.h"

#include <cstdint>
#include <limits>

// Entries of each kind a map places: ObjectCount, ItemCount, WeaponCount, PotionCount and
// ObstructionCount are read as at most this. The field has 4,092 squares, so far fewer items
// can be told apart; the cap bounds the loading time and, with kSkillRange, what the potions
// of one map can add up to on a fighter.
constexpr int32_t kMaxMapEntries = 20000;
constexpr TIntRange kMapEntryRange{0, kMaxMapEntries};

// Melee, Missile, Damage and Armor of characters, weapons and equipment. A skill of a few
// hundred already wins nearly every roll; the bound is what lets every item that can add to a
// fighter at once sum without passing 32 bits: its own value, its weapon's in each missile,
// three worn items, the second weapon's armour and every potion of a map.
constexpr int32_t kMaxSkill = 100000;
constexpr TIntRange kSkillRange{-kMaxSkill, kMaxSkill};
static_assert(int64_t{kMaxSkill} * (kMaxMapEntries + 6) < std::numeric_limits<int32_t>::max(),
              "a fighter's skills and armour must sum within 32 bits");

// Frame numbers (first cells of animations, a weapon's ground and flight frames, a building's
// frame) and frame counts: no picture within the size cap holds more cells, and a first cell
// plus a frame count stays far inside 32 bits.
constexpr TIntRange kFrameRange{0, kMaxPictureSide* kMaxPictureSide - 1};

// A weapon's or building's cell size: no cell is larger than the largest picture.
constexpr TIntRange kCellSizeRange{0, kMaxPictureSide};

// OffX and OffY, the foot point's offset from the picture's corner: within a cell's size either
// way, so foot points and the squares probed around them stay well inside 32 bits.
constexpr TIntRange kOffsetRange{-kMaxPictureSide, kMaxPictureSide};

// BlockLR and BlockU: more squares than the grid has to any side block the same; a negative
// size still blocks nothing in its direction.
constexpr TIntRange kBlockRange{-kSquareRows, kSquareRows};

// SpecialTime in ms (0: for as long as the item is worn). Deadlines are told from the past by
// their signed distance from now, so a running time must stay below 2^31 ms; 2^30 (12 days)
// leaves room for a second item to extend it, which is capped at the same.
constexpr int32_t kMaxAbilityMs = 1 << 30;
constexpr TIntRange kAbilityTimeRange{0, kMaxAbilityMs};
