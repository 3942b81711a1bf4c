// The map source format: tile drawings and placed things become the game's map keys, with
// shore frames chosen from the water around and clear errors for what the game cannot show.
#include "MapBuilder.h"

#include "Ground.h"
#include "platform/IniFile.h"
#include "support/MediaFixture.h"

#include <fstream>
#include <set>
#include <stdexcept>

using namespace content;

namespace {

// A field of grass with the given tiles replaced: each entry is row, column, tile character.
std::string Drawing(const std::vector<std::tuple<int, int, char>>& tiles, const std::string& things) {
    std::vector<std::string> rows(31, std::string(34, '.'));
    for (const auto& [r, c, t] : tiles)
        rows[r][c] = t;
    std::string text = "; a test field\n";
    for (const std::string& row : rows)
        text += row + "\n";
    return text + things;
}

const std::string kStarts = "start 0 4 4\nstart 1 50 50\n";

TIniFile Built(const std::string& source) {
    const auto folder = MakeTestFolder("mapbuilder");
    const auto file = folder / "test.map";
    std::ofstream(file) << BuildMap(source);
    return TIniFile(file.string());
}

std::string ErrorOf(const std::string& source) {
    try {
        (void)BuildMap(source);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(MapBuilder, StartSquaresBecomeSwappedPicturePositions) {
    const TIniFile map = Built(Drawing({}, "start 0 10 20\nstart 1 1 3\n"));
    // Foot (336, 492) less the fighter's foot offsets (48, 70); StartY holds the horizontal.
    EXPECT_EQ(map.ReadInteger("Map", "StartY0", 0), 288);
    EXPECT_EQ(map.ReadInteger("Map", "StartX0", 0), 422);
    EXPECT_EQ(map.ReadInteger("Map", "StartY1", -1), 0);
    EXPECT_EQ(map.ReadInteger("Map", "StartX1", 0), 14);
}

TEST(MapBuilder, ThingsBecomeCountedEntriesAtTheirPictureCorner) {
    const TIniFile map =
        Built(Drawing({}, kStarts + "weapon Bow 5 5\nboot Blue 6 6\narmor White 7 7\n"
                                    "magic Fire Scroll 8 8\npotion Health 9 9\ntree 3 12 12\n"));
    EXPECT_EQ(map.ReadInteger("Weapons", "WeaponCount", 0), 1);
    EXPECT_EQ(map.ReadString("Weapons", "Weapon0", ""), "Bow");
    EXPECT_EQ(map.ReadInteger("Weapons", "WeaponX0", 0), 5 * 32 + 16 - 24);
    EXPECT_EQ(map.ReadInteger("Weapons", "WeaponY0", 0), 5 * 24 + 12 - 40);
    EXPECT_EQ(map.ReadInteger("Objects", "ObjectCount", 0), 2);
    EXPECT_EQ(map.ReadString("Objects", "Object0", ""), "Blue,Boot");
    EXPECT_EQ(map.ReadString("Objects", "Object1", ""), "White,Armor");
    EXPECT_EQ(map.ReadInteger("Objects", "ObjectX1", 0), 7 * 32 + 16 - 32);
    EXPECT_EQ(map.ReadInteger("Objects", "ObjectY1", 0), 7 * 24 + 12 - 48);
    EXPECT_EQ(map.ReadString("MagicItems", "Item0", ""), "Fire,Scroll");
    EXPECT_EQ(map.ReadString("Potions", "Potion0", ""), "Health");
    EXPECT_EQ(map.ReadString("Obstructions", "Obstruction0", ""), "Trees");
    EXPECT_EQ(map.ReadInteger("Obstructions", "ObstructionFrame0", -1), 3);
    EXPECT_EQ(map.ReadInteger("Obstructions", "ObstructionY0", 0), 12 * 24 + 12 - 116);
    EXPECT_EQ(map.ReadInteger("Ground", "Water", -1), 1);
}

TEST(MapBuilder, LandAroundAPondGetsTheShoreFacingIt) {
    const TIniFile map = Built(Drawing({{10, 10, '~'}}, kStarts));
    const std::string water = map.ReadString("Map", "Tile10-10", "");
    EXPECT_TRUE(water == "1-22" || water == "1-23") << water;
    const std::tuple<const char*, uint8_t> around[] = {
        {"Tile9-10", kS}, {"Tile11-10", kN}, {"Tile10-9", kE},  {"Tile10-11", kW},
        {"Tile9-9", kSE}, {"Tile9-11", kSW}, {"Tile11-9", kNE}, {"Tile11-11", kNW},
    };
    for (const auto& [key, set] : around)
        EXPECT_EQ(map.ReadString("Map", key, ""), "1-" + std::to_string(ShoreFrame(set))) << key;
    // Two tiles away the grass is plain again.
    EXPECT_EQ(map.ReadString("Map", "Tile10-12", "").substr(0, 2), "0-");
}

TEST(MapBuilder, GrassBesideEarthGetsAVerge) {
    const TIniFile map = Built(Drawing({{5, 5, '#'}}, kStarts));
    EXPECT_EQ(map.ReadString("Map", "Tile5-6", ""), "2-" + std::to_string(VergeFrame(kW)));
    EXPECT_EQ(map.ReadString("Map", "Tile5-5", "").substr(0, 2), "2-");
    EXPECT_LT(std::stoi(map.ReadString("Map", "Tile5-5", "").substr(2)), kBrownFrames);
}

TEST(MapBuilder, RejectsWhatTheGameCouldNotShow) {
    struct TCase {
        std::string Source, Message;
    };
    std::string shortRow = Drawing({}, kStarts);
    shortRow.erase(shortRow.find('\n') + 1, 1);
    const TCase cases[] = {
        {shortRow, "map line 2: a tile row needs 34 tiles"},
        {Drawing({}, "start 0 4 4\n"), "a map needs start 0 and start 1"},
        {Drawing({}, kStarts + "dragon 3 3\n"), "map line 35: unknown thing dragon"},
        {Drawing({}, kStarts + "potion Health 3\n"), "map line 35: expected a name and a square"},
        {Drawing({}, kStarts + "tree 0 1 1\n"),
         "map line 35: the field would move this thing off its square"},
        {Drawing({}, kStarts + "weapon Axe 60 10\n"),
         "map line 35: the field would move this thing off its square"},
        {Drawing({{8, 8, '~'}, {8, 9, '#'}}, kStarts),
         "map line 9: water needs a ring of grass around it (column 8)"},
        {Drawing({{8, 8, '~'}}, kStarts + "potion Health 17 17\n"),
         "map line 35: this stands on or at the edge of the water"},
        {Drawing({{3, 3, 'x'}}, kStarts), "map line 5: unknown tile 'x'"},
    };
    for (const TCase& c : cases) {
        const std::string error = ErrorOf(c.Source);
        EXPECT_NE(error.find(c.Message), std::string::npos) << "got: " << error << "\nwanted: " << c.Message;
    }
    // One square further from the pond is fine.
    EXPECT_EQ(ErrorOf(Drawing({{8, 8, '~'}}, kStarts + "potion Health 20 20\n")), "");
}

TEST(MapBuilder, ShoreFramesAreDistinctAndNeverOpenWater) {
    std::set<int> frames;
    int sets = 0;
    for (int n = 0; n < 256; ++n) {
        const uint8_t canonical = CanonicalShore(static_cast<uint8_t>(n));
        EXPECT_EQ(CanonicalShore(canonical), canonical);
        if (canonical != n) continue;
        const int frame = ShoreFrame(canonical);
        if (frame < 0) continue;
        ++sets;
        EXPECT_TRUE(frames.insert(frame).second) << "frame " << frame << " shows two shores";
        EXPECT_NE(frame, kOpenWater);
        EXPECT_NE(frame, kOpenWaterAlt);
        EXPECT_LT(frame, kWaterFrames);
        const int verge = VergeFrame(canonical);
        if (canonical != 0) EXPECT_GE(verge, kBrownFrames);
    }
    EXPECT_EQ(sets, 30);
    // A corner beside a wet side changes nothing: the side's water already reaches it.
    EXPECT_EQ(CanonicalShore(kN | kNE | kNW), kN);
    EXPECT_EQ(CanonicalShore(kE | kNE | kSE | kSW), kE | kSW);
    EXPECT_EQ(ShoreFrame(0), 0);
    EXPECT_EQ(VergeFrame(0), -1);
}
