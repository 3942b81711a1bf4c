// Map files: names, tiles and the water they make, the items and buildings they place, the
// building files, and the ground picture drawn from the tiles.
#include "WorldFixture.h"
#include "media/BriskImage.h"
#include "media/SurfaceUtils.h"
#include "world/MapFiles.h"

#include <gtest/gtest.h>

namespace {

class MapLoadingTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        AddPickUpPictures();
    }

    // Counts the map's items of class T.
    template <class T> [[nodiscard]] int Count(const TBaseMap& map) const {
        int n = 0;
        for (const auto& item : map.Items())
            n += dynamic_cast<const T*>(item.get()) != nullptr;
        return n;
    }
};

TEST_F(MapLoadingTest, NamesFindTheMapsFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {{"arena", "Maps\\arena.map"},
                                                         {"maps\\arena.map", "maps\\arena.map"},
                                                         {"Arena.MAP", "Maps\\Arena.MAP"},
                                                         {"MAPS\\cave", "MAPS\\cave.map"},
                                                         {"", "Maps\\.map"}};
    for (const auto& [name, file] : cases)
        EXPECT_EQ(MapFileName(name), file) << name;
}

TEST_F(MapLoadingTest, AMissingFileGivesAnEmptyFieldOfPlainTiles) {
    TBaseMap map;
    map.LoadFromFile("nowhere");
    EXPECT_TRUE(map.Items().empty());
    EXPECT_EQ(map.StartX0, 300);
    EXPECT_EQ(map.StartY1, 350);
    EXPECT_EQ(map.Tile(0, 0).Code, "0-1");
    EXPECT_EQ(map.Tile(30, 33).Code, "0-1");
    EXPECT_EQ(map.Tile(31, 5).Code, "0-0");
    EXPECT_EQ(map.Tile(32, 5).Code, "");
}

TEST_F(MapLoadingTest, WaterTilesMarkTheirFourSquares) {
    struct TCase {
        std::string Ground;
        std::string Code;
        std::string Squares;
    };
    // Tile row 2, column 3 covers squares (6..7, 4..5).
    const std::vector<TCase> cases = {
        {"[Ground]\nWater=1\n", "1-22", "....\n....\n..~~\n..~~\n"},
        {"[Ground]\nWater=1\n", "1-23", "....\n....\n..~~\n..~~\n"},
        {"[Ground]\nWater=1\n", "1-21", "....\n....\n....\n....\n"},
        {"[Ground]\nWater=1\n", "1-54", "....\n....\n....\n....\n"},
        {"[Ground]\nWater=0\n", "1-22", "....\n....\n....\n....\n"},
        {"", "1-22", "....\n....\n....\n....\n"},
    };
    for (const TCase& c : cases) {
        WriteFile("maps\\water.map", "[Map]\nTile2-3=" + c.Code + "\n" + c.Ground);
        TBaseMap map;
        map.LoadFromFile("water");
        EXPECT_EQ(map.Tile(2, 3).Code, c.Code);
        EXPECT_EQ(SquaresText(map, 4, 2, 7, 5), c.Squares) << c.Ground << c.Code;
    }
}

TEST_F(MapLoadingTest, WaterStaysWaterAfterAnItemHasLeftIt) {
    WriteFile("maps\\pond.map", "[Ground]\nWater=1\n[Map]\nTile0-0=1-22\n[Potions]\nPotionCount=1\n"
                                "Potion0=Speed\nPotionX0=0\nPotionY0=0\n");
    TBaseMap map;
    map.LoadFromFile("pond");
    // The potion's foot point (16, 24) lies on the water square (0, 1).
    EXPECT_EQ(SquaresText(map, 0, 0, 2, 2), "~~.\no~.\n...\n");
    map.Remove(*map.Items()[0]);
    EXPECT_EQ(SquaresText(map, 0, 0, 2, 2), "~~.\n~~.\n...\n");
    TTestFighter walker;
    map.SetSquare(40, 10, kSquareSolid, &walker);
    EXPECT_EQ(SquaresText(map, 0, 0, 2, 2), "~#.\n~~.\n...\n");
    map.SetSquare(40, 10, kSquareFree, &walker);
    EXPECT_EQ(SquaresText(map, 0, 0, 2, 2), "~~.\n~~.\n...\n");
    EXPECT_EQ(map.GetSquare(40, 10).Occupant, nullptr);
}

