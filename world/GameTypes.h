// Everything that lives on the field, in one include: items, the map, equipment, weapons and
// missiles; the fighters add their headers here.
#pragma once

#include "world/Equipment.h"
#include "world/Items.h"
#include "world/Map.h"
#include "world/Players.h"
#include "world/Weapons.h"
