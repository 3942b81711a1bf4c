// Reading a map file: start positions, ground tiles and the water they make, the equipment,
// magic items, weapons, potions and buildings it places, and the building files.
#include "media/BriskImage.h"
#include "platform/IniFile.h"
#include "world/DataRanges.h"
#include "world/Equipment.h"
#include "world/Map.h"
#include "world/Weapons.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Quarters of a water tile by frame of the water picture: bit 0 top left, 1 top right,
// 2 bottom left, 3 bottom right. Only the two all-water frames mark squares.
constexpr std::array<uint8_t, 32> kWaterQuarters = [] {
    std::array<uint8_t, 32> quarters{};
    quarters[22] = 0xF;
    quarters[23] = 0xF;
    return quarters;
}();

// Rows 0..30 and columns 0..33 of tiles come from the file; row 31 stays plain "0-0" and the
// last two rows keep no code.
constexpr int32_t kFileTileRows = 31;
constexpr int32_t kPlainTileRows = 32;
// Tiles of columns 31 and up have no squares under them in the 62-column grid.
constexpr int32_t kWaterTileColumns = kSquareColumns / 2;

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// How many numbered entries of a section to read: at most kMaxMapEntries, and no more than the
// section has keys, since every real entry has keys of its own.
int32_t EntryCount(const TIniFile& file, std::string_view section, std::string_view countKey) {
    const int32_t declared = file.ReadClamped(section, countKey, 0, kMapEntryRange);
    const auto keys = static_cast<int64_t>(file.ReadSection(section).size());
    return static_cast<int32_t>(std::min<int64_t>(declared, keys));
}

// A tile code as an error shows it: a code of any length must leave room for the file and key
// the message names after it.
std::string ShownCode(std::string_view code) {
    constexpr size_t kShownCodeLength = 40;
    if (code.size() <= kShownCodeLength) return std::string(code);
    return std::string(code.substr(0, kShownCodeLength)) + "...";
}

std::string Numbered(std::string_view key, int32_t i) {
    return std::string(key) + std::to_string(i);
}

} // namespace

std::string MapFileName(std::string_view name) {
    std::string fileName(name);
    if (UpperCase(fileName).find(".MAP") == std::string::npos) fileName += ".map";
    if (UpperCase(fileName).find("MAPS\\") == std::string::npos) fileName = "Maps\\" + fileName;
    return fileName;
}

std::string MapEntryName(std::string_view name) {
    constexpr std::string_view kFolder = "MAPS\\";
    constexpr std::string_view kExtension = ".MAP";
    if (name.size() > kFolder.size() && UpperCase(std::string(name.substr(0, kFolder.size()))) == kFolder)
        name.remove_prefix(kFolder.size());
    if (name.size() > kExtension.size() &&
        UpperCase(std::string(name.substr(name.size() - kExtension.size()))) == kExtension)
        name.remove_suffix(kExtension.size());
    return std::string(name);
}

void TBaseMap::LoadFromFile(std::string_view name) {
    const std::string fileName = MapFileName(name);
    const TIniFile file(fileName);
    // Thousands of entries may name the same few data files; each is read once.
    const TIniFileCache::TScope scope(DataFiles);
    StartX0 = file.ReadInteger("Map", "StartX0", 300);
    StartY0 = file.ReadInteger("Map", "StartY0", 380);
    StartX1 = file.ReadInteger("Map", "StartX1", 250);
    StartY1 = file.ReadInteger("Map", "StartY1", 350);
    GroundImages = {ImageList->Find("PlainGround"), ImageList->Find("WaterGround"),
                    ImageList->Find("BrownGround")};
    LoadTiles(file, fileName);
    LoadItems(file);
}

void TBaseMap::LoadTiles(const TIniFile& file, const std::string& fileName) {
    const int32_t waterKind = file.ReadInteger("Ground", "Water", -1);
    for (int32_t row = 0; row < kPlainTileRows; ++row)
        for (int32_t column = 0; column < kTileColumns; ++column)
            Tiles[static_cast<size_t>(row) * kTileColumns + static_cast<size_t>(column)].Code = "0-0";
    for (int32_t row = 0; row < kFileTileRows; ++row) {
        for (int32_t column = 0; column < kTileColumns; ++column) {
            const std::string key = "Tile" + std::to_string(row) + "-" + std::to_string(column);
            std::string code = file.ReadString("Map", key, "0-1");
            if (waterKind >= 0) {
                // With water on the map every tile must say its ground kind, and a water tile
                // its frame, or the water squares would be guessed.
                const bool digit = !code.empty() && std::isdigit(static_cast<unsigned char>(code[0])) != 0;
                const auto frame = code.size() >= 2 ? ParseProfileInteger(std::string_view(code).substr(2))
                                                    : std::optional<int32_t>();
                if (!digit || (code[0] - '0' == waterKind && !frame))
                    throw EWorldError("Invalid tile code \"" + ShownCode(code) + "\" for " + key + " in " +
                                      fileName);
                if (code[0] - '0' == waterKind && column < kWaterTileColumns && *frame >= 0 &&
                    *frame < static_cast<int32_t>(kWaterQuarters.size())) {
                    const uint8_t quarters = kWaterQuarters[static_cast<size_t>(*frame)];
                    for (int32_t quarter = 0; quarter < 4; ++quarter) {
                        if ((quarters & (1U << quarter)) == 0) continue;
                        const int32_t squareColumn = 2 * column + (quarter & 1);
                        const int32_t squareRow = 2 * row + (quarter >> 1);
                        SquareAt(squareColumn, squareRow).Passability = kSquareWater;
                        Water[Index(squareColumn, squareRow)] = true;
                    }
                }
            }
            Tiles[static_cast<size_t>(row) * kTileColumns + static_cast<size_t>(column)].Code =
                std::move(code);
        }
    }
}