TEST_F(MapLoadingTest, WaterOnlyInTheColumnsTheGridHas) {
    WriteFile("maps\\edge.map", "[Ground]\nWater=1\n[Map]\nTile0-30=1-22\nTile0-31=1-22\n");
    TBaseMap map;
    map.LoadFromFile("edge");
    EXPECT_EQ(SquaresText(map, 59, 0, 61, 1), ".~~\n.~~\n");
}

TEST_F(MapLoadingTest, ABrokenTileOnAMapWithWaterIsAnErrorNamingFileAndKey) {
    struct TCase {
        std::string Code;
        bool Fails;
    };
    // The water kind is 1: its tiles need a frame; every tile needs a ground digit.
    const TCase cases[] = {{"", true},      {"x-1", true},    {"-1", true},
                           {"1", true},     {"1-", true},     {"1-x", true},
                           {"1-22", false}, {"2-x", false},   {"2", false},
                           {"0-0", false},  {"1-$16", false}, {"1-" + std::string(100000, 'x'), true}};
    for (const TCase& c : cases) {
        WriteFile("maps\\broken.map", "[Ground]\nWater=1\n[Map]\nTile4-12=" + c.Code + "\n");
        TBaseMap map;
        if (!c.Fails) {
            EXPECT_NO_THROW(map.LoadFromFile("broken")) << c.Code;
            continue;
        }
        try {
            map.LoadFromFile("broken");
            ADD_FAILURE() << "loaded " << c.Code;
        } catch (const EWorldError& error) {
            // A long code is shown by its first 40 characters, so the file and key still show.
            const std::string shown = c.Code.size() > 40 ? c.Code.substr(0, 40) + "..." : c.Code;
            EXPECT_EQ(std::string(error.what()),
                      "Invalid tile code \"" + shown + "\" for Tile4-12 in Maps\\broken.map");
        }
    }
}

TEST_F(MapLoadingTest, BrokenTilesWithoutWaterDrawAsPlainGround) {
    WriteFile("maps\\plain.map", "[Map]\nTile0-0=x-1\nTile0-1=\n");
    TBaseMap map;
    EXPECT_NO_THROW(map.LoadFromFile("plain"));
    EXPECT_EQ(map.Tile(0, 1).Code, "");
}

TEST_F(MapLoadingTest, TileCodesNameAGroundPictureAndFrame) {
    struct TCase {
        const char* Code;
        int32_t Kind;
        int32_t Frame;
    };
    const TCase cases[] = {{"1-22", 1, 22}, {"2-7", 2, 7}, {"0-0", 0, 0},   {"", 0, 1},    {"1-", 0, 1},
                           {"x-5", 0, 5},   {"1-x", 0, 0}, {"2/12", 2, 12}, {"7-3", 7, 3}, {"1-$A", 1, 10}};
    for (const TCase& c : cases) {
        const TGroundCell cell = GroundCellOf(c.Code);
        EXPECT_EQ(cell.Kind, c.Kind) << c.Code;
        EXPECT_EQ(cell.Frame, c.Frame) << c.Code;
    }
}

