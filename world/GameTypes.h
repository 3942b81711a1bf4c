// Everything that lives on the field, in one include: items, the map, equipment, weapons and
// missiles, the keyboard fighters and the script-driven ones.
#pragma once

#include "world/AIPlayers.h"
#include "world/Equipment.h"
#include "world/Items.h"
#include "world/Map.h"
#include "world/Players.h"
#include "world/Weapons.h"