void TBaseMap::LoadItems(const TIniFile& file) {
    // Entries "name,kind" and "element,form": the text before the first comma, then the rest.
    // An entry without a comma places nothing.
    auto split = [](const std::string& value) -> std::optional<std::pair<std::string, std::string>> {
        const auto comma = value.find(',');
        if (comma == std::string::npos) return std::nullopt;
        return std::make_pair(value.substr(0, comma), value.substr(comma + 1));
    };
    int32_t nextId = kFirstMapItemId;
    const auto addPickUp = [this, &nextId](auto item) {
        item->SetId(nextId++);
        Add(std::move(item));
    };
    for (int32_t i = 0, n = EntryCount(file, "Objects", "ObjectCount"); i < n; ++i) {
        const auto entry = split(file.ReadString("Objects", Numbered("Object", i), ""));
        if (!entry) continue;
        const int32_t x = file.ReadInteger("Objects", Numbered("ObjectX", i), 0);
        const int32_t y = file.ReadInteger("Objects", Numbered("ObjectY", i), 0);
        if (auto item = CreateEquipment(entry->second, entry->first, x, y)) addPickUp(std::move(item));
    }
    for (int32_t i = 0, n = EntryCount(file, "MagicItems", "ItemCount"); i < n; ++i) {
        const auto entry = split(file.ReadString("MagicItems", Numbered("Item", i), ""));
        if (!entry) continue;
        const int32_t x = file.ReadInteger("MagicItems", Numbered("ItemX", i), 0);
        const int32_t y = file.ReadInteger("MagicItems", Numbered("ItemY", i), 0);
        addPickUp(CreateMagicItem(entry->second, entry->first, x, y));
    }
    for (int32_t i = 0, n = EntryCount(file, "Weapons", "WeaponCount"); i < n; ++i) {
        const std::string name = file.ReadString("Weapons", Numbered("Weapon", i), "");
        const int32_t y = file.ReadInteger("Weapons", Numbered("WeaponY", i), 0);
        const int32_t x = file.ReadInteger("Weapons", Numbered("WeaponX", i), 0);
        addPickUp(CreateWeapon(name, x, y));
    }
    for (int32_t i = 0, n = EntryCount(file, "Potions", "PotionCount"); i < n; ++i) {
        const std::string kind = file.ReadString("Potions", Numbered("Potion", i), "");
        const int32_t y = file.ReadInteger("Potions", Numbered("PotionY", i), 0);
        const int32_t x = file.ReadInteger("Potions", Numbered("PotionX", i), 0);
        addPickUp(CreatePotion(kind, x, y));
    }
    for (int32_t i = 0, n = EntryCount(file, "Obstructions", "ObstructionCount"); i < n; ++i) {
        const std::string name = file.ReadString("Obstructions", Numbered("Obstruction", i), "");
        const int32_t y = file.ReadInteger("Obstructions", Numbered("ObstructionY", i), 0);
        const int32_t frame =
            file.ReadClamped("Obstructions", Numbered("ObstructionFrame", i), 0, kFrameRange);
        const int32_t x = file.ReadInteger("Obstructions", Numbered("ObstructionX", i), 0);
        CreateObstruction(name, x, frame, y);
    }
}

TObstruction& TBaseMap::CreateObstruction(std::string_view name, int32_t x, int32_t frame, int32_t y) {
    auto building = std::make_unique<TObstruction>();
    building->Name = name;
    const TIniFileCache::TScope scope(DataFiles);
    const TIniFile& file = DataFiles.Get("data\\" + building->Name + ".bld");
    const std::string& section = building->Name;
    building->BlockLR = file.ReadClamped(section, "BlockLR", 0, kBlockRange);
    building->BlockU = file.ReadClamped(section, "BlockU", 0, kBlockRange);
    // Buildings of one name share the picture the first of them loaded; later ones do not
    // read its keys. Building pictures are found from the working folder.
    TBriskImage* image = ImageList->Find(name);
    if (image == nullptr) {
        auto loaded = std::make_unique<TBriskImage>();
        loaded->LoadFromFile("images\\" + file.ReadString(section, "Image", ""));
        ApplyColorKeyFrom(*loaded, file, section);
        loaded->FrameWidth = file.ReadClamped(section, "Width", 0, kCellSizeRange);
        loaded->FrameHeight = file.ReadClamped(section, "Height", 0, kCellSizeRange);
        loaded->Name = name;
        image = loaded.get();
        ImageList->Add(std::move(loaded));
    }
    building->SetImage(image);
    building->SetFrameBase(frame);
    building->SetOffsetX(file.ReadClamped(section, "OffX", 0, kOffsetRange));
    building->SetOffsetY(file.ReadClamped(section, "OffY", 0, kOffsetRange));
    building->SetX(static_cast<float>(x));
    building->SetY(static_cast<float>(y));
    return Add(std::move(building));
}
