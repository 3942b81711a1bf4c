// Listing the data files a map file names.
#include "world/MapFiles.h"

#include "platform/IniFile.h"
#include "world/Map.h"

#include <algorithm>
#include <set>

namespace {

// Entries beyond the section's key count cannot exist; the loader reads no more either.
int32_t EntryCount(const TIniFile& file, std::string_view section, std::string_view countKey) {
    return std::min(file.ReadInteger(section, countKey, 0),
                    static_cast<int32_t>(file.ReadSection(section).size()));
}

} // namespace

std::vector<std::string> MapDataFiles(std::string_view mapName) {
    const TIniFile file(MapFileName(mapName));
    std::set<std::string> names;
    for (int32_t i = 0, n = EntryCount(file, "Obstructions", "ObstructionCount"); i < n; ++i)
        names.insert("data\\" + file.ReadString("Obstructions", "Obstruction" + std::to_string(i), "") +
                     ".bld");
    for (int32_t i = 0, n = EntryCount(file, "Weapons", "WeaponCount"); i < n; ++i)
        names.insert("data\\" + file.ReadString("Weapons", "Weapon" + std::to_string(i), "") + ".wpn");
    // "colour,kind": the kind names the equipment file.
    for (int32_t i = 0, n = EntryCount(file, "Objects", "ObjectCount"); i < n; ++i) {
        const std::string value = file.ReadString("Objects", "Object" + std::to_string(i), "");
        const size_t comma = value.find(',');
        if (comma != std::string::npos) names.insert("data\\" + value.substr(comma + 1) + ".ini");
    }
    if (EntryCount(file, "Potions", "PotionCount") > 0) names.insert("data\\Potion.ini");
    return {names.begin(), names.end()};
}
