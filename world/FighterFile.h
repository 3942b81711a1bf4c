// A fighter from its character file "data\<name>.plr": the fixed start values every fighter
// shares, its sprite sheet, statistics, own weapon and animation tables. The game and the
// duel runner both make their fighters with it; events, place and controls are theirs.
#pragma once

#include <string_view>

class TBasePlayer;
class TBaseMap;

// The fighter must already stand on map (its weapon is made there). A script-driven fighter
// also takes its AIName; its script is not loaded here.
void ReadFighterFile(TBasePlayer& fighter, std::string_view name, TBaseMap& map);
