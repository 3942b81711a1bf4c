// The data files a map file names besides itself (its buildings' files and the files its
// pickups read), so that two machines can check that they hold the same field before they
// play on it. The map loader reads the same keys.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Game paths ("data\Trees.bld", "data\Armor.ini"), each once, in a fixed order. A missing map
// names none.
[[nodiscard]] std::vector<std::string> MapDataFiles(std::string_view mapName);