TEST_F(MapLoadingTest, GroundIsDrawnFromTheCamerasTileWithPlainGroundForWhatCannotBeDrawn) {
    // Plain ground cells are red 1..4, water ground cells red 5.. (its picture's first cells
    // are numbered from 1 as well, so it is told apart by a different width of cell grid).
    AddPicture("PlainGround", 64, 48, 4, 1);
    AddPicture("WaterGround", 64, 48, 8, 4);
    WriteFile("maps\\ground.map", "[Map]\n" + TileKeys({"0-2 1-22 5-1 0-99", "x-3"}) + "Tile1-11=1-3\n");
    TBaseMap map;
    map.LoadFromFile("ground");
    TBriskImage buffer;
    buffer.CreateSurface(768, 624, 24);
    map.DrawGround(buffer);
    EXPECT_FALSE(map.GroundDirty());
    // Cell n of a picture is red n + 1.
    const std::pair<int32_t, uint32_t> columns[] = {{0, 3}, {1, 23}, {2, 1}, {3, 0}};
    for (const auto& [column, red] : columns)
        EXPECT_EQ(ReadColor(buffer.Surface.get(), column * 64 + 10, 10), red) << column;
    EXPECT_EQ(ReadColor(buffer.Surface.get(), 10, 48 + 10), 4U);
    EXPECT_EQ(ReadColor(buffer.Surface.get(), 11 * 64 + 10, 48 + 10), 4U);
    // Brown ground is not loaded: its tiles draw plain frame 0. The camera's tile moves the
    // window over the tiles.
    map.SetViewX(64);
    map.DrawGround(buffer);
    EXPECT_EQ(ReadColor(buffer.Surface.get(), 10, 10), 23U);
    EXPECT_EQ(ReadColor(buffer.Surface.get(), 10 * 64 + 10, 48 + 10), 4U);
}

TEST_F(MapLoadingTest, ScrolledGroundMatchesAFullRenderingAfterEveryMove) {
    // Every tile draws a cell of its own (its red tells which), from two pictures.
    AddPicture("PlainGround", 64, 48, 16, 12);
    AddPicture("WaterGround", 64, 48, 8, 8);
    std::vector<std::string> rows;
    for (int32_t r = 0; r < kTileRows; ++r) {
        std::string row;
        for (int32_t c = 0; c < kTileColumns; ++c)
            row += ((r + c) % 5 == 0 ? "1-" + std::to_string((r * 3 + c) % 64)
                                     : "0-" + std::to_string((r * 11 + c * 5) % 190)) +
                   " ";
        rows.push_back(row);
    }
    WriteFile("maps\\tiles.map", "[Map]\n" + TileKeys(rows));
    TBaseMap scrolled;
    TBaseMap full;
    scrolled.LoadFromFile("tiles");
    full.LoadFromFile("tiles");
    TBriskImage moving;
    TBriskImage fresh;
    moving.CreateSurface(768, 624, 24);
    fresh.CreateSurface(768, 624, 24);
    scrolled.ScrollGround(moving);
    // A mark on the second tile of the cached picture moves with it when the camera crosses
    // one tile: the kept tiles are moved, not rendered again.
    WritePixel(moving.Surface.get(), 64 + 5, 5, 0, 255, 0);
    scrolled.SetViewX(70);
    scrolled.ScrollGround(moving);
    EXPECT_EQ(ReadColor(moving.Surface.get(), 5, 5), 0xFF00U);
    scrolled.DrawGround(moving);
    // Steps of one tile each way and diagonally, strides of several, jumps of the whole cached
    // picture and more, the field's far corner with plain ground below its last row, and back.
    const std::pair<int32_t, int32_t> views[] = {{70, 0},
                                                 {135, 0},
                                                 {135, 50},
                                                 {200, 100},
                                                 {130, 100},
                                                 {130, 40},
                                                 {60, 200},
                                                 {400, 300},
                                                 {100, 20},
                                                 {100 + 11 * 64, 20 + 11 * 48},
                                                 {100, 20},
                                                 {1000, 900},
                                                 {kMaxViewX, kMaxViewY},
                                                 {kMaxViewX - 64, kMaxViewY - 48},
                                                 {kMaxViewX - 200, 600},
                                                 {0, 0},
                                                 {5, 3}};
    for (const auto& [x, y] : views) {
        scrolled.SetViewX(x);
        scrolled.SetViewY(y);
        full.SetViewX(x);
        full.SetViewY(y);
        if (scrolled.GroundDirty()) scrolled.ScrollGround(moving);
        full.DrawGround(fresh);
        EXPECT_FALSE(scrolled.GroundDirty());
        int32_t differing = 0;
        for (int32_t py = 0; py < kGroundTiles * kTileHeight; ++py)
            for (int32_t px = 0; px < kGroundTiles * kTileWidth; ++px)
                differing +=
                    ReadPixel(moving.Surface.get(), px, py) != ReadPixel(fresh.Surface.get(), px, py);
        EXPECT_EQ(differing, 0) << "view " << x << "," << y;
    }
}

TEST_F(MapLoadingTest, ItemsOfEverySectionArePlaced) {
    WriteFile("maps\\items.map", "[Objects]\nObjectCount=4\nObject0=Green,Glove\nObjectX0=100\nObjectY0=200\n"
                                 "Object1=Red,Armor\nObject2=Blue\nObject3=White,Helmet\n"
                                 "[MagicItems]\nItemCount=2\nItem0=Fire,Scroll\nItemX0=300\nItem1=Air\n"
                                 "[Weapons]\nWeaponCount=1\nWeapon0=Bow\nWeaponX0=400\nWeaponY0=50\n"
                                 "[Potions]\nPotionCount=2\nPotion0=Speed\nPotion1=Health\nPotionY1=500\n"
                                 "[Obstructions]\nObstructionCount=1\nObstruction0=Hut\nObstructionX0=640\n"
                                 "ObstructionY0=480\nObstructionFrame0=3\n");
    TBaseMap map;
    map.LoadFromFile("items");
    // An Object entry without a comma and one of an unknown kind create nothing; so does a
    // magic item entry without a comma.
    EXPECT_EQ(Count<TGlove>(map), 1);
    EXPECT_EQ(Count<TArmor>(map), 1);
    EXPECT_EQ(Count<TBoot>(map), 0);
    EXPECT_EQ(Count<TMagicItem>(map), 1);
    EXPECT_EQ(Count<TWeapon>(map), 1);
    EXPECT_EQ(Count<TPotion>(map), 2);
    EXPECT_EQ(Count<TObstruction>(map), 1);
    EXPECT_EQ(map.Items().size(), 7U);
    const auto& glove = dynamic_cast<const TGlove&>(*map.Items()[0]);
    EXPECT_EQ(glove.FrameBase(), 6);
    EXPECT_EQ(glove.FootX(), 116);
    EXPECT_EQ(glove.FootY(), 224);
    EXPECT_EQ(map.GetSquare(116, 224).Passability, kSquarePickUp);
    const auto& building = dynamic_cast<const TObstruction&>(*map.Items()[6]);
    EXPECT_EQ(building.Name, "Hut");
    EXPECT_EQ(building.FrameBase(), 3);
    EXPECT_EQ(map.GetSquare(640, 480).Occupant, &building);
}

TEST_F(MapLoadingTest, AHugeCountReadsNoMoreEntriesThanTheSectionHolds) {
    WriteFile("maps\\greedy.map",
              "[Obstructions]\nObstructionCount=2000000000\nObstruction0=Hut\n[Potions]\nPotionCount=3\n");
    TBaseMap map;
    map.LoadFromFile("greedy");
    // Two keys in the building section; the potion section has one key, so one default potion.
    EXPECT_EQ(Count<TObstruction>(map), 2);
    EXPECT_EQ(Count<TPotion>(map), 1);
}

TEST_F(MapLoadingTest, BuildingsShareTheFirstPictureOfTheirName) {
    WriteFile("data\\Tower.bld", "[Tower]\nBlockLR=1\nBlockU=2\nImage=tower.png\nWidth=96\nHeight=128\n"
                                 "OffX=48\nOffY=120\n");
    TBaseMap map;
    const int32_t images = ImageList->Count();
    TObstruction& first = map.CreateObstruction("Tower", 100, 2, 50);
    EXPECT_EQ(ImageList->Count(), images + 1);
    ASSERT_NE(first.Image(), nullptr);
    EXPECT_EQ(first.Image()->Name, "Tower");
    EXPECT_EQ(first.Image()->FrameWidth, 96);
    EXPECT_EQ(first.Image()->Surface, nullptr);
    EXPECT_EQ(first.FootX(), 148);
    EXPECT_EQ(first.FootY(), 170);
    // Foot square (4, 7): three wide, three high.
    EXPECT_EQ(HeldText(map, first, 2, 4, 6, 8), ".....\n.xxx.\n.xxx.\n.xxx.\n.....\n");
    WriteFile("data\\Tower.bld", "[Tower]\nWidth=10\n");
    TObstruction& second = map.CreateObstruction("Tower", 600, 0, 50);
    EXPECT_EQ(second.Image(), first.Image());
    EXPECT_EQ(ImageList->Count(), images + 1);
    EXPECT_EQ(map.Items().size(), 2U);
}

TEST_F(MapLoadingTest, AMissingBuildingFileMarksOnlyItsFootSquare) {
    TBaseMap map;
    TObstruction& building = map.CreateObstruction("Nothing", 64, 0, 48);
    EXPECT_EQ(building.Image()->FrameWidth, 0);
    EXPECT_EQ(HeldText(map, building, 1, 1, 3, 3), "...\n.x.\n...\n");
}

} // namespace

namespace {

// The pickups' ids in the order the map file places them.
std::vector<int32_t> PickUpIds(const TBaseMap& map) {
    std::vector<int32_t> ids;
    for (const auto& item : map.Items())
        if (dynamic_cast<const TEquipment*>(item.get()) != nullptr) ids.push_back(item->Id());
    return ids;
}

// Two games load the same map file after different histories (other matches, missiles in
// flight): each pickup gets the same id on both, counted per map in the file's order.
TEST_F(MapLoadingTest, PickUpsAreNumberedPerMapInTheFilesOrderWhateverCameBefore) {
    WriteFile("maps\\items.map", "[Objects]\nObjectCount=3\nObject0=Green,Glove\nObject1=Blue\n"
                                 "Object2=Red,Armor\n[MagicItems]\nItemCount=1\nItem0=Fire,Scroll\n"
                                 "[Weapons]\nWeaponCount=1\nWeapon0=Bow\n[Potions]\nPotionCount=1\n"
                                 "Potion0=Speed\n[Obstructions]\nObstructionCount=1\nObstruction0=Hut\n");
    TBaseMap first;
    first.LoadFromFile("items");
    for (int i = 0; i < 50; ++i)
        (void)first.CreateWeapon("Knife", 0, 0); // missiles and weapons of a match
    TBaseMap second;
    second.LoadFromFile("items");
    // The entry without a comma places nothing and takes no number.
    const std::vector<int32_t> expected{kFirstMapItemId, kFirstMapItemId + 1, kFirstMapItemId + 2,
                                        kFirstMapItemId + 3, kFirstMapItemId + 4};
    EXPECT_EQ(PickUpIds(first), expected);
    EXPECT_EQ(PickUpIds(second), expected);
    // Buildings and everything made later keep the sequence's ids, below the map's.
    for (const auto& item : second.Items())
        if (dynamic_cast<const TObstruction*>(item.get()) != nullptr) EXPECT_LT(item->Id(), kFirstMapItemId);
    EXPECT_LT(second.CreateWeapon("Knife", 0, 0)->Id(), kFirstMapItemId);
}

} // namespace

namespace {

TEST_F(MapLoadingTest, AMapNamesTheFilesOfItsBuildingsWeaponsAndEquipmentOnce) {
    WriteFile("maps\\named.map", "[Objects]\nObjectCount=3\nObject0=Green,Glove\nObject1=Blue\n"
                                 "Object2=Red,Glove\n[Weapons]\nWeaponCount=1\nWeapon0=Bow\n"
                                 "[Potions]\nPotionCount=2\nPotion0=Speed\n[Obstructions]\n"
                                 "ObstructionCount=2\nObstruction0=Hut\nObstruction1=Trees\n");
    EXPECT_EQ(MapDataFiles("named"),
              (std::vector<std::string>{"data\\Bow.wpn", "data\\Glove.ini", "data\\Hut.bld",
                                        "data\\Potion.ini", "data\\Trees.bld"}));
    EXPECT_TRUE(MapDataFiles("nowhere").empty());
}

} // namespace
